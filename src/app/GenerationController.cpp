#include "app/GenerationController.h"

#include "app/OverrideCursor.h"
#include "dialogs/MessageBoxes.h"
#include "resgen/ErrorReporter.h"
#include "resgen/GenerationInput.h"
#include "resgen/GenerationRun.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/StepLog.h"
#include "support/Translation.h"

#include <utility>

// What a run reports while it goes on, kept for the box after it, each text
// once.
class TGenerationController::TCollectedErrors : public IErrorReporter
{
public:
    void ShowError(const QString& text) override
    {
        if (!Errors.contains(text))
            Errors.append(text);
    }
    QStringList Errors;
};

TGenerationController::TGenerationController(ILogSink& Log, IMessageBoxes& Boxes,
                                             int CompilerTimeoutMs, QObject* Parent)
    : QObject(Parent), FLog(Log), FBoxes(Boxes), FCompilerTimeoutMs(CompilerTimeoutMs),
      FErrors(std::make_unique<TCollectedErrors>()),
      FCompiler(std::make_unique<TResourceCompiler>())
{
}

TGenerationController::~TGenerationController() = default;

void TGenerationController::Start(const TProjectGroup& Group, const TConfiguration& Config)
{
    if (FRun)
        return;
    // The template as it is on disk now: after OK in the editor, another
    // template chosen or an edit outside, the run takes that text.
    const TGenerationInput input = MakeGenerationInput(Group, ConfiguredGenerationSettings(Config));
    for (const QString& line : MissingProjectFileLines(Group))
        FLog.AppendLine(line);

    FCompiler->Compiler = Config.ResourceCompiler;
    FCompiler->Options = Config.ResourceCompilerOptions;
    FCompiler->TimeoutMs = FCompilerTimeoutMs;
    FErrors->Errors.clear();
    FStepsDone = FCompiled = FFailed = 0;
    FCancelled = false;
    // Which group a run belongs to stays readable in a long log.
    FLog.AppendLine(Tr("Create resource files: %1").arg(Group.LastProjectGrp));
    FClock.start();
    // One compiler at a time, so that the log shows each one's output as it
    // comes; the window stays live while they run.
    FRun = std::make_unique<TGenerationRun>(*FCompiler, FLog, *FErrors);
    FCompilerName = Config.ResourceCompiler;
    FStartFailures.clear();
    FRun->Compiled = [this](int, const TCompileJob&, const TCompileResult& result) {
        if (!result.Started && !FStartFailures.contains(result.Reason))
            FStartFailures.append(result.Reason);
        StepDone(result.Failed);
    };
    FRun->ProjectError = [this](int, const QString& entry, const QString& message, TStepLog& log) {
        log.AppendLine(ProjectErrorLine(entry, message));
        StepDone(true);
    };
    connect(FRun.get(), &TGenerationRun::Finished, this, &TGenerationController::RunFinished);
    FRun->Start(input);
    FBusy = std::make_unique<TOverrideCursor>();
    Q_EMIT Started();
    Q_EMIT Progress(0, FRun->StepCount());
}

void TGenerationController::Cancel()
{
    if (!FRun || FCancelled)
        return;
    FCancelled = true;
    FRun->Cancel();
}

void TGenerationController::StepDone(bool Failed)
{
    ++FStepsDone;
    if (Failed)
        ++FFailed;
    else
        ++FCompiled;
    Q_EMIT Progress(FStepsDone, FRun->StepCount());
}

void TGenerationController::RunFinished()
{
    FBusy.reset();
    const TGenerationResult result = FRun->Result();
    const int count = FRun->StepCount();
    // The run is still inside its own signal: it goes once that is over.
    FRun.release()->deleteLater();
    const QString nothing = NothingWrittenLine(result);
    if (!nothing.isEmpty())
        FLog.AppendLine(nothing);
    if (FCancelled)
        FLog.AppendLine(Tr("Cancelled after %1 of %2 scripts").arg(FStepsDone).arg(count));
    FLog.AppendLine(Tr("Scripts written: %1, compiled: %2, failed: %3, time: %4 s")
                        .arg(result.Written.size())
                        .arg(FCompiled)
                        .arg(FFailed)
                        .arg(QString::number(double(FClock.elapsed()) / 1000.0, 'f', 1)));
    // A compiler that cannot be started fails every script alike and says so
    // without its name: the box names it instead, the log has the reason
    // with each script. The window reads back no resource file, so there is
    // nothing else to report.
    QStringList errors = FErrors->Errors;
    if (!FStartFailures.isEmpty()) {
        errors.clear();
        for (const QString& reason : std::as_const(FStartFailures))
            errors.append(CompilerStartMessage(FCompilerName, reason));
    }
    if (!errors.isEmpty())
        FBoxes.ShowError(errors.join(u'\n'), dmActiveForm);
    if (result.Failed)
        FBoxes.ShowError(result.Message, dmActiveForm);
    Q_EMIT Finished();
}
