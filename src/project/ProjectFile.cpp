#include "project/ProjectFile.h"

#include "project/VersionNumbers.h"
#include "project/XmlReferences.h"
#include "support/TextHelpers.h"

namespace
{

const QString VerInfoKeysTag = QStringLiteral("<VerInfo_Keys>");
const QString TargetedPlatformsTag = QStringLiteral("<TargetedPlatforms>");

void FillIfEmpty(QString& field, const QString& keyList, const char* key)
{
    if (field.isEmpty())
        field = ReadKeyValue(keyList, QLatin1String(key));
}

} // namespace

int FindLine(const QStringList& lines, const QString& text, int start)
{
    if (start < 0)
        start = 0;
    for (int i = start; i < lines.size(); ++i)
        if (TextPos(text, lines[i]) > 0)
            return i;
    return -1;
}

QString ReadElementText(const QStringList& lines, const QString& tag)
{
    const int index = FindLine(lines, tag, 0);
    if (index < 0)
        return QString();
    const QString& line = lines[index];
    const int start = TextPos(tag, line) + tag.size(); // 1-based, after the tag
    const int close = TextPosFrom(QStringLiteral("</"), line, start);
    if (close == 0)
        return QString();
    // Delphi writes XML references ("&amp;") in element values; a key list
    // is only split at ";" once they are decoded.
    return DecodeXmlReferences(TrimBlanks(line.mid(start - 1, close - start)));
}

QString ReadElementTextInText(const QString& text, const QString& tag)
{
    const int pos = TextPos(tag, text);
    if (pos == 0)
        return QString();
    const qsizetype start = pos - 1 + tag.size(); // 0-based, after the tag
    qsizetype lineEnd = start;
    while (lineEnd < text.size() && text[lineEnd] != u'\r' && text[lineEnd] != u'\n')
        ++lineEnd;
    const qsizetype close = QStringView(text).left(lineEnd).indexOf(u"</", start);
    if (close < 0)
        return QString();
    return DecodeXmlReferences(TrimBlanks(text.mid(start, close - start)));
}

TProjectFileKeys ReadProjectFileKeys(const QStringList& lines)
{
    return {ReadElementText(lines, VerInfoKeysTag), ReadElementText(lines, TargetedPlatformsTag)};
}

TProjectFileKeys ReadProjectFileKeysInText(const QString& text)
{
    return {ReadElementTextInText(text, VerInfoKeysTag),
            ReadElementTextInText(text, TargetedPlatformsTag)};
}

QString ReadKeyValue(const QString& keyList, const QString& key)
{
    const int pos = TextPos(key, keyList);
    if (pos == 0)
        return QString();
    const int start = pos - 1 + key.size();
    int end = keyList.indexOf(u';', start);
    if (end < 0)
        end = keyList.size();
    return TrimBlanks(keyList.mid(start, end - start));
}

void ReadProjectFileLines(const QStringList& lines, TProjectData& data)
{
    ApplyProjectFileKeys(ReadProjectFileKeys(lines), data);
}

void ApplyProjectFileKeys(const TProjectFileKeys& fileKeys, TProjectData& data)
{
    const QString& keys = fileKeys.VerInfoKeys;
    if (!keys.isEmpty()) {
        QString version = ReadKeyValue(keys, QStringLiteral("FileVersion="));
        if (!version.isEmpty()) {
            data.FileVersionMajor = Low32(ReadNextInt(version, '.', 1));
            data.FileVersionMinor = Low32(ReadNextInt(version, '.', 1));
            data.FileVersionRelease = Low32(ReadNextInt(version, '.', 1));
            data.FileVersionBuild = Low32(ReadNextInt(version, '.', 1));
        }
        QString description = ReadKeyValue(keys, QStringLiteral("FileDescription="));
        if (description.isEmpty())
            description = ReadKeyValue(keys, QStringLiteral("InternalName="));
        data.FileDescription = description;
    }
    QString platforms = fileKeys.TargetedPlatforms;
    if (!platforms.isEmpty()) {
        const qint64 bits = ReadNextInt(platforms, '.', 1);
        data.Status.Set(psWin32, bits & 1);
        data.Status.Set(psWin64, bits & 2);
    }
}

bool ReadGroupDefaultsLines(const QStringList& lines, TGroupValues& group, TGroupDefaultsScan& scan)
{
    return ApplyGroupDefaults({ReadElementText(lines, VerInfoKeysTag), QString()}, group, scan);
}

bool ApplyGroupDefaults(const TProjectFileKeys& fileKeys, TGroupValues& group,
                        TGroupDefaultsScan& scan)
{
    const QString& keys = fileKeys.VerInfoKeys;
    if (keys.isEmpty())
        return false;
    FillIfEmpty(group.Product, keys, "ProductName=");
    FillIfEmpty(group.Copyright, keys, "LegalCopyright=");
    FillIfEmpty(group.Company, keys, "CompanyName=");
    FillIfEmpty(group.Author, keys, "Author=");
    FillIfEmpty(group.Author, keys, "Programmierer=");
    QString version = ReadKeyValue(keys, QStringLiteral("ProductVersion="));
    if (scan.Major < 0)
        scan.Major = ReadNextInt(version, '.', 1);
    if (scan.Minor < 0)
        scan.Minor = ReadNextInt(version, '.', 1);
    return true;
}

QString ReplaceProjectNameMacros(const QString& text, const QString& projectName)
{
    QString result = text;
    for (const QString& macro :
         {QStringLiteral("$(MSBuildProjectName)"), QStringLiteral("$(ModuleName)")})
        result.replace(macro, projectName, Qt::CaseInsensitive);
    return result;
}
