#include "app/GroupController.h"

#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "dialogs/FileDialogs.h"
#include "resgen/LogSink.h"
#include "support/FileWatch.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>

TGroupController::TGroupController(TProcessPage& Page, const TSettingsPage& Settings, ILogSink& Log,
                                   IFileDialogs& Dialogs, QObject* Parent)
    : QObject(Parent), FPage(Page), FSettings(Settings), FLog(Log), FDialogs(Dialogs),
      FWatch(new TFileWatch(this))
{
    connect(FWatch, &TFileWatch::Changed, this, &TGroupController::ReloadFromDisk);
}

void TGroupController::ShowConfiguration(const TConfiguration& Config)
{
    FLastPath = Config.LastPath;
    FGroup.LastProjectGrp = Config.LastProjGroup;
    FGroup.LastGroupFile.clear();
    FHistory = Config.ProjGroups;
    FLastIndex = -1;
    FPage.ShowHistory(FHistory, -1);
}

void TGroupController::StoreConfiguration(TConfiguration& Config) const
{
    Config.LastPath = FLastPath;
    Config.LastProjGroup = FGroup.LastProjectGrp;
    Config.ProjGroups = FHistory;
}

bool TGroupController::OpenProjectGroup(const QString& FileName)
{
    const QString shownGroup = FGroup.LastProjectGrp;
    bool replaced = false;
    const auto listReplaced = [this, &replaced] {
        replaced = true;
        FLastIndex = -1;
    };
    bool opened = false;
    try {
        opened =
            FGroup.OpenProjectGroup(FileName, FHistory, FSettings.UserDefaults(), listReplaced);
    } catch (const TQuorvelError&) {
        if (replaced) {
            // After an unreadable project file what was loaded before it
            // stays shown.
            FPage.ShowHistory(FHistory, 0);
            ShowProjectList(false);
            FPage.ShowGroupValues(FGroup.Group);
            FBase = TSettingsSnapshot::Of(FGroup);
            WatchGroupFiles();
        } else {
            // An unreadable group file leaves the group shown before: the
            // field names it again, and a run writes into its folder.
            FGroup.LastProjectGrp = shownGroup;
            FPage.ShowHistory(FHistory, FHistory.indexOf(shownGroup));
        }
        throw;
    }
    FPage.ShowHistory(FHistory, 0);
    FBase = TSettingsSnapshot::Of(FGroup);
    WatchGroupFiles();
    ShowProjectList(true);
    if (!opened)
        return false;
    FPage.ShowGroupValues(FGroup.Group);
    ShowProjectData();
    return true;
}

void TGroupController::ShowProjectList(bool Select, const QString& Selected)
{
    QList<bool> missing;
    for (int i = 0; i < FGroup.Projects.Count(); ++i)
        missing.append(!FGroup.ProjectFileExists(i));
    FPage.ShowProjects(FGroup.Projects, missing);
    if (!Select || FGroup.Projects.IsEmpty())
        return;
    FPage.SelectProject(qMax(0, FGroup.Projects.IndexOf(Selected)));
}

void TGroupController::WatchGroupFiles()
{
    QStringList files{FGroup.LastProjectGrp, FGroup.LastGroupFile, FSettings.TemplateName()};
    if (!FGroup.LastGroupFile.isEmpty())
        for (int i = 0; i < FGroup.Projects.Count(); ++i)
            files << FGroup.ProjectFileName(i);
    FWatch->SetFiles(files);
}

void TGroupController::CheckFiles()
{
    FWatch->Check();
}

void TGroupController::AcceptFiles()
{
    FWatch->Accept();
}

void TGroupController::StoreEdits()
{
    StoreProjectData();
    FGroup.Group = FPage.GroupValues();
}

void TGroupController::SaveGroupSettings()
{
    StoreEdits();
    const TSettingsSnapshot current = TSettingsSnapshot::Of(FGroup);
    QList<TSettingsConflict> conflicts;
    FGroup.UpdateVersionSettings(FSettings.UserDefaults(), [&](TProjectGroup& group) {
        conflicts = RebaseEdits(FBase, current, group);
        return true;
    });
    FBase = TSettingsSnapshot::Of(FGroup);
    FWatch->Accept();
    FPage.ShowGroupValues(FGroup.Group);
    ShowProjectData();
    LogConflicts(conflicts);
}

