#pragma once

#include <QString>

// The log of compiler runs: the window's log pane, the command-line tool's
// standard output. Runs only append to it; its line breaks are CR LF.
class ILogSink
{
public:
    virtual ~ILogSink() = default;

    // Inserts the text at the end as it is.
    virtual void AppendText(const QString& text) = 0;
    // Whether the log is empty or its text ends with a line break.
    virtual bool AtLineStart() const = 0;
    // Puts the line on a line of its own: at a line start the line and CR LF
    // are added, otherwise CR LF and the line (the log then ends without a
    // line break).
    virtual void AppendLine(const QString& line);
    // Ends the last line when it has no line break yet, so that what comes
    // next starts a line of its own.
    virtual void EndLine();
};
