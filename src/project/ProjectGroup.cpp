#include "project/ProjectGroup.h"

#include <QDir>

#include "project/GroupFile.h"
#include "project/ProjectFile.h"
#include "project/VersionEdits.h"
#include "project/VersionNumbers.h"
#include "project/XmlReferences.h"
#include "support/IniFile.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TextFile.h"

#include <QFileInfo>

namespace
{

const QString GlobalSection = QStringLiteral("Global");

// Reads a key over the value given, which a missing key keeps.
TVersionEdit ReadKey(const TIniFile& ini, const QString& section, TVersionEdit value)
{
    const QString name = EditKeyName(value.Key);
    if (IsNumberKey(value.Key))
        value.Number = ini.ReadInteger(section, name, value.Number);
    else
        value.Text = ini.ReadString(section, name, value.Text);
    return value;
}

void WriteKey(TIniFile& ini, const QString& section, const TVersionEdit& value)
{
    const QString name = EditKeyName(value.Key);
    if (IsNumberKey(value.Key))
        ini.WriteInteger(section, name, value.Number);
    else
        ini.WriteString(section, name, value.Text);
}

} // namespace

QString SettingsFileName(const QString& groupFile)
{
    return ChangeExtension(groupFile, QStringLiteral("vprj"));
}

bool TProjectGroup::OpenProjectGroup(const QString& groupFile, QStringList& history,
                                     const TUserDefaults& defaults,
                                     const std::function<void()>& listReplaced)
{
    // Qt's own dialogs and folders give "/" on Windows too; the group folder
    // is cut off at the system's delimiter.
    const QString fileName = QDir::toNativeSeparators(groupFile);
    AddToHistory(history, fileName);
    LastProjectGrp = fileName;
    const QStringList lines = ReadTextFile(fileName).Lines;
    const QStringList entries = ReadProjectEntries(lines);
    SkippedProjects = SkippedProjectItems(lines);
    Projects.Clear();
    for (const QString& entry : entries)
        Projects.Add(entry);
    if (listReplaced)
        listReplaced();
    if (Projects.IsEmpty())
        return false;
    LoadVersionSettings(SettingsFileName(fileName), defaults);
    return true;
}

QString TProjectGroup::ProjectFileName(int index) const
{
    return ProjectFilePath(LastGroupFile, Projects[index].Text);
}

bool TProjectGroup::ProjectFileKeys(int index, TKeyCache* cache, TProjectFileKeys& keys) const
{
    TFileKeys read;
    TFileKeys& entry = cache ? (*cache)[size_t(index)] : read;
    if (!entry.Read) {
        const QString fileName = ProjectFileName(index);
        entry.Exists = QFileInfo(fileName).isFile();
        // Only two elements are wanted: they are found in the whole text,
        // which is not split into lines.
        TTextFormat format;
        if (entry.Exists) {
            entry.Keys =
                ReadProjectFileKeysInText(DecodeTextString(ReadFileBytes(fileName), format));
            entry.Keys.VerInfoKeys = ReplaceProjectNameMacros(
                entry.Keys.VerInfoKeys, RemoveExtension(ExtractFileName(fileName)));
        }
        entry.Read = true;
    }
    keys = entry.Keys;
    return entry.Exists;
}

void TProjectGroup::ReadProjectFile(int index, TProjectData& data) const
{
    ReadProjectFile(index, data, nullptr);
}

void TProjectGroup::ReadProjectFile(int index, TProjectData& data, TKeyCache* cache) const
{
    if (index < 0)
        return;
    TProjectFileKeys keys;
    if (ProjectFileKeys(index, cache, keys))
        ApplyProjectFileKeys(keys, data);
}

void TProjectGroup::ReadGroupDefaults()
{
    ReadGroupDefaults(nullptr);
}

void TProjectGroup::ReadGroupDefaults(TKeyCache* cache)
{
    TGroupDefaultsScan scan;
    for (int i = 0; i < Projects.Count(); ++i) {
        TProjectFileKeys keys;
        if (ProjectFileKeys(i, cache, keys))
            ApplyGroupDefaults(keys, Group, scan);
    }
    if (scan.Major >= 0) {
        Group.ProdMajor = Low32(scan.Major);
        if (scan.Minor >= 0)
            Group.ProdMinor = Low32(scan.Minor);
    }
}

