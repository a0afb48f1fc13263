// "Create resource files": the generation from the window's values, with the
// compiler runs logged in the log pane.
#include "app/QuorvelMain.h"

#include "app/MemoLogSink.h"
#include "dialogs/MessageBoxes.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionCheck.h"
#include "support/PathHelpers.h"
#include "support/Translation.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

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
    TRunGuard(bool& flag, QPushButton* button) : FFlag(flag), FButton(button)
    {
        FFlag = true;
        FButton->setEnabled(false);
    }
    ~TRunGuard()
    {
        FFlag = false;
        FButton->setEnabled(true);
    }
    TRunGuard(const TRunGuard&) = delete;
    TRunGuard& operator=(const TRunGuard&) = delete;

private:
    bool& FFlag;
    QPushButton* FButton;
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

    TGenerationInput input;
    input.GroupFolder = ExtractFilePath(FGroup.LastProjectGrp);
    input.ResourcePath = edResPath->text();
    input.Suffix32 = edSuffix32->text();
    input.Suffix64 = edSuffix64->text();
    input.TemplateLines = Template;
    input.TemplateFormat = TemplateFormat;
    input.Group = FGroup.Group;
    input.EscapeValues = cbEscapeValues->isChecked();
    for (int i = 0; i < FGroup.Projects.Count(); ++i) {
        const TProjectEntry& e = FGroup.Projects[i];
        input.Projects.push_back(
            TGenerationProject{e.Text, e.Checked, e.Info ? e.Info->ProjectData : TProjectData()});
    }

    if (!FLog)
        FLog = std::make_unique<TMemoLogSink>(mmDos);
    if (!FReporter)
        FReporter = std::make_unique<TBoxErrorReporter>(FBoxes);
    if (!FCompiler)
        FCompiler = std::make_unique<TResourceCompiler>(*FLog, *FReporter);
    FCompiler->Compiler = edResCompiler->text();
    FCompiler->Options = edResCompilerOptions->text();
    FCompiler->TimeoutMs = FEnv.CompilerTimeoutMs;
    // The window stays drawn and the log grows while a compiler runs; the
    // command stays disabled until the run has ended.
    FCompiler->Pump = [] { QApplication::processEvents(); };

    TGenerationResult result;
    {
        TRunGuard guard(FGenerating, btProcess);
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
        QApplication::setOverrideCursor(Qt::BusyCursor);
        try {
            result = GenerateResources(input, actions);
        } catch (...) {
            QApplication::restoreOverrideCursor();
            throw;
        }
        QApplication::restoreOverrideCursor();
    }
    if (result.Failed)
        FBoxes->ShowError(result.Message, dmActiveForm);
    if (FCloseAfterRun) {
        FCloseAfterRun = false;
        close();
    }
}
