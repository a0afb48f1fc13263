#include "cli/ScriptOptions.h"

#include "support/PathHelpers.h"
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
    TGenerationInput input;
    input.GroupFolder = ExtractFilePath(group.LastProjectGrp);
    input.ResourcePath = Pick(o.ResourcePath, c.Config.ResourcePath);
    input.Suffix32 = Pick(o.Suffix32, c.Config.Win32Suffix);
    input.Suffix64 = Pick(o.Suffix64, c.Config.Win64Suffix);
    input.TemplateLines = templ.Lines;
    input.TemplateFormat = templ.Format;
    input.Group = group.Group;
    input.EscapeValues = o.EscapeValues.value_or(c.Config.EscapeValues);
    for (int i = 0; i < group.Projects.Count(); ++i) {
        const TProjectEntry& entry = group.Projects[i];
        input.Projects.push_back(TGenerationProject{
            entry.Text, entry.Checked, entry.Data()});
    }
    return input;
}
