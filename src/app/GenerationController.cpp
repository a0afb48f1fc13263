#include "app/GenerationController.h"

#include "app/OverrideCursor.h"
#include "dialogs/MessageBoxes.h"
#include "resgen/ErrorReporter.h"
#include "resgen/GenerationInput.h"
#include "resgen/GenerationRun.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"

// A run's start failures, kept for the one box after the run: one line per
// distinct reason, for a missing compiler fails every script alike.
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
    // One compiler at a time, so that the log shows each one's output as it
    // comes; the window stays live while they run.
    FRun = std::make_unique<TGenerationRun>(*FCompiler, FLog, *FErrors);
    connect(FRun.get(), &TGenerationRun::Finished, this, &TGenerationController::RunFinished);
    FRun->Start(input);
    FBusy = std::make_unique<TOverrideCursor>();
    Q_EMIT Started();
}

void TGenerationController::RunFinished()
{
    FBusy.reset();
    const TGenerationResult result = FRun->Result();
    // The run is still inside its own signal: it goes once that is over.
    FRun.release()->deleteLater();
    const QString nothing = NothingWrittenLine(result);
    if (!nothing.isEmpty())
        FLog.AppendLine(nothing);
    if (!FErrors->Errors.isEmpty())
        FBoxes.ShowError(FErrors->Errors.join(u'\n'), dmActiveForm);
    if (result.Failed)
        FBoxes.ShowError(result.Message, dmActiveForm);
    Q_EMIT Finished();
}