void TGroupController::ReloadFromDisk()
{
    // The group file, the settings file, a project file or the template
    // changed: the group is read again and the user's unsaved edits are put
    // over what the files hold now.
    if (FGroup.LastProjectGrp.isEmpty())
        return;
    StoreEdits();
    const TSettingsSnapshot current = TSettingsSnapshot::Of(FGroup);
    const QString selected = FLastIndex >= 0 && FLastIndex < FGroup.Projects.Count()
                                 ? FGroup.Projects[FLastIndex].Text
                                 : QString();
    QList<TSettingsConflict> conflicts;
    try {
        FLastIndex = -1;
        FGroup.ReloadProjectGroup(FSettings.UserDefaults());
        const TSettingsSnapshot disk = TSettingsSnapshot::Of(FGroup);
        conflicts = RebaseEdits(FBase, current, FGroup);
        FBase = disk;
    } catch (const TQuorvelError& e) {
        // Half-way through a checkout a file may be missing for a moment:
        // said in the log, the next change reads it again.
        FLog.AppendLine(e.Message());
    }
    WatchGroupFiles();
    ShowProjectList(true, selected);
    FPage.ShowGroupValues(FGroup.Group);
    ShowProjectData();
    LogConflicts(conflicts);
}

void TGroupController::LogConflicts(const QList<TSettingsConflict>& Conflicts)
{
    for (const TSettingsConflict& conflict : Conflicts)
        FLog.AppendLine(ConflictLine(conflict));
}

bool TGroupController::SelectProjectGroup()
{
    TOpenDialogRequest request;
    request.InitialDir = ChooserFolder(FPage.GroupText(), FLastPath);
    request.Title = Tr("Select Delphi project group");
    request.Filter = Tr("Project group files|*.groupproj|all|*.*");
    QString chosen;
    if (!FDialogs.ExecuteOpen(request, chosen))
        return false;
    // As with a choice from the history: the open group's edits are saved first.
    SaveGroupSettings();
    OpenProjectGroup(chosen);
    return true;
}

void TGroupController::cbProjectGroupCloseUp()
{
    SaveGroupSettings();
    // Text typed into the field that names no entry: there is nothing to open.
    const QString chosen = FPage.ChosenGroup();
    if (!chosen.isEmpty())
        OpenProjectGroup(chosen);
}

void TGroupController::GroupPathEntered(const QString& Path)
{
    SaveGroupSettings();
    OpenProjectGroup(QDir::toNativeSeparators(QFileInfo(Path).absoluteFilePath()));
}

void TGroupController::EditHistory()
{
    QStringList history = FHistory;
    if (FPage.EditHistory(history))
        FHistory = history;
}

void TGroupController::ShowProjectData()
{
    const int index = FPage.SelectedProject();
    if (index < 0 || index >= FGroup.Projects.Count() || !FGroup.Projects[index].Info)
        return;
    FLastIndex = index;
    FPage.ShowProjectData(FGroup.Projects[index].Info->ProjectData);
}

void TGroupController::StoreProjectData()
{
    if (FLastIndex < 0 || FLastIndex >= FGroup.Projects.Count() ||
        !FGroup.Projects[FLastIndex].Info)
        return;
    FPage.StoreProjectData(FGroup.Projects[FLastIndex].Info->ProjectData);
}

void TGroupController::lbProjectsClick()
{
    StoreProjectData();
    ShowProjectData();
}

void TGroupController::lbProjectsClickCheck(int Row, bool Checked)
{
    if (Row < 0 || Row >= FGroup.Projects.Count())
        return;
    FGroup.Projects.SetChecked(Row, Checked);
}

void TGroupController::SetAllChecked(bool Checked)
{
    FGroup.Projects.SetAllChecked(Checked);
}
