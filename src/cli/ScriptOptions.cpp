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
    // The options over the configuration, then as the window makes it.
    TConfiguration config = c.Config;
    if (!o.Template.isNull())
        config.TemplateName = QDir::toNativeSeparators(QFileInfo(o.Template).absoluteFilePath());
    config.ResourcePath = Pick(o.ResourcePath, config.ResourcePath);
    config.Win32Suffix = Pick(o.Suffix32, config.Win32Suffix);
    config.Win64Suffix = Pick(o.Suffix64, config.Win64Suffix);
    config.EscapeValues = o.EscapeValues.value_or(config.EscapeValues);
    return MakeGenerationInput(group, ConfiguredGenerationSettings(config));
}
