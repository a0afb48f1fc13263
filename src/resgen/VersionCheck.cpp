#include "resgen/VersionCheck.h"

#include "project/GroupFile.h"
#include "project/ProjectFile.h"
#include "project/VersionEdits.h"
#include "project/VersionNumbers.h"
#include "resgen/ResFile.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/TemplateFill.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// The parts of a version text such as "1.2.0.15" or "1, 2, 0, 15"; false when
// a part is no decimal number or there are more than four.
bool ParseVersionText(const QString& text, QList<qint64>& parts)
{
    parts.clear();
    const QStringList fields = text.split(QRegularExpression(QStringLiteral("[.,]")));
    if (fields.size() > 4)
        return false;
    for (const QString& field : fields) {
        const QString f = TrimBlanks(field);
        if (f.isEmpty() || f.size() > 10)
            return false;
        for (QChar c : f)
            if (c < u'0' || c > u'9')
                return false;
        parts.append(f.toLongLong());
    }
    return true;
}

} // namespace

QStringList ProjectFileWarnings(const QStringList& lines, const TGroupValues& group)
{
    QStringList warnings;
    const QString include = ReadElementText(lines, QStringLiteral("<VerInfo_IncludeVerInfo>"));
    if (SameText(include, QStringLiteral("true")))
        warnings << Tr("the project file still has the IDE's own version information switched "
                       "on (<VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>): the program "
                       "would carry two version resources");

    const QString keys = ReadElementText(lines, QStringLiteral("<VerInfo_Keys>"));
    if (keys.isEmpty())
        return warnings;
    QString version = ReadKeyValue(keys, QStringLiteral("ProductVersion="));
    if (!version.isEmpty()) {
        // Read as a group without settings takes its product version from a
        // project file, so that such a group never differs from its own source.
        const QString text = version;
        const qint32 major = Low32(ReadNextInt(version, '.', 1));
        const qint32 minor = Low32(ReadNextInt(version, '.', 1));
        if (major != group.ProdMajor || minor != group.ProdMinor)
            warnings << Tr("product version %1 in the project file differs from the group's "
                           "%2.%3")
                            .arg(text, QString::number(group.ProdMajor),
                                 QString::number(group.ProdMinor));
    }
    const QString company = ReadKeyValue(keys, QStringLiteral("CompanyName="));
    if (!company.isEmpty() && company != group.Company)
        warnings << Tr("company \"%1\" in the project file differs from the group's \"%2\"")
                        .arg(company, group.Company);
    return warnings;
}

QString MacroWarning(const QString& key, const QString& value)
{
    static const QRegularExpression macro(QStringLiteral("\\$\\([^)]*\\)"));
    const QRegularExpressionMatch m = macro.match(value);
    if (!m.hasMatch())
        return QString();
    return Tr("%1 \"%2\" holds the MSBuild macro %3, which goes into the version resource as "
              "it stands")
        .arg(key, value, m.captured());
}

QList<TVersionFinding> CheckGroup(const TProjectGroup& group, bool escapeValues)
{
    QList<TVersionFinding> findings;
    const QString groupName = ExtractFileName(group.LastProjectGrp);
    for (const QString& item : group.SkippedProjects)
        findings.append({groupName, SkippedProjectWarning(item)});
    const QString productWarning = ProductVersionRangeWarning(group.Group);
    if (!productWarning.isEmpty())
        findings.append({groupName, productWarning});
    const std::pair<const char*, QString> groupTexts[] = {{"Company", group.Group.Company},
                                                          {"Copyright", group.Group.Copyright},
                                                          {"Product", group.Group.Product},
                                                          {"Author", group.Group.Author}};
    for (const auto& [key, value] : groupTexts) {
        for (const QString& warning : {MacroWarning(QLatin1String(key), value),
                                       RawValueWarning(QLatin1String(key), value, escapeValues)})
            if (!warning.isEmpty())
                findings.append({groupName, warning});
    }
    for (int i = 0; i < group.Projects.Count(); ++i) {
        const TProjectEntry& entry = group.Projects[i];
        const TProjectData data = entry.Data();
        const QString rangeWarning = FileVersionRangeWarning(data);
        if (!rangeWarning.isEmpty())
            findings.append({entry.Text, rangeWarning});
        const QString macroWarning =
            MacroWarning(QStringLiteral("Description"), data.FileDescription);
        if (!macroWarning.isEmpty())
            findings.append({entry.Text, macroWarning});
        const QString rawWarning =
            RawValueWarning(QStringLiteral("Description"), data.FileDescription, escapeValues);
        if (!rawWarning.isEmpty())
            findings.append({entry.Text, rawWarning});
        if (entry.Checked && !data.Status.Contains(psWin32) && !data.Status.Contains(psWin64))
            findings.append({entry.Text, Tr("checked, but built for neither Win32 nor Win64")});
        const QString fileName = group.ProjectFileName(i);
        if (!QFileInfo(fileName).isFile()) {
            findings.append({entry.Text, Tr("project file \"%1\" is missing").arg(fileName)});
            continue;
        }
        for (const QString& warning :
             ProjectFileWarnings(ReadTextFile(fileName).Lines, group.Group))
            findings.append({entry.Text, warning});
    }
    return findings;
}

