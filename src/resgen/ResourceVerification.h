#pragma once

#include "project/ProjectData.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionResource.h"

#include <QList>
#include <QString>
#include <QStringList>

// After a build: whether the compiled resource files and the scripts beside
// them carry what the projects' values give now.

// One resource file a build makes: for a checked project and one of its
// platforms, the script and the .res file named as the compiler run names them.
struct TResourceTarget {
    QString Entry;
    QString Platform; // "32-bit" or "64-bit"
    QString ScriptFile;
    QString ResFile;
    TProjectData Data;
};

// The resource file a compile job of the generation makes.
TResourceTarget ResourceTarget(const TCompileJob& job);

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
