#pragma once

#include "resgen/LogSink.h"

class QPlainTextEdit;

// The log pane as the compiler runs' log: text is appended at the end and
// the pane scrolls to its last line.
class TLogPaneSink : public ILogSink
{
public:
    explicit TLogPaneSink(QPlainTextEdit* Memo) : FMemo(Memo) {}
    void AppendText(const QString& text) override;
    bool AtLineStart() const override;

private:
    QPlainTextEdit* FMemo;
};
