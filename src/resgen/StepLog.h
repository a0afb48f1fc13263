#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LogSink.h"

#include <QString>
#include <vector>

// The log and the error reports of one step of a run (one compile, one
// project's error). While the step is the first one not yet shown, it writes
// through to the run's log and error reporter; a later step holds what it
// writes until the steps before it have ended, so that steps running at once
// still reach the log whole and in their order. Made by TRunLog.
class TStepLog : public ILogSink, public IErrorReporter
{
public:
    TStepLog(ILogSink& log, IErrorReporter& errors) : FLog(log), FErrors(errors) {}

    void AppendText(const QString& text) override;
    void AppendLine(const QString& line) override;
    void EndLine() override;
    bool AtLineStart() const override;
    void ShowError(const QString& text) override;

    bool IsLive() const { return FLive; }
    bool HasEnded() const { return FEnded; }
    // Writes what was held and writes through from now on.
    void GoLive();
    void End() { FEnded = true; }

private:
    enum TKind { kText, kLine, kEndLine, kError };
    struct TPiece {
        TKind Kind;
        QString Text;
    };
    ILogSink& FLog;
    IErrorReporter& FErrors;
    std::vector<TPiece> FHeld;
    bool FLive = false;
    bool FEnded = false;
};
