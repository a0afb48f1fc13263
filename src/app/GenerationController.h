#pragma once

#include "project/Configuration.h"
#include "project/ProjectGroup.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <memory>

class ILogSink;
class IMessageBoxes;
class TGenerationRun;
class TOverrideCursor;
class TResourceCompiler;

// "Create resource files" in the window: one run at a time on the event
// loop, the compilers' output live in the log. What keeps a compiler from
// starting is collected and shown, with a script that could not be written,
// once the run has ended: no box opens while the run goes on.
class TGenerationController : public QObject
{
    Q_OBJECT

public:
    TGenerationController(ILogSink& Log, IMessageBoxes& Boxes, int CompilerTimeoutMs,
                          QObject* Parent = nullptr);
    ~TGenerationController() override;

    bool IsRunning() const { return FRun != nullptr; }
    // Starts a run on the group's checked projects with the settings page's
    // values, the template read as it is on disk now; an unreadable template
    // throws TQuorvelError and nothing starts. Ignored while a run goes on.
    void Start(const TProjectGroup& Group, const TConfiguration& Config);
    // Writes no further script and ends the running compilers with the
    // processes they started; Finished follows once they have ended.
    void Cancel();

Q_SIGNALS:
    void Started();
    // Scripts done (written and compiled) of the run's scripts.
    void Progress(int Done, int Count);
    // After the run's boxes have been shown.
    void Finished();

private:
    class TCollectedErrors;

    void RunFinished();
    void StepDone(bool Failed);
    QString FCompilerName;
    // Why the compiler could not be started, each reason once.
    QStringList FStartFailures;

    ILogSink& FLog;
    IMessageBoxes& FBoxes;
    int FCompilerTimeoutMs;
    std::unique_ptr<TCollectedErrors> FErrors;
    std::unique_ptr<TResourceCompiler> FCompiler;
    // The run going on; null between runs.
    std::unique_ptr<TGenerationRun> FRun;
    // The busy cursor, shown for as long as the run lasts.
    std::unique_ptr<TOverrideCursor> FBusy;
    QElapsedTimer FClock;
    int FStepsDone = 0;
    int FCompiled = 0;
    int FFailed = 0;
    bool FCancelled = false;
};
