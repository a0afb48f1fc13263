#pragma once

#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "project/SettingsMerge.h"

#include <QObject>
#include <QString>
#include <QStringList>

class IFileDialogs;
class ILogSink;
class TFileWatch;
class TProcessPage;
class TSettingsPage;

// The open project group as data: the group with every project's values,
// what its files held when last read, the history of opened groups and the
// project whose values the project fields show. It shows them on the process
// page, takes the user's edits back from it, and follows the group's files
// on disk, so that what a pipeline or git writes is never undone.
class TGroupController : public QObject
{
    Q_OBJECT

public:
    TGroupController(TProcessPage& Page, const TSettingsPage& Settings, ILogSink& Log,
                     IFileDialogs& Dialogs, QObject* Parent = nullptr);

    // The open group with every project's data as last stored from the fields.
    const TProjectGroup& Group() const { return FGroup; }
    // The project whose data the project fields show; -1 for none.
    int LastIndex() const { return FLastIndex; }

    // Takes the history, the last group and the last folder from the
    // configuration, and gives them back into one.
    void ShowConfiguration(const TConfiguration& Config);
    void StoreConfiguration(TConfiguration& Config) const;

    // Opens a group; false when it has no projects to show. An unreadable
    // group file leaves the group shown before.
    bool OpenProjectGroup(const QString& FileName);
    // The group chooser; false when it was cancelled. The open group's edits
    // are saved before another one opens.
    bool SelectProjectGroup();
    // The history drop-down was closed: the chosen entry opens.
    void cbProjectGroupCloseUp();
    // A path typed into the group field and confirmed with Enter.
    void GroupPathEntered(const QString& Path);
    void EditHistory();
    void lbProjectsClick();
    void lbProjectsClickCheck(int Row, bool Checked);
    void SetAllChecked(bool Checked);

    // Takes the page's fields into the group.
    void StoreEdits();
    // Stores the fields and saves the user's edits over what the settings
    // file holds now; the page then shows what the file holds.
    void SaveGroupSettings();
    // The files the controller follows: group, settings, project files and
    // the template.
    void WatchGroupFiles();
    // Looks at the files now (an editor or git may have replaced them
    // without a watch noticing).
    void CheckFiles();
    // Takes the files' present content as seen, after the window's own write.
    void AcceptFiles();

private:
    void ShowProjectData();
    void StoreProjectData();
    // Shows the list with its missing project files marked; with Select,
    // the entry of that text is selected (the first one when none has it).
    void ShowProjectList(bool Select, const QString& Selected = QString());
    // The group's files changed on disk: reads them again, keeping the
    // user's unsaved edits.
    void ReloadFromDisk();
    void LogConflicts(const QList<TSettingsConflict>& Conflicts);

    TProcessPage& FPage;
    const TSettingsPage& FSettings;
    ILogSink& FLog;
    IFileDialogs& FDialogs;
    TFileWatch* FWatch;
    TProjectGroup FGroup;
    // What was last taken from the disk: the user's edits are the values
    // that differ from it.
    TSettingsSnapshot FBase;
    QStringList FHistory;
    QString FLastPath;
    int FLastIndex = -1;
};
