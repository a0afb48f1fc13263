#pragma once

#include "project/GroupValues.h"
#include "project/ProjectFile.h"
#include "project/ProjectList.h"
#include "project/SettingsLock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// The open project group: its file, its settings file, the group-wide values
// and the project list with each project's data. The window mirrors the group
// values and the selected project into its controls; the command-line tool
// works on it directly.
class TProjectGroup
{
public:
    // Full path of the group file opened last.
    QString LastProjectGrp;
    // Full path of the settings file of the group whose data is held; empty
    // until a group with projects has been loaded.
    QString LastGroupFile;
    TGroupValues Group;
    TProjectList Projects;
    // The projects the group file's XML lists that the entry reader left
    // out (SkippedProjectItems), as the group file was read last.
    QStringList SkippedProjects;

    // Puts the file at the top of the history, reads its project entries into
    // the list and, when there is at least one, loads the settings file beside
    // it. Returns whether the group named a project. A group file that cannot
    // be read throws TQuorvelError; the history and LastProjectGrp are then
    // already updated, and the list, group values and LastGroupFile are those
    // of the group held before. listReplaced, when given, runs once the old
    // list is gone and before the settings are loaded: from then on no entry
    // of the old group is left to store fields into, even when the loading
    // throws.
    bool OpenProjectGroup(const QString& fileName, QStringList& history,
                          const TUserDefaults& defaults,
                          const std::function<void()>& listReplaced = {});

    // Loads the group values and every entry's data from the settings file,
    // falling back to the project files and the user's defaults. A settings
    // file that exists but cannot be read as text throws TQuorvelError.
    void LoadVersionSettings(const QString& settingsFile, const TUserDefaults& defaults);
    // Reads the open group again from its files: the entries of the group
    // file (LastProjectGrp) and, when there is at least one, the settings
    // file beside it, as OpenProjectGroup does but without touching the
    // history. Returns whether the group names a project; an unreadable file
    // throws TQuorvelError.
    bool ReloadProjectGroup(const TUserDefaults& defaults);

    // The one way a settings file is changed. Under the lock beside
    // LastGroupFile (TSettingsLock) the file is read afresh into the group
    // (LoadVersionSettings), change alters what was read, and the result is
    // saved in one atomic write, so that another writer's values (a build
    // server's bump, a git checkout) are never written back over. change
    // returning false writes nothing. The group then holds what the file
    // holds. Nothing happens while LastGroupFile is empty. Throws
    // TQuorvelError when the lock cannot be had or the file not written.
    void UpdateVersionSettings(const TUserDefaults& defaults,
                               const std::function<bool(TProjectGroup&)>& change);

    // Writes the group values and every entry's data into the settings file in
    // one atomic save, under the lock unless UpdateVersionSettings holds it;
    // nothing when the path is empty. Throws TQuorvelError "Unable to write to
    // %s" and leaves the old file intact on failure. This writes the group's
    // memory whole: the program saves through UpdateVersionSettings.
    void SaveVersionSettings(const QString& settingsFile) const;

    // Whether the project file of an entry is there.
    bool ProjectFileExists(int index) const;

    // The project file path of an entry.
    QString ProjectFileName(int index) const;
    // Fills in what the entry's project file provides; a missing file or a
    // negative index changes nothing. An unreadable file throws TQuorvelError.
    void ReadProjectFile(int index, TProjectData& data) const;
    // Fills the empty group values and the product version from the project files.
    void ReadGroupDefaults();

private:
    std::unique_ptr<TSettingsLock> FSettingsLock;

    // The elements of the project files read during one load, by entry: the
    // group values and the project data come from one reading of each file.
    struct TFileKeys {
        bool Read = false;
        bool Exists = false;
        TProjectFileKeys Keys;
    };
    using TKeyCache = std::vector<TFileKeys>;
    // The elements of an entry's project file; false when there is no such file.
    bool ProjectFileKeys(int index, TKeyCache* cache, TProjectFileKeys& keys) const;
    void ReadProjectFile(int index, TProjectData& data, TKeyCache* cache) const;
    void ReadGroupDefaults(TKeyCache* cache);
};

// The settings file of a group file: the same name with the extension "vprj".
QString SettingsFileName(const QString& groupFile);
