// The template editor's entry and exit, and the file choosers of the settings
// page.
#include "app/QuorvelMain.h"

#include "app/EditorPage.h"
#include "app/SettingsPage.h"
#include "dialogs/FileDialogs.h"
#include "support/FileWatch.h"
#include "support/PathHelpers.h"
#include "support/Translation.h"

#include <QDir>
#include <QStackedWidget>

void TMainForm::btEditClick()
{
    ShowPage(piEditor, pcMain->height());
    const QString fileName = tsSettings->TemplateName();
    tsEdit->Open(fileName, ReadTextFile(fileName));
}

void TMainForm::btOkClick()
{
    ShowPage(piSettings, pcMain->height());
    WriteTextFile(tsSettings->TemplateName(), tsEdit->Lines(), tsEdit->Format());
    FWatch->Accept();
}

void TMainForm::btCancelClick()
{
    ShowPage(piSettings, pcMain->height());
}

bool TMainForm::SelectTemplate()
{
    TOpenDialogRequest request;
    const QString current = tsSettings->TemplateName();
    // A typed path may hold "/", which Windows takes as a delimiter, too.
    request.InitialDir =
        current.isEmpty() ? FEnv.Paths.ExePath : ExtractFilePath(QDir::toNativeSeparators(current));
    request.Title = Tr("Select resource template");
    request.Filter = Tr("Templates|*.trc|all|*.*");
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    tsSettings->SetTemplateName(chosen);
    WatchGroupFiles();
    return true;
}

bool TMainForm::SelectResCompiler()
{
    TOpenDialogRequest request;
    const QString current = tsSettings->ResourceCompiler();
    request.InitialDir =
        current.isEmpty() ? FProgPath : ExtractFilePath(QDir::toNativeSeparators(current));
    request.FileName = QStringLiteral("brcc32.exe");
    request.Title = Tr("Select resource compiler");
    request.Filter = Tr("Programs|*.exe");
#ifndef Q_OS_WIN
    // Compilers have no ".exe" here: without this entry none could be chosen.
    request.Filter += QLatin1Char('|') + Tr("all|*");
#endif
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    tsSettings->SetResourceCompiler(chosen);
    return true;
}
