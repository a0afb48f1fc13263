// "Create resource files": the generation from the window's values, with the
// compiler runs logged in the log pane as they go.
#include "app/QuorvelMain.h"

#include "app/MemoLogSink.h"
#include "app/OverrideCursor.h"
#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "dialogs/MessageBoxes.h"
#include "resgen/GenerationInput.h"
#include "resgen/GenerationRun.h"
#include "resgen/ResourceCompiler.h"

namespace
{

class TBoxErrorReporter : public IErrorReporter
{
public:
    explicit TBoxErrorReporter(IMessageBoxes* boxes) : FBoxes(boxes) {}
    void ShowError(const QString& text) override { FBoxes->ShowError(text, dmActiveForm); }

private:
    IMessageBoxes* FBoxes;
};

} // namespace

void TMainForm::btProcessClick()
{
    if (FRun)
        return;
    StoreProjectData();
    StoreGroupValues();
    // No group has been opened yet: there is no folder to write into.
    if (FGroup.LastProjectGrp.isEmpty())
        return;

    // The template as it is on disk now: after OK in the editor, another
    // template chosen or an edit outside, the run takes that text.
    const TConfiguration config = tsSettings->Settings();
    const TGenerationSettings settings = ConfiguredGenerationSettings(config);
    FTemplate = settings.TemplateLines;
    FTemplateFormat = settings.TemplateFormat;
    const TGenerationInput input = MakeGenerationInput(FGroup, settings);
    for (const QString& line : MissingProjectFileLines(FGroup))
        FLog->AppendLine(line);

    if (!FReporter)
        FReporter = std::make_unique<TBoxErrorReporter>(FBoxes);
    if (!FCompiler)
        FCompiler = std::make_unique<TResourceCompiler>();
    FCompiler->Compiler = config.ResourceCompiler;
    FCompiler->Options = config.ResourceCompilerOptions;
    FCompiler->TimeoutMs = FEnv.CompilerTimeoutMs;

    // The window stays live while the compilers run, one at a time so that
    // the log pane shows each one's output as it comes; the command stays
    // disabled until the run has ended.
    FRun = std::make_unique<TGenerationRun>(*FCompiler, *FLog, *FReporter);
    connect(FRun.get(), &TGenerationRun::Finished, this, &TMainForm::GenerationFinished);
    tsProcess->SetProcessEnabled(false);
    FBusy = std::make_unique<TOverrideCursor>();
    try {
        FRun->Start(input);
    } catch (...) {
        // Nothing of the run is left to wait for: the window is back.
        if (FRun) {
            FRun.reset();
            FBusy.reset();
            tsProcess->SetProcessEnabled(true);
        }
        throw;
    }
}

void TMainForm::GenerationFinished()
{
    if (!FRun)
        return;
    FBusy.reset();
    tsProcess->SetProcessEnabled(true);
    const TGenerationResult result = FRun->Result();
    // The run is still inside its own signal: it goes once that is over.
    FRun.release()->deleteLater();
    if (result.Failed)
        FBoxes->ShowError(result.Message, dmActiveForm);
    if (FCloseAfterRun) {
        FCloseAfterRun = false;
        close();
    }
}
