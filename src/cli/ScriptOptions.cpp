#include "cli/ScriptOptions.h"

#include "resgen/GenerationInput.h"
#include "support/TextFile.h"

#include <QDir>
#include <QFileInfo>

QString Pick(const QString& given, const QString& configured)
{
    return given.isNull() ? configured : given;
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
    settings.TemplateLines = templ.Lines;
    settings.TemplateFormat = templ.Format;
    settings.EscapeValues = o.EscapeValues.value_or(c.Config.EscapeValues);
    return MakeGenerationInput(group, settings);
}
