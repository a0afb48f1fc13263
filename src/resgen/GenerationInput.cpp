#include "resgen/GenerationInput.h"

#include "support/PathHelpers.h"
#include "support/Translation.h"

TGenerationSettings ConfiguredGenerationSettings(const TConfiguration& config)
{
    const TTextContent templ = ReadTextFile(config.TemplateName);
    TGenerationSettings settings;
    settings.ResourcePath = config.ResourcePath;
    settings.Suffix32 = config.Win32Suffix;
    settings.Suffix64 = config.Win64Suffix;
    settings.TemplateName = config.TemplateName;
    settings.TemplateLines = templ.Lines;
    settings.TemplateFormat = templ.Format;
    settings.EscapeValues = config.EscapeValues;
    return settings;
}

TGenerationInput MakeGenerationInput(const TProjectGroup& group,
                                     const TGenerationSettings& settings)
{
    TGenerationInput input;
    input.GroupFolder = ExtractFilePath(group.LastProjectGrp);
    input.ResourcePath = settings.ResourcePath;
    input.Suffix32 = settings.Suffix32;
    input.Suffix64 = settings.Suffix64;
    input.TemplateName = settings.TemplateName;
    input.TemplateLines = settings.TemplateLines;
    input.TemplateFormat = settings.TemplateFormat;
    input.Group = group.Group;
    input.EscapeValues = settings.EscapeValues;
    for (int i = 0; i < group.Projects.Count(); ++i) {
        const TProjectEntry& entry = group.Projects[i];
        input.Projects.push_back(TGenerationProject{
            entry.Text, entry.Checked, entry.Info ? entry.Info->ProjectData : TProjectData()});
    }
    return input;
}

QStringList MissingProjectFileLines(const TProjectGroup& group)
{
    QStringList lines;
    for (int i = 0; i < group.Projects.Count(); ++i)
        if (group.Projects[i].Checked && !group.ProjectFileExists(i))
            lines << Tr("%1: the project file \"%2\" is missing; its values come from the "
                        "settings file or the defaults")
                         .arg(group.Projects[i].Text, group.ProjectFileName(i));
    return lines;
}
