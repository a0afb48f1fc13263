#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Upper-cases one UTF-16 code unit at a time, so the result has the length of
// the text and a position found in it is the same position in the text.
QString UpperCaseKeepLength(const QString& text);
// Equal without regard to case.
bool SameText(const QString& a, const QString& b);
// Whether the character counts as a blank where texts are trimmed (code <= 32).
inline bool IsBlank(QChar c)
{
    return c.unicode() <= 32;
}
QString TrimBlanks(const QString& text);
QString TrimLeftBlanks(const QString& text);
QString TrimRightBlanks(const QString& text);

// 1-based position of sub in text without regard to case; 0 when not found or
// sub is empty.
int TextPos(const QString& sub, const QString& text);
// As TextPos, searching from the 1-based offset; 0 when offset lies beyond text.
int TextPosFrom(const QString& sub, const QString& text, int offset);

// Reads the next integer of a separated list and removes it, with the separator
// after it, from the front of text. A field that is no integer (decimal, or hex
// after "$", "x" or "0x", optionally signed) gives def and sets error to true;
// error is never reset here. An empty text gives def and leaves error alone.
qint64 ReadNextInt(QString& text, const QByteArray& separators, bool& error, qint64 def);
qint64 ReadNextInt(QString& text, char separator, bool& error, qint64 def);
qint64 ReadNextInt(QString& text, char separator, qint64 def);

// Parses a whole text as an integer in ReadNextInt's syntax.
bool TryParseInt64(const QString& text, qint64& value);

// Decimal digits padded with leading zeros to at least width (printf "%.Nd").
QString ZeroPaddedInt(qint64 value, int width);

// The format with each "%s" replaced by the next argument, the way the
// system's messages are written ("Cannot open file "%s". %s"); "%%" gives "%".
// The arguments are not scanned again, so a "%s" inside one stays as it is.
QString FormatText(const QString& format, const QStringList& args);

// A reason the system gives for a failure, with trailing blanks and full stops
// removed, as it goes into a message.
QString SystemReason(const QString& reason);
// The system's reason for a file or program that is not there.
QString MissingFileReason();
