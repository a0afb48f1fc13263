#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "project/ProjectGroup.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionResource.h"

#include <QList>
#include <QString>
#include <QStringList>

// Checks before a release: what in a group would give wrong or doubled
// version resources, and whether the compiled resource files carry the
// versions the projects have.

// One finding: the project entry it concerns (the group file's name for the
// group values) and what is wrong.
struct TVersionFinding {
    QString Entry;
    QString Message;

    bool operator==(const TVersionFinding& o) const
    {
        return Entry == o.Entry && Message == o.Message;
    }
};

// The warnings a project file's lines give: the IDE's own version information
// still switched on (the value of the first <VerInfo_IncludeVerInfo> line),
// and a product version (major and minor, read as a group without settings
// reads them) or company in its version keys that differs from the group's.
// Keys the project file does not have are not compared.
QStringList ProjectFileWarnings(const QStringList& lines, const TGroupValues& group);

// The warning for a text value that still holds an MSBuild macro such as
// "$(Platform)"; empty when it holds none.
QString MacroWarning(const QString& key, const QString& value);

// Every warning for the open group, in list order: version parts out of
// range, MSBuild macros left in the text values, text values a script without
// escaping carries otherwise than meant (RawValueWarning), missing project
// files, checked projects without a platform, and what ProjectFileWarnings
// finds in each existing project file.
QList<TVersionFinding> CheckGroup(const TProjectGroup& group, bool escapeValues = false);

// One resource file a build makes: for a checked project and one of its
// platforms, the script and the .res file named as the compiler run names them.
struct TResourceTarget {
    QString Entry;
    QString Platform; // "32-bit" or "64-bit"
    QString ScriptFile;
    QString ResFile;
    TProjectData Data;
};

// The resource files of the checked projects, in the order a build makes them.
QList<TResourceTarget> ResourceTargets(const TProjectGroup& group, const QString& resourcePath,
                                       const QString& suffix32, const QString& suffix64);

// What differs between a decoded version resource and the project's file
// version: the fixed FILEVERSION, and the text of every "FileVersion" string
// (its parts, separated by "." or ",", compared with the leading parts of the
// file version). Empty when both agree. A project part that a version
// resource cannot hold (negative or above 65535) is reported as such instead.
QStringList CompareVersionResource(const TVersionResource& resource, const TProjectData& data);

// Empty when the script file holds exactly the bytes of the script a build
// writes now; else "outdated script" with the first line that differs (or,
// when only the encoding differs, that). A missing file is not compared.
QString CompareScriptFile(const QString& scriptFile, const TResourceScript& expected);

// What is wrong with a target's resource file: missing, older than its
// script, unreadable, or carrying another version. Empty when it is right.
QStringList VerifyResourceFile(const TResourceTarget& target);

// What is wrong with a resource file a compiler has just written: empty when
// it can be read and its FILEVERSION is the project's file version, else the
// reader's message or the difference.
QString CompiledResourceProblem(const QString& resFile, const TProjectData& data);

// The log line after a compiler run: "Version resource: " followed by the file
// version, product version, company and description the .res file holds, or
// "*** Error: " and the reader's message when it cannot be read.
QString VersionResourceLogLine(const QString& resFile);
