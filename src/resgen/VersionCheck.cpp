#include "resgen/VersionCheck.h"

#include "project/GroupFile.h"
#include "project/ProjectFile.h"
#include "project/VersionEdits.h"
#include "project/VersionNumbers.h"
#include "resgen/TemplateFill.h"
#include "support/PathHelpers.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QFileInfo>
#include <QRegularExpression>

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
