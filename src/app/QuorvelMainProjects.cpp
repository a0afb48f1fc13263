// The project group and its project list: opening groups, the history
// drop-down, selection, check marks and the version fields.
#include "app/QuorvelMain.h"

#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "dialogs/FileDialogs.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QDir>

void TMainForm::ShowGroupValues()
{
    tsProcess->ShowGroupValues(FGroup.Group);
}

void TMainForm::StoreGroupValues()
{
    FGroup.Group = tsProcess->GroupValues();
}

bool TMainForm::OpenProjectGroup(const QString& FileName)
{
    QStringList history = tsProcess->History();
    bool replaced = false;
    const auto listReplaced = [this, &replaced] {
        replaced = true;
        FLastIndex = -1;
    };
    bool opened = false;
    try {
        opened =
            FGroup.OpenProjectGroup(FileName, history, tsSettings->UserDefaults(), listReplaced);
    } catch (const TQuorvelError&) {
        tsProcess->ShowHistory(history, 0);
        // An unreadable group file leaves the group shown before; after an
        // unreadable project file what was loaded before it stays shown.
        if (replaced) {
            tsProcess->ShowProjects(FGroup.Projects);
            ShowGroupValues();
        }
        throw;
    }
    tsProcess->ShowHistory(history, 0);
    tsProcess->ShowProjects(FGroup.Projects);
    if (!opened)
        return false;
    ShowGroupValues();
    tsProcess->SelectProject(0);
    ShowProjectData();
    return true;
}

bool TMainForm::SelectProjectGroup()
{
    TOpenDialogRequest request;
    const QString typed = tsProcess->GroupText();
    // A typed path may hold "/", which Windows takes as a delimiter, too.
    request.InitialDir =
        typed.isEmpty() ? FLastPath : ExtractFilePath(QDir::toNativeSeparators(typed));
    request.Title = Tr("Select Delphi project group");
    request.Filter = Tr("Project group files|*.groupproj|all|*.*");
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    OpenProjectGroup(chosen);
    return true;
}

void TMainForm::cbProjectGroupCloseUp()
{
    StoreProjectData();
    StoreGroupValues();
    FGroup.SaveVersionSettings(FGroup.LastGroupFile);
    // Text typed into the field that names no entry: there is nothing to open.
    const QString chosen = tsProcess->ChosenGroup();
    if (!chosen.isEmpty())
        OpenProjectGroup(chosen);
}

void TMainForm::ShowProjectData()
{
    const int index = tsProcess->SelectedProject();
    if (index < 0 || index >= FGroup.Projects.Count() || !FGroup.Projects[index].Info)
        return;
    FLastIndex = index;
    tsProcess->ShowProjectData(FGroup.Projects[index].Info->ProjectData);
}

void TMainForm::StoreProjectData()
{
    if (FLastIndex < 0 || FLastIndex >= FGroup.Projects.Count() ||
        !FGroup.Projects[FLastIndex].Info)
        return;
    tsProcess->StoreProjectData(FGroup.Projects[FLastIndex].Info->ProjectData);
}

void TMainForm::lbProjectsClick()
{
    StoreProjectData();
    ShowProjectData();
}

void TMainForm::lbProjectsClickCheck(int Row, bool Checked)
{
    if (Row < 0 || Row >= FGroup.Projects.Count())
        return;
    FGroup.Projects.SetChecked(Row, Checked);
}
