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
    // falling back to the project files and the user's defaults.
    void LoadVersionSettings(const QString& settingsFile, const TUserDefaults& defaults);
    // Writes the group values and every entry's data into the settings file in
    // one atomic save; nothing when the path is empty. Throws TQuorvelError
    // "Unable to write to %s" and leaves the old file intact on failure. The
    // save holds the lock beside the file (TSettingsLock) unless LockSettings
    // already holds it; a lock it cannot get throws and writes nothing.
    void SaveVersionSettings(const QString& settingsFile) const;

    // Takes the lock beside a settings file and holds it until
    // UnlockSettings or the group goes: a run that reads, changes and saves
    // the settings holds it across all three. Throws TQuorvelError when
    // another run keeps it.
    void LockSettings(const QString& settingsFile);
    void UnlockSettings();

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