void TProjectGroup::LoadVersionSettings(const QString& settingsFile, const TUserDefaults& defaults)
{
    LastGroupFile = settingsFile;
    const TIniFile ini(settingsFile);
    // Read as empty, the file would be saved as defaults over the values it
    // holds.
    if (!ini.ReadError().isEmpty())
        throw TQuorvelError(ini.ReadError());
    TKeyCache cache(size_t(Projects.Count()));
    Group = TGroupValues();
    if (ini.SectionExists(GlobalSection)) {
        for (TEditKey key : GroupSettingsKeys())
            ApplyGroupEdit(Group, ReadKey(ini, GlobalSection, GroupKeyValue(Group, key)));
    } else {
        ReadGroupDefaults(&cache);
        if (Group.Author.isEmpty())
            Group.Author = defaults.Author;
        if (Group.Company.isEmpty())
            Group.Company = defaults.Company;
        if (Group.Copyright.isEmpty())
            Group.Copyright = defaults.Copyright;
    }
    for (int i = 0; i < Projects.Count(); ++i) {
        TProjectEntry& entry = Projects[i];
        TProjectData data;
        if (ini.SectionExists(entry.Text)) {
            for (TEditKey key : ProjectSettingsKeys())
                ApplyProjectEdit(data, ReadKey(ini, entry.Text, ProjectKeyValue(data, key)));
        } else {
            ReadProjectFile(i, data, &cache);
        }
        entry.Checked = data.Status.Contains(psEnabled);
        entry.Info = std::make_unique<TProjectInfo>(data);
    }
}

void TProjectGroup::SaveVersionSettings(const QString& settingsFile) const
{
    if (settingsFile.isEmpty())
        return;
    // The file is read, changed and written whole: without the lock a
    // concurrent save between the reading and the writing would be lost.
    std::unique_ptr<TSettingsLock> ownLock;
    if (!FSettingsLock || FSettingsLock->SettingsFile() != settingsFile) {
        ownLock = std::make_unique<TSettingsLock>(settingsFile);
        ownLock->Lock();
    }
    TIniFile ini(settingsFile);
    for (TEditKey key : GroupSettingsKeys())
        WriteKey(ini, GlobalSection, GroupKeyValue(Group, key));
    for (int i = 0; i < Projects.Count(); ++i) {
        const TProjectEntry& entry = Projects[i];
        // An entry whose loading stopped at an unreadable project file has no
        // data: its section keeps what the file holds.
        if (!entry.Info)
            continue;
        for (TEditKey key : ProjectSettingsKeys())
            WriteKey(ini, entry.Text, ProjectKeyValue(entry.Info->ProjectData, key));
    }
    ini.UpdateFile();
}

void TProjectGroup::UpdateVersionSettings(const TUserDefaults& defaults,
                                          const std::function<bool(TProjectGroup&)>& change)
{
    if (LastGroupFile.isEmpty())
        return;
    // Held from the reading to the writing: a writer in between would be lost.
    FSettingsLock = std::make_unique<TSettingsLock>(LastGroupFile);
    try {
        FSettingsLock->Lock();
        LoadVersionSettings(LastGroupFile, defaults);
        if (change(*this))
            SaveVersionSettings(LastGroupFile);
    } catch (...) {
        FSettingsLock.reset();
        throw;
    }
    FSettingsLock.reset();
}

bool TProjectGroup::ReloadProjectGroup(const TUserDefaults& defaults)
{
    const QStringList lines = ReadTextFile(LastProjectGrp).Lines;
    const QStringList entries = ReadProjectEntries(lines);
    SkippedProjects = SkippedProjectItems(lines);
    Projects.Clear();
    for (const QString& entry : entries)
        Projects.Add(entry);
    if (Projects.IsEmpty())
        return false;
    LoadVersionSettings(SettingsFileName(LastProjectGrp), defaults);
    return true;
}

bool TProjectGroup::ProjectFileExists(int index) const
{
    return QFileInfo(ProjectFileName(index)).isFile();
}
