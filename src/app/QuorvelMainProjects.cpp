// The project group and its project list: opening groups, the history
// drop-down, selection, check marks and the version fields.
#include "app/QuorvelMain.h"

#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "dialogs/FileDialogs.h"
#include "resgen/LogSink.h"
#include "support/FileWatch.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>

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
    const QString shownGroup = FGroup.LastProjectGrp;
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
        if (replaced) {
            // After an unreadable project file what was loaded before it
            // stays shown.
            tsProcess->ShowHistory(history, 0);
            ShowProjectList(false);
            ShowGroupValues();
            FBase = TSettingsSnapshot::Of(FGroup);
            WatchGroupFiles();
        } else {
            // An unreadable group file leaves the group shown before: the
            // field names it again, and a run writes into its folder.
            FGroup.LastProjectGrp = shownGroup;
            tsProcess->ShowHistory(history, history.indexOf(shownGroup));
        }
        throw;
    }
    tsProcess->ShowHistory(history, 0);
    FBase = TSettingsSnapshot::Of(FGroup);
    WatchGroupFiles();
    ShowProjectList(true);
    if (!opened)
        return false;
    ShowGroupValues();
    ShowProjectData();
    return true;
}

void TMainForm::ShowProjectList(bool Select, const QString& Selected)
{
    QList<bool> missing;
    for (int i = 0; i < FGroup.Projects.Count(); ++i)
        missing.append(!FGroup.ProjectFileExists(i));
    tsProcess->ShowProjects(FGroup.Projects, missing);
    if (!Select || FGroup.Projects.IsEmpty())
        return;
    tsProcess->SelectProject(qMax(0, FGroup.Projects.IndexOf(Selected)));
}

void TMainForm::WatchGroupFiles()
{
    QStringList files{FGroup.LastProjectGrp, FGroup.LastGroupFile, tsSettings->TemplateName()};
    if (!FGroup.LastGroupFile.isEmpty())
        for (int i = 0; i < FGroup.Projects.Count(); ++i)
            files << FGroup.ProjectFileName(i);
    FWatch->SetFiles(files);
}

void TMainForm::SaveGroupSettings()
{
    StoreProjectData();
    StoreGroupValues();
    const TSettingsSnapshot current = TSettingsSnapshot::Of(FGroup);
    QList<TSettingsConflict> conflicts;
    FGroup.UpdateVersionSettings(tsSettings->UserDefaults(), [&](TProjectGroup& group) {
        conflicts = RebaseEdits(FBase, current, group);
        return true;
    });
    FBase = TSettingsSnapshot::Of(FGroup);
    FWatch->Accept();
    ShowGroupValues();
    ShowProjectData();
    LogConflicts(conflicts);
}

void TMainForm::ReloadFromDisk()
{
    // The group file, the settings file, a project file or the template
    // changed: the group is read again and the user's unsaved edits are put
    // over what the files hold now.
    if (FGroup.LastProjectGrp.isEmpty())
        return;
    StoreProjectData();
    StoreGroupValues();
    const TSettingsSnapshot current = TSettingsSnapshot::Of(FGroup);
    const QString selected = FLastIndex >= 0 && FLastIndex < FGroup.Projects.Count()
                                 ? FGroup.Projects[FLastIndex].Text
                                 : QString();
    QList<TSettingsConflict> conflicts;
    try {
        FLastIndex = -1;
        FGroup.ReloadProjectGroup(tsSettings->UserDefaults());
        const TSettingsSnapshot disk = TSettingsSnapshot::Of(FGroup);
        conflicts = RebaseEdits(FBase, current, FGroup);
        FBase = disk;
    } catch (const TQuorvelError& e) {
        // Half-way through a checkout a file may be missing for a moment:
        // said in the log, the next change reads it again.
        FLog->AppendLine(e.Message());
    }
    WatchGroupFiles();
    ShowProjectList(true, selected);
    ShowGroupValues();
    ShowProjectData();
    LogConflicts(conflicts);
}

void TMainForm::LogConflicts(const QList<TSettingsConflict>& Conflicts)
{
    for (const TSettingsConflict& conflict : Conflicts)
        FLog->AppendLine(ConflictLine(conflict));
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
    // As with a choice from the history: the open group's edits are saved first.
    SaveGroupSettings();
    OpenProjectGroup(chosen);
    return true;
}

void TMainForm::cbProjectGroupCloseUp()
{
    SaveGroupSettings();
    // Text typed into the field that names no entry: there is nothing to open.
    const QString chosen = tsProcess->ChosenGroup();
    if (!chosen.isEmpty())
        OpenProjectGroup(chosen);
}

void TMainForm::GroupPathEntered(const QString& Path)
{
    SaveGroupSettings();
    OpenProjectGroup(QDir::toNativeSeparators(QFileInfo(Path).absoluteFilePath()));
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
