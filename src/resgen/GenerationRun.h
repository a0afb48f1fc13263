#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/RunLog.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TCompileRun;

// What came of one compile once its log is complete.
struct TCompileResult {
    bool Failed = false;
    // False for a compiler that could not be started.
    bool Started = true;
    // Why: the compiler run's reason, or what is wrong with the resource file.
    QString Reason;
};

// After a compile: the log line with what the .res file holds, or for a
// compiler that ended in time without success the job's failure hint. With
// checkResource the compiled file is read back as well, and a file missing
// or carrying another version is reported through errors.
TCompileResult LogCompileResult(const TCompileJob& job, const TCompileOutcome& outcome,
                                ILogSink& log, IErrorReporter& errors, bool checkResource);

// The log line of a checked project skipped for values a version resource
// cannot hold: "*** Error: " entry ": " message.
QString ProjectErrorLine(const QString& entry, const QString& message);

// "Create resource files" on the caller's event loop, for the window and the
// command-line tool alike: the scripts are written in list order, each
// compiled right after it is written, up to Jobs compilers at once; the log
// gets each compile's lines whole and in the order of a run one at a time.
// Start returns at once; the work is done on the event loop, and Finished is
// emitted once the last compile has ended (never before Start returns).
class TGenerationRun : public QObject
{
    Q_OBJECT

public:
    // The compiler's settings and left-running compilers are used; the log
    // and the errors given receive the run's output.
    TGenerationRun(TResourceCompiler& compiler, ILogSink& log, IErrorReporter& errors,
                   QObject* parent = nullptr);
    ~TGenerationRun() override;

    // How many compilers may run at once; less than 1 counts as 1.
    int Jobs = 1;
    // Off, the scripts are written and no compiler runs.
    bool CompileScripts = true;
    // Whether each compiled resource file is read back (LogCompileResult).
    bool CheckResources = false;
    // A checked project skipped for values a version resource cannot hold,
    // with the step's log to write into; in step order. Empty: the log line
    // ProjectErrorLine.
    std::function<void(int step, const QString& entry, const QString& message, TStepLog& log)>
        ProjectError;
    // Each compile's result, once its log is written; the step number orders
    // the steps as a run one at a time makes them.
    std::function<void(int step, const TCompileJob& job, const TCompileResult& result)> Compiled;

    void Start(const TGenerationInput& input);
    bool IsRunning() const { return FStarted && !FDone; }
    // Writes no further script and ends every running compiler with the
    // processes it started, at once; the compiles' ends still arrive.
    void Cancel();
    // Scripts done (written and, where compiled, their compiles ended) and
    // the run's scripts in all.
    int StepsDone() const { return int(FNext) - int(FActive.size()); }
    int StepCount() const { return int(FSteps.size()); }
    // The generation's result; complete once Finished has been emitted.
    const TGenerationResult& Result() const { return FResult; }
    int CompilesRun() const { return FCompilesRun; }

Q_SIGNALS:
    void Finished();

private:
    struct TStep {
        QString Entry;
        QString Message; // a project error when not empty
        TResourceScript Script;
        TCompileJob Job;
    };
    struct TActive {
        int Step;
        TStepLog* Log;
        std::unique_ptr<TCompileRun> Run;
    };

    void Schedule();
    bool Busy(const TStep& step) const;
    void CompileEnded(TActive* active);

    TResourceCompiler& FCompiler;
    TRunLog FLog;
    std::vector<TStep> FSteps;
    std::vector<std::unique_ptr<TActive>> FActive;
    TGenerationResult FResult;
    size_t FNext = 0;
    int FCompilesRun = 0;
    bool FStarted = false;
    bool FStopped = false;
    // The options of the run, recorded once its first script is written.
    TGenerationInput FRecord;
    bool FDone = false;
};
