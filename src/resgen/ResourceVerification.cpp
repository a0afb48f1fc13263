#include "resgen/ResourceVerification.h"

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

TResourceTarget ResourceTarget(const TCompileJob& job)
{
    return {job.Entry, PlatformText(job.Platform),
            CompileScriptPath(job.GroupFolder, job.ResourcePath, job.ScriptName),
            CompileResourcePath(job.GroupFolder, job.ResName), job.Data};
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
