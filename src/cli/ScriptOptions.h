#pragma once

#include "cli/CliContext.h"
#include "resgen/ResourceGenerator.h"

#include <QString>
#include <optional>

// What decides the resource scripts a build writes, as build and verify take
// it from the command line; a value not given (null) comes from the
// configuration.
struct TScriptOptions {
    QString Template;
    QString ResourcePath;
    QString Suffix32;
    QString Suffix64;
    std::optional<bool> EscapeValues;
};

// A value given on the command line, even an empty one, wins over the
// configuration's.
QString Pick(const QString& given, const QString& configured);

// Declares the options that decide the scripts (--template, --resource-path,
// --suffix32, --suffix64, --escape-values and --no-escape-values, the last
// of those two counting), as build and verify take them.
void AddScriptOptions(TCliArguments& parser, TScriptOptions& options);
// The usage error the options give with the configuration loaded (the two
// suffixes would name the same files); empty when there is none.
QString ScriptOptionsError(const TCliContext& context, const TScriptOptions& options);

// Fills the options not given on the command line from the record the last
// build left in the group's resources folder (BuildRecord.h), and prints on
// standard error the recorded options it took that differ from the
// configuration's, as their command-line options.
void TakeBuildRecord(TCliContext& context, const TProjectGroup& group, TScriptOptions& options);

// The generation input of a group as build makes it: the template read (an
// unreadable one throws TQuorvelError), the settings from the options and the
// configuration, every entry of the group.
TGenerationInput ScriptGenerationInput(const TCliContext& context, const TProjectGroup& group,
                                       const TScriptOptions& options);
