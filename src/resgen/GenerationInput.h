#pragma once

#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "resgen/ResourceGenerator.h"
#include "support/TextFile.h"

#include <QString>
#include <QStringList>

// The settings a generation takes besides the group: the settings page's
// values in the window, the options and the configuration in the
// command-line tool.
struct TGenerationSettings {
    QString ResourcePath;
    QString Suffix32;
    QString Suffix64;
    QString TemplateName; // the file TemplateLines were read from
    QStringList TemplateLines;
    TTextFormat TemplateFormat;
    bool EscapeValues = false;
};

// The settings a configuration gives, with its template read as it is on
// disk now (an unreadable one throws TQuorvelError): the window's runs and
// the command line's, whose options have been put into the configuration.
TGenerationSettings ConfiguredGenerationSettings(const TConfiguration& config);

// The generation input of the open group: its folder, its group values and
// every entry of its project list with its check mark and data.
TGenerationInput MakeGenerationInput(const TProjectGroup& group,
                                     const TGenerationSettings& settings);

// One log line for each checked project whose project file is missing: its
// values come from the settings file or the defaults alone.
QStringList MissingProjectFileLines(const TProjectGroup& group);
