#include "project/ProjectGroup.h"

#include <QDir>

#include "project/GroupFile.h"
#include "project/ProjectFile.h"
#include "project/XmlReferences.h"
#include "support/IniFile.h"
#include "support/PathHelpers.h"
#include "support/TextFile.h"

#include <QFileInfo>

namespace {

const QString GlobalSection = QStringLiteral("Global");

qint32 Low32(qint64 value)
{
    return static_cast<qint32>(static_cast<quint32>(static_cast<quint64>(value) & 0xFFFFFFFFu));
}

} // namespace

QString SettingsFileName(const QString& groupFile)
{
    return ChangeExtension(groupFile, QStringLiteral("vprj"));
}

bool TProjectGroup::OpenProjectGroup(const QString& groupFile, QStringList& history,
                                     const TUserDefaults& defaults)
{
    // Qt's own dialogs and folders give "/" on Windows too; the group folder
    // is cut off at the system's delimiter.
    const QString fileName = QDir::toNativeSeparators(groupFile);
    AddToHistory(history, fileName);
    LastProjectGrp = fileName;
    const QStringList entries = ReadProjectEntries(ReadTextFile(fileName).Lines);
    Projects.Clear();
    for (const QString& entry : entries)
        Projects.Add(entry);
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
            entry.Keys = ReadProjectFileKeysInText(DecodeTextString(ReadFileBytes(fileName), format));
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
    TKeyCache cache(size_t(Projects.Count()));
    if (ini.SectionExists(GlobalSection)) {
        Group.ProdMajor = ini.ReadInteger(GlobalSection, QStringLiteral("pvMajor"), 1);
        Group.ProdMinor = ini.ReadInteger(GlobalSection, QStringLiteral("pvMinor"), 0);
        Group.Company = ini.ReadString(GlobalSection, QStringLiteral("Company"), QString());
        Group.Copyright = ini.ReadString(GlobalSection, QStringLiteral("Copyright"), QString());
        Group.Product = ini.ReadString(GlobalSection, QStringLiteral("Product"), QString());
        Group.Author = ini.ReadString(GlobalSection, QStringLiteral("Author"), QString());
    } else {
        Group = TGroupValues();
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
            data.FileVersionMajor = ini.ReadInteger(entry.Text, QStringLiteral("fvMajor"), 1);
            data.FileVersionMinor = ini.ReadInteger(entry.Text, QStringLiteral("fvMinor"), 0);
            data.FileVersionRelease = ini.ReadInteger(entry.Text, QStringLiteral("fvRelease"), 0);
            data.FileVersionBuild = ini.ReadInteger(entry.Text, QStringLiteral("fvBuild"), 0);
            data.FileDescription = ini.ReadString(entry.Text, QStringLiteral("Description"), QString());
            data.Status = IntToStates(ini.ReadInteger(entry.Text, QStringLiteral("Status"), 7));
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
    ini.WriteInteger(GlobalSection, QStringLiteral("pvMajor"), Group.ProdMajor);
    ini.WriteInteger(GlobalSection, QStringLiteral("pvMinor"), Group.ProdMinor);
    ini.WriteString(GlobalSection, QStringLiteral("Company"), Group.Company);
    ini.WriteString(GlobalSection, QStringLiteral("Copyright"), Group.Copyright);
    ini.WriteString(GlobalSection, QStringLiteral("Product"), Group.Product);
    ini.WriteString(GlobalSection, QStringLiteral("Author"), Group.Author);
    for (int i = 0; i < Projects.Count(); ++i) {
        const TProjectEntry& entry = Projects[i];
        // An entry whose loading stopped at an unreadable project file has no
        // data: its section keeps what the file holds.
        if (!entry.Info)
            continue;
        const TProjectData& d = entry.Info->ProjectData;
        ini.WriteInteger(entry.Text, QStringLiteral("fvMajor"), d.FileVersionMajor);
        ini.WriteInteger(entry.Text, QStringLiteral("fvMinor"), d.FileVersionMinor);
        ini.WriteInteger(entry.Text, QStringLiteral("fvRelease"), d.FileVersionRelease);
        ini.WriteInteger(entry.Text, QStringLiteral("fvBuild"), d.FileVersionBuild);
        ini.WriteString(entry.Text, QStringLiteral("Description"), d.FileDescription);
        ini.WriteInteger(entry.Text, QStringLiteral("Status"), StatesToInt(d.Status));
    }
    ini.UpdateFile();
}

void TProjectGroup::LockSettings(const QString& settingsFile)
{
    auto lock = std::make_unique<TSettingsLock>(settingsFile);
    lock->Lock();
    FSettingsLock = std::move(lock);
}

void TProjectGroup::UnlockSettings()
{
    FSettingsLock.reset();
}
