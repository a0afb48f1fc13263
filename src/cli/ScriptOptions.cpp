#include "cli/ScriptOptions.h"

#include "resgen/BuildRecord.h"
#include "resgen/GenerationInput.h"
#include "support/PathHelpers.h"
#include "support/TextFile.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>

QString Pick(const QString& given, const QString& configured)
{
    return given.isNull() ? configured : given;
}

void AddScriptOptions(TCliArguments& parser, TScriptOptions& o)
{
    parser.AddValue("--template", &o.Template);
    parser.AddValue("--resource-path", &o.ResourcePath);
    parser.AddValue("--suffix32", &o.Suffix32);
    parser.AddValue("--suffix64", &o.Suffix64);
    parser.AddSwitch("--escape-values", "--no-escape-values", &o.EscapeValues);
}

QString ScriptOptionsError(const TCliContext& c, const TScriptOptions& o)
{
    return SuffixClash(Pick(o.Suffix32, c.Config.Win32Suffix),
                       Pick(o.Suffix64, c.Config.Win64Suffix));
}

void TakeBuildRecord(TCliContext& c, const TProjectGroup& group, TScriptOptions& o)
{
    const QString folder = ResourceFolder(ExtractFilePath(group.LastProjectGrp),
                                          Pick(o.ResourcePath, c.Config.ResourcePath));
    const std::optional<TBuildRecord> record = ReadBuildRecord(folder);
    if (!record)
        return;
    QStringList taken;
    const auto take = [&taken](QString& option, const QString& recorded, const QString& configured,
                               const char* name) {
        if (!option.isNull())
            return;
        option = recorded;
        if (recorded != configured)
            taken << QStringLiteral("%1 %2").arg(QLatin1String(name), recorded);
    };
    take(o.Template, record->TemplateName, c.Config.TemplateName, "--template");
    take(o.Suffix32, record->Suffix32, c.Config.Win32Suffix, "--suffix32");
    take(o.Suffix64, record->Suffix64, c.Config.Win64Suffix, "--suffix64");
    if (!o.EscapeValues) {
        o.EscapeValues = record->EscapeValues;
        if (record->EscapeValues != c.Config.EscapeValues)
            taken << QLatin1String(record->EscapeValues ? "--escape-values" : "--no-escape-values");
    }
    if (!taken.isEmpty())
        c.Err << Tr("Using the options the last build recorded in %1: %2")
                     .arg(BuildRecordFile(folder), taken.join(QStringLiteral(", ")))
              << "\n";
}

TGenerationInput ScriptGenerationInput(const TCliContext& c, const TProjectGroup& group,
                                       const TScriptOptions& o)
{
    const QString templateFile =
        o.Template.isNull() ? c.Config.TemplateName
                            : QDir::toNativeSeparators(QFileInfo(o.Template).absoluteFilePath());
    const TTextContent templ = ReadTextFile(templateFile);
    TGenerationSettings settings;
    settings.ResourcePath = Pick(o.ResourcePath, c.Config.ResourcePath);
    settings.Suffix32 = Pick(o.Suffix32, c.Config.Win32Suffix);
    settings.Suffix64 = Pick(o.Suffix64, c.Config.Win64Suffix);
    settings.TemplateName = templateFile;
    settings.TemplateLines = templ.Lines;
    settings.TemplateFormat = templ.Format;
    settings.EscapeValues = o.EscapeValues.value_or(c.Config.EscapeValues);
    return MakeGenerationInput(group, settings);
}
