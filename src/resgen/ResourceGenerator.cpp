#include "resgen/ResourceGenerator.h"

#include "project/VersionNumbers.h"
#include "project/XmlReferences.h"
#include "resgen/TemplateFill.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString ScriptName(const QString& entry, const QString& suffix)
{
    // Delphi writes entries with backslashes and XML references; the script is
    // a file, so it is named after the entry as a path on this platform. Every
    // script stays inside the resources folder: a folder part that climbs out
    // of the group's folder ("..\\Demos\\App.dproj"), or starts at a root or a
    // drive, gets a folder of its own for each such step. Their names begin
    // with "@", which a folder of the entry's own that begins with "@" gets
    // once more, so that distinct entries never share a script.
    QStringList parts =
        DecodeXmlReferences(entry).split(QRegularExpression(QStringLiteral("[\\\\/]")));
    const QString file = RemoveExtension(parts.takeLast());
    QStringList folders;
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty()) {
            // A path from the root ("\\x"), a network path or a doubled
            // delimiter: one folder for the root, none for the rest.
            if (i == 0)
                folders << QStringLiteral("@root");
        } else if (part == QLatin1String("..")) {
            folders << QStringLiteral("@up");
        } else if (part == QLatin1String(".")) {
            continue;
        } else if (i == 0 && part.size() == 2 && part[1] == u':') {
            folders << QStringLiteral("@drive-") + part[0];
        } else {
            folders << (part.startsWith(u'@') ? u'@' + part : part);
        }
    }
    folders << file + suffix + QStringLiteral(".rc");
    return folders.join(QDir::separator());
}

QString ResourceName(const QString& entry, const QString& suffix)
{
    // The .res file goes beside the project, where the project's {$R} finds it.
    const QString path = EntryToNativePath(DecodeXmlReferences(entry));
    return RemoveExtension(path) + suffix + QStringLiteral(".res");
}

QString ResourceFolder(const QString& groupFolder, const QString& resourcePath)
{
    const QString path = QDir::toNativeSeparators(resourcePath);
    if (QDir::isAbsolutePath(QDir::fromNativeSeparators(path)))
        return path;
    return JoinPath(QDir::toNativeSeparators(groupFolder), path);
}

namespace
{

QString EscapeHint(const QString& text, bool escapeValues)
{
    if (escapeValues)
        return QString();
    for (QChar c : text)
        if (c.unicode() > 0x7F)
            // Two short lines: the cure stands on its own where a log pane
            // or a terminal shows it.
            return QStringLiteral("*** ") +
                   Tr("The script holds non-ASCII text, which the compiler may read in another "
                      "code page.") +
                   QStringLiteral("\r\n*** ") +
                   Tr("Switch on \"Escape text values\" on the settings page, or build with "
                      "--escape-values.");
    return QString();
}

} // namespace

QString SuffixClash(const QString& suffix32, const QString& suffix64)
{
    if (!SameText(suffix32, suffix64))
        return QString();
    return Tr("the 32-bit and the 64-bit suffix are both \"%1\": the 64-bit script would "
              "overwrite the 32-bit one")
        .arg(suffix32);
}

QByteArray EncodeScript(const QString& text, const TTextFormat& templateFormat)
{
    // Every line ended by CR LF is the normal form of the text: encoded as
    // one piece, not line by line.
    return EncodeTextString(NormaliseLineBreaks(text), templateFormat);
}

bool WriteScriptFile(const TResourceScript& script, QString* detail)
{
    try {
        // A script is read by the compiler right away and written anew by
        // every run: no temporary file and flush to disk as for settings.
        WriteFileBytesInPlace(script.FileName, script.Bytes);
        return true;
    } catch (const TQuorvelError& e) {
        // The run reports one message naming the group folder; the detail is
        // for those who want to know which file.
        if (detail)
            *detail = e.Message();
        return false;
    }
}

QString NothingWrittenLine(const TGenerationResult& result)
{
    if (!result.Written.isEmpty() || result.Failed || result.Skipped > 0)
        return QString();
    return Tr("No checked project with a platform: no script was written");
}

QString WriteFailureMessage(const QString& groupFolder)
{
    return FormatText(Tr("Could not write to %s"), {QDir::toNativeSeparators(groupFolder)});
}

bool CreateFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}

TGenerationResult GenerateResources(const TGenerationInput& input,
                                    const TGenerationActions& actions)
{
    TGenerationResult result;
    const auto makeFolder = actions.MakeFolder ? actions.MakeFolder : CreateFolder;
    const auto writeScript =
        actions.WriteScript
            ? actions.WriteScript
            : std::function<bool(const TResourceScript&)>([&result](const TResourceScript& script) {
                  return WriteScriptFile(script, &result.Detail);
              });
    const QString g = QDir::toNativeSeparators(input.GroupFolder);
    // A group folder that cannot be created shows up when the resources
    // folder below it cannot be created either.
    makeFolder(g);
    const QString resourcePath = QDir::toNativeSeparators(input.ResourcePath);
    const QString outFolder = ResourceFolder(g, resourcePath);
    if (!makeFolder(outFolder))
        result.Failed = true;
    for (size_t i = 0; !result.Failed && i < input.Projects.size(); ++i) {
        const TGenerationProject& project = input.Projects[i];
        if (!project.Checked)
            continue;
        // A version resource holds 16 bits per part: 65536 would come out as 0.
        QString rangeError = FileVersionRangeWarning(project.Data);
        if (rangeError.isEmpty())
            rangeError = ProductVersionRangeWarning(input.Group);
        if (!rangeError.isEmpty()) {
            ++result.Skipped;
            if (actions.ProjectError)
                actions.ProjectError(project.Text, rangeError);
            continue;
        }
        const QString filled =
            FillTemplate(input.TemplateLines, project.Data, input.Group, input.EscapeValues);
        for (const TProjectState platform : {psWin32, psWin64}) {
            if (!project.Data.Status.Contains(platform))
                continue;
            TResourceScript script;
            script.ScriptName =
                ScriptName(project.Text, platform == psWin32 ? input.Suffix32 : input.Suffix64);
            script.FileName = JoinPath(outFolder, script.ScriptName);
            // Delphi groups keep projects in sub-folders ("Source\App.dproj"):
            // their scripts get the same sub-folders below the resources
            // folder.
            const QString scriptFolder = QFileInfo(script.FileName).absolutePath();
            if (QDir::cleanPath(scriptFolder) != QDir::cleanPath(QDir(outFolder).absolutePath()))
                makeFolder(scriptFolder);
            script.Text = FillPlatform(filled, platform);
            script.Bytes = EncodeScript(script.Text, input.TemplateFormat);
            // After a failed 32-bit write the 64-bit script is not written
            // either: the run stops at the first script it could not write, so
            // no file is left that the run did not also compile.
            if (!writeScript(script)) {
                result.Failed = true;
                break;
            }
            result.Written.append(script.FileName);
            if (actions.Compile)
                actions.Compile(
                    TCompileJob{g, resourcePath, script.ScriptName,
                                ResourceName(project.Text,
                                             platform == psWin32 ? input.Suffix32 : input.Suffix64),
                                project.Text, platform, project.Data,
                                EscapeHint(script.Text, input.EscapeValues),
                                RawValueWarnings(project.Data, input.Group, input.EscapeValues)});
        }
    }
    if (result.Failed)
        result.Message = WriteFailureMessage(g);
    return result;
}
