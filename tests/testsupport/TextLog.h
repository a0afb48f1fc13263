#pragma once

#include "resgen/LogSink.h"

#include <QString>

// A log kept as one text, exactly as a log pane would hold it.
class TTextLog : public ILogSink
{
public:
    void AppendText(const QString& text) override { FText += text; }
    bool AtLineStart() const override;
    const QString& Text() const { return FText; }

private:
    QString FText;
};