QList<TResourceTarget> ResourceTargets(const TProjectGroup& group, const QString& resourcePath,
                                       const QString& suffix32, const QString& suffix64)
{
    QList<TResourceTarget> targets;
    const QString groupFolder = ExtractFilePath(group.LastProjectGrp);
    for (int i = 0; i < group.Projects.Count(); ++i) {
        const TProjectEntry& entry = group.Projects[i];
        if (!entry.Checked)
            continue;
        const TProjectData data = entry.Data();
        const struct {
            TProjectState State;
            const char* Platform;
            const QString& Suffix;
        } platforms[] = {{psWin32, "32-bit", suffix32}, {psWin64, "64-bit", suffix64}};
        for (const auto& p : platforms) {
            if (!data.Status.Contains(p.State))
                continue;
            const QString scriptName = ScriptName(entry.Text, p.Suffix);
            targets.append({entry.Text, QLatin1String(p.Platform),
                            CompileScriptPath(groupFolder, resourcePath, scriptName),
                            CompileResourcePath(groupFolder, ResourceName(entry.Text, p.Suffix)),
                            data});
        }
    }
    return targets;
}

QStringList CompareVersionResource(const TVersionResource& resource, const TProjectData& data)
{
    QStringList differences;
    const qint64 project[4] = {data.FileVersionMajor, data.FileVersionMinor,
                               data.FileVersionRelease, data.FileVersionBuild};
    // Such a part has no right form in a resource: comparing would only say
    // "2.0.0.-1 differs from 2.0.0.-1".
    for (qint64 part : project)
        if (!FitsVersionPart(part))
            differences << Tr("%1 cannot be stored in a version resource").arg(part);
    if (!differences.isEmpty())
        return differences;
    bool same = true;
    for (int k = 0; k < 4; ++k)
        same = same && resource.FileVersion[k] == project[k];
    if (!same)
        differences << Tr("FILEVERSION %1 differs from the project's file version %2")
                           .arg(resource.FileVersionText(), FileVersionText(data));

    for (const TVersionStringTable& table : resource.StringTables) {
        bool found = false;
        const QString text = table.Value(QStringLiteral("FileVersion"), &found);
        if (!found)
            continue;
        QList<qint64> parts;
        bool agrees = ParseVersionText(text, parts);
        for (int k = 0; agrees && k < parts.size(); ++k)
            agrees = parts[k] == project[k];
        if (!agrees)
            differences << Tr("the FileVersion text \"%1\" differs from the project's file "
                              "version %2")
                               .arg(text, FileVersionText(data));
    }
    return differences;
}

QStringList VerifyResourceFile(const TResourceTarget& target)
{
    const QFileInfo res(target.ResFile);
    if (!res.isFile())
        return {Tr("resource file \"%1\" is missing").arg(target.ResFile)};
    QStringList problems;
    const QFileInfo script(target.ScriptFile);
    if (script.isFile() && res.lastModified() < script.lastModified())
        problems << Tr("resource file \"%1\" is older than its script \"%2\"")
                        .arg(target.ResFile, target.ScriptFile);
    try {
        const TVersionResource resource = ReadVersionResourceFile(target.ResFile);
        for (const QString& difference : CompareVersionResource(resource, target.Data))
            problems << Tr("resource file \"%1\": %2").arg(target.ResFile, difference);
    } catch (const TQuorvelError& e) {
        problems << e.Message();
    }
    return problems;
}

QString CompareScriptFile(const QString& scriptFile, const TResourceScript& expected)
{
    if (!QFileInfo(scriptFile).isFile())
        return QString();
    const QByteArray bytes = ReadFileBytes(scriptFile);
    if (bytes == expected.Bytes)
        return QString();
    const QStringList lines = DecodeText(bytes).Lines;
    QStringList wanted = expected.Text.split(QStringLiteral("\r\n"));
    if (!wanted.isEmpty() && wanted.last().isEmpty())
        wanted.removeLast();
    for (int i = 0; i < qMax(lines.size(), wanted.size()); ++i) {
        const QString is = i < lines.size() ? lines[i] : QString();
        const QString shouldBe = i < wanted.size() ? wanted[i] : QString();
        if (is != shouldBe)
            return Tr("outdated script \"%1\": line %2 is \"%3\", a build now writes \"%4\"")
                .arg(scriptFile)
                .arg(i + 1)
                .arg(is, shouldBe);
    }
    return Tr("outdated script \"%1\": its encoding or line breaks differ from what a build "
              "now writes")
        .arg(scriptFile);
}

QString CompiledResourceProblem(const QString& resFile, const TProjectData& data)
{
    try {
        const TVersionResource resource = ReadVersionResourceFile(resFile);
        const qint64 project[4] = {data.FileVersionMajor, data.FileVersionMinor,
                                   data.FileVersionRelease, data.FileVersionBuild};
        for (int k = 0; k < 4; ++k)
            if (resource.FileVersion[k] != project[k])
                return Tr("resource file \"%1\": %2")
                    .arg(resFile, Tr("FILEVERSION %1 differs from the project's file version %2")
                                      .arg(resource.FileVersionText(), FileVersionText(data)));
        return QString();
    } catch (const TQuorvelError& e) {
        return e.Message();
    }
}

QString VersionResourceLogLine(const QString& resFile)
{
    try {
        const TVersionResource v = ReadVersionResourceFile(resFile);
        return Tr("Version resource: ") +
               QStringLiteral("%1, %2, %3, %4")
                   .arg(v.FileVersionText(), v.ProductVersionText(),
                        v.StringValue(QStringLiteral("CompanyName")),
                        v.StringValue(QStringLiteral("FileDescription")));
    } catch (const TQuorvelError& e) {
        return QStringLiteral("*** ") + Tr("Error: ") + e.Message();
    }
}
