#pragma once

#include <QByteArray>
#include <QString>

// Turns a compiler's console output, read in pieces, into log text: the bytes
// are in code page 850, every CR LF and every bare LF becomes CR LF, a lone CR
// stays. A CR at the end of a piece is held back until the next piece shows
// whether an LF follows, so that a CR LF split between two reads is still one
// line break.
class TOutputDecoder
{
public:
    // The text of one piece of output (may be empty while a CR is held back).
    QString Decode(const QByteArray& bytes);
    // What is still held back once the output has ended.
    QString Finish();

private:
    bool FPendingCr = false;
};
