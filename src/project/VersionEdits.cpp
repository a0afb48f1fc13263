#include "project/VersionEdits.h"

#include "project/XmlReferences.h"
#include "support/IniFile.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <memory>

namespace
{

enum TValueKind { vkNumber, vkText, vkSwitch };

struct TKeyInfo {
    TEditKey Key;
    const char* Name;
    TValueKind Kind;
    qint32 Max;
};

// The settings file's keys, in its order; the switches stand for the bits of
// "Status" that the window shows as the check mark and the platform boxes.
const TKeyInfo Keys[] = {
    {ekProdMajor, "pvMajor", vkNumber, MaxVersionPart},
    {ekProdMinor, "pvMinor", vkNumber, MaxVersionPart},
    {ekCompany, "Company", vkText, 0},
    {ekCopyright, "Copyright", vkText, 0},
    {ekProduct, "Product", vkText, 0},
    {ekAuthor, "Author", vkText, 0},
    {ekFileMajor, "fvMajor", vkNumber, MaxVersionPart},
    {ekFileMinor, "fvMinor", vkNumber, MaxVersionPart},
    {ekFileRelease, "fvRelease", vkNumber, MaxVersionPart},
    {ekFileBuild, "fvBuild", vkNumber, MaxVersionPart},
    {ekDescription, "Description", vkText, 0},
    {ekStatus, "Status", vkNumber, 7},
    {ekEnabled, "enabled", vkSwitch, 1},
    {ekWin32, "win32", vkSwitch, 1},
    {ekWin64, "win64", vkSwitch, 1},
};

// Decimal digits only: a pipeline that passes "1.5" or "0x10" by mistake
// should hear about it rather than store something else.
bool ParseDecimal(const QString& text, qint32 max, qint32& value)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    qint64 result = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        result = result * 10 + (c.unicode() - u'0');
    }
    if (result > max)
        return false;
    value = qint32(result);
    return true;
}

QString WithSlashes(const QString& path)
{
    QString result = path;
    result.replace(u'\\', u'/');
    return result;
}

qint32* Part(TProjectData& data, TVersionPart part)
{
    switch (part) {
    case vpMajor:
        return &data.FileVersionMajor;
    case vpMinor:
        return &data.FileVersionMinor;
    case vpRelease:
        return &data.FileVersionRelease;
    case vpBuild:
        break;
    }
    return &data.FileVersionBuild;
}

} // namespace

QString EditKeyName(TEditKey key)
{
    for (const TKeyInfo& info : Keys)
        if (info.Key == key)
            return QLatin1String(info.Name);
    return QString();
}

QList<TEditKey> GroupSettingsKeys()
{
    QList<TEditKey> keys;
    for (const TKeyInfo& info : Keys)
        if (info.Key < ekFileMajor)
            keys.append(info.Key);
    return keys;
}

QList<TEditKey> ProjectSettingsKeys()
{
    QList<TEditKey> keys;
    for (const TKeyInfo& info : Keys)
        if (info.Key >= ekFileMajor && info.Kind != vkSwitch)
            keys.append(info.Key);
    return keys;
}

bool IsNumberKey(TEditKey key)
{
    for (const TKeyInfo& info : Keys)
        if (info.Key == key)
            return info.Kind != vkText;
    return false;
}

TVersionEdit GroupKeyValue(const TGroupValues& group, TEditKey key)
{
    TVersionEdit value;
    value.Key = key;
    switch (key) {
    case ekProdMajor:
        value.Number = group.ProdMajor;
        break;
    case ekProdMinor:
        value.Number = group.ProdMinor;
        break;
    case ekCompany:
        value.Text = group.Company;
        break;
    case ekCopyright:
        value.Text = group.Copyright;
        break;
    case ekProduct:
        value.Text = group.Product;
        break;
    case ekAuthor:
        value.Text = group.Author;
        break;
    default:
        break;
    }
    return value;
}

TVersionEdit ProjectKeyValue(const TProjectData& data, TEditKey key)
{
    TVersionEdit value;
    value.Key = key;
    switch (key) {
    case ekFileMajor:
        value.Number = data.FileVersionMajor;
        break;
    case ekFileMinor:
        value.Number = data.FileVersionMinor;
        break;
    case ekFileRelease:
        value.Number = data.FileVersionRelease;
        break;
    case ekFileBuild:
        value.Number = data.FileVersionBuild;
        break;
    case ekDescription:
        value.Text = data.FileDescription;
        break;
    case ekStatus:
        value.Number = StatesToInt(data.Status);
        break;
    case ekEnabled:
        value.Number = data.Status.Contains(psEnabled);
        break;
    case ekWin32:
        value.Number = data.Status.Contains(psWin32);
        break;
    case ekWin64:
        value.Number = data.Status.Contains(psWin64);
        break;
    default:
        break;
    }
    return value;
}

