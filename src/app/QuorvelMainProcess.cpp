// "Create resource files": the generation from the window's values, with the
// compiler runs logged in the log pane.
#include "app/QuorvelMain.h"

#include "app/MemoLogSink.h"
#include "app/OverrideCursor.h"
#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "dialogs/MessageBoxes.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionCheck.h"
#include "support/PathHelpers.h"
#include "support/Translation.h"

#include <QApplication>

namespace {

class TBoxErrorReporter : public IErrorReporter {
public:
    explicit TBoxErrorReporter(IMessageBoxes* boxes) : FBoxes(boxes) {}
    void ShowError(const QString& text) override { FBoxes->ShowError(text, dmActiveForm); }

private:
    IMessageBoxes* FBoxes;
};

// Marks a run as going on for as long as it lasts, whatever ends it.
class TRunGuard {
public:
    TRunGuard(bool& flag, TProcessPage* page) : FFlag(flag), FPage(page)
    {
        FFlag = true;
        FPage->SetProcessEnabled(false);
    }
    ~TRunGuard()
    {
        FFlag = false;
        FPage->SetProcessEnabled(true);
    }
    TRunGuard(const TRunGuard&) = delete;
    TRunGuard& operator=(const TRunGuard&) = delete;

private:
    bool& FFlag;
    TProcessPage* FPage;
};

} // namespace

void TMainForm::btProcessClick()
{
    if (FGenerating)
        return;
    StoreProjectData();
    StoreGroupValues();
    // No group has been opened yet: there is no folder to write into.
    if (FGroup.LastProjectGrp.isEmpty())
        return;

    const TConfiguration settings = tsSettings->Settings();
    TGenerationInput input;
    input.GroupFolder = ExtractFilePath(FGroup.LastProjectGrp);
    input.ResourcePath = settings.ResourcePath;
    input.Suffix32 = settings.Win32Suffix;
    input.Suffix64 = settings.Win64Suffix;
    input.TemplateLines = FTemplate;
    input.TemplateFormat = FTemplateFormat;
    input.Group = FGroup.Group;
    input.EscapeValues = settings.EscapeValues;
    for (int i = 0; i < FGroup.Projects.Count(); ++i) {
        const TProjectEntry& e = FGroup.Projects[i];
        input.Projects.push_back(TGenerationProject{e.Text, e.Checked, e.Data()});
    }

    if (!FLog)
        FLog = std::make_unique<TMemoLogSink>(mmDos);
    if (!FReporter)
        FReporter = std::make_unique<TBoxErrorReporter>(FBoxes);
    if (!FCompiler)
        FCompiler = std::make_unique<TResourceCompiler>(*FLog, *FReporter);
    FCompiler->Compiler = settings.ResourceCompiler;
    FCompiler->Options = settings.ResourceCompilerOptions;
    FCompiler->TimeoutMs = FEnv.CompilerTimeoutMs;
    // The window stays drawn and the log grows while a compiler runs; the
    // command stays disabled until the run has ended.
    FCompiler->Pump = [] { QApplication::processEvents(); };

    TGenerationResult result;
    {
        TRunGuard guard(FGenerating, tsProcess);
        TGenerationActions actions;
        actions.Compile = [this](const TCompileJob& job) {
            // What the .res file holds shows at a glance whether the template
            // did what the user meant.
            const TCompileOutcome outcome =
                FCompiler->CompileResource(job.GroupFolder, job.ResourcePath, job.ScriptName);
            if (outcome.Succeeded())
                FLog->AppendLine(
                    VersionResourceLogLine(CompileResourcePath(job.GroupFolder, job.ScriptName)));
            else if (outcome.FinishedInTime && !job.FailureHint.isEmpty())
                FLog->AppendLine(job.FailureHint);
        };
        actions.ProjectError = [this](const QString& entry, const QString& message) {
            FLog->AppendLine(QStringLiteral("*** ") + Tr("Error: ") + entry +
                             QStringLiteral(": ") + message);
        };
        const TOverrideCursor busy;
        result = GenerateResources(input, actions);
    }
    if (result.Failed)
        FBoxes->ShowError(result.Message, dmActiveForm);
    if (FCloseAfterRun) {
        FCloseAfterRun = false;
        close();
    }
}