QString ParseVersionEdit(const QString& assignment, TVersionEdit& edit)
{
    const int equals = assignment.indexOf(u'=');
    const QString name = TrimBlanks(assignment.left(qMax(equals, 0)));
    if (name.isEmpty())
        return Tr("%1 is no KEY=VALUE assignment").arg(assignment);
    const QString value = assignment.mid(equals + 1);
    for (const TKeyInfo& info : Keys) {
        if (!SameText(name, QLatin1String(info.Name)))
            continue;
        TVersionEdit result;
        result.Key = info.Key;
        switch (info.Kind) {
        case vkText:
            // A longer value would read back cut short, and the next save
            // would store the cut value.
            if (value.size() > TIniFile::MaxValueLength)
                return Tr("%1 holds %2 characters; a value holds at most %3")
                    .arg(QLatin1String(info.Name))
                    .arg(value.size())
                    .arg(TIniFile::MaxValueLength);
            result.Text = value;
            break;
        case vkNumber:
            if (!ParseDecimal(TrimBlanks(value), info.Max, result.Number))
                return Tr("%1 needs a number from 0 to %2, not \"%3\"")
                    .arg(QLatin1String(info.Name))
                    .arg(info.Max)
                    .arg(value);
            break;
        case vkSwitch: {
            const QString v = TrimBlanks(value);
            if (SameText(v, QStringLiteral("true")))
                result.Number = 1;
            else if (SameText(v, QStringLiteral("false")))
                result.Number = 0;
            else
                return Tr("%1 needs true or false, not \"%2\"")
                    .arg(QLatin1String(info.Name), value);
            break;
        }
        }
        edit = result;
        return QString();
    }
    return Tr("unknown key %1").arg(name);
}

void ApplyGroupEdit(TGroupValues& group, const TVersionEdit& edit)
{
    switch (edit.Key) {
    case ekProdMajor:
        group.ProdMajor = edit.Number;
        break;
    case ekProdMinor:
        group.ProdMinor = edit.Number;
        break;
    case ekCompany:
        group.Company = edit.Text;
        break;
    case ekCopyright:
        group.Copyright = edit.Text;
        break;
    case ekProduct:
        group.Product = edit.Text;
        break;
    case ekAuthor:
        group.Author = edit.Text;
        break;
    default:
        break;
    }
}

void ApplyProjectEdit(TProjectData& data, const TVersionEdit& edit)
{
    switch (edit.Key) {
    case ekFileMajor:
        data.FileVersionMajor = edit.Number;
        break;
    case ekFileMinor:
        data.FileVersionMinor = edit.Number;
        break;
    case ekFileRelease:
        data.FileVersionRelease = edit.Number;
        break;
    case ekFileBuild:
        data.FileVersionBuild = edit.Number;
        break;
    case ekDescription:
        data.FileDescription = edit.Text;
        break;
    case ekStatus:
        data.Status = IntToStates(edit.Number);
        break;
    case ekEnabled:
        data.Status.Set(psEnabled, edit.Number != 0);
        break;
    case ekWin32:
        data.Status.Set(psWin32, edit.Number != 0);
        break;
    case ekWin64:
        data.Status.Set(psWin64, edit.Number != 0);
        break;
    default:
        break;
    }
}

void ApplyProjectEdits(TProjectEntry& entry, const QList<TVersionEdit>& edits)
{
    if (!entry.Info)
        entry.Info = std::make_unique<TProjectInfo>(TProjectData());
    for (const TVersionEdit& edit : edits)
        ApplyProjectEdit(entry.Info->ProjectData, edit);
    entry.Checked = entry.Info->ProjectData.Status.Contains(psEnabled);
}

QList<int> FindProjectEntries(const TProjectList& list, const QString& name)
{
    QList<int> result;
    const QString wanted = WithSlashes(name);
    // The group file writes "R&amp;D\App.dproj"; the user sees and types
    // "R&D\App.dproj". Both name the entry.
    for (int i = 0; i < list.Count(); ++i)
        if (SameText(WithSlashes(list[i].Text), wanted) ||
            SameText(WithSlashes(DecodeXmlReferences(list[i].Text)), wanted))
            result.append(i);
    return result;
}

bool BumpFileVersion(TProjectData& data, TVersionPart part)
{
    qint32* value = Part(data, part);
    if (*value >= MaxVersionPart)
        return false;
    // A negative part (only a hand-edited settings file holds one) is no
    // version at all: it counts as 0.
    *value = *value < 0 ? 1 : *value + 1;
    for (int lower = part + 1; lower <= vpBuild; ++lower)
        *Part(data, TVersionPart(lower)) = 0;
    return true;
}
