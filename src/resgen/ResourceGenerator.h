#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "support/TextFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// "Create resource files" as a function of its inputs: for every checked
// project and each of its platforms, the template is filled and written as a
// resource script into the resources folder below the group folder, and the
// compiler is run on it. The window and the command-line tool share it.

// One entry of the project list as the generation sees it.
struct TGenerationProject {
    QString Text; // the entry as the group file gives it
    bool Checked = false;
    TProjectData Data;
};

struct TGenerationInput {
    QString GroupFolder;  // G, with its trailing delimiter
    QString ResourcePath; // below G; empty writes into G itself
    QString Suffix32;
    QString Suffix64;
    QString TemplateName; // the file TemplateLines were read from
    QStringList TemplateLines;
    TTextFormat TemplateFormat; // the encoding and byte-order mark the template was read in
    std::vector<TGenerationProject> Projects;
    TGroupValues Group;
    bool EscapeValues = false;
};

// One script about to be written.
struct TResourceScript {
    QString FileName;   // the full path: the resources folder joined with ScriptName
    QString ScriptName; // relative to the resources folder, as the compiler run gets it
    QString Text;       // the filled template, every line ended by CR LF
    QByteArray Bytes;   // Text in the template's encoding, with its byte-order mark
};

// One written script to compile, with the project it was filled from.
struct TCompileJob {
    QString GroupFolder;
    QString ResourcePath;
    QString ScriptName;
    QString ResName; // relative to the group folder (ResourceName)
    QString Entry;
    TProjectState Platform = psWin32;
    TProjectData Data;
    // A log line for when the compile fails: the script holds non-ASCII text
    // that was not escaped, which most compilers read in another code page.
    // Empty when that is not so.
    QString FailureHint;
    // Log lines for before the compile: text values the compiler would read
    // otherwise than meant (RawValueWarnings).
    QStringList Warnings;
};

// What the generation does to the outside world; the defaults act on the file
// system, a dry run passes its own.
struct TGenerationActions {
    // Runs the compiler on a written script. Not called when empty.
    std::function<void(const TCompileJob& job)> Compile;
    // Writes a script; false when it cannot. Empty: the script's bytes are
    // written to its file, and a failure's error kept as the result's Detail.
    std::function<bool(const TResourceScript& script)> WriteScript;
    // Creates a folder with its missing parents; false when it cannot.
    // Empty: CreateFolder.
    std::function<bool(const QString& folder)> MakeFolder;
    // Told about a checked project whose scripts are not written because its
    // values cannot go into a version resource: the entry and why. Not
    // called when empty.
    std::function<void(const QString& entry, const QString& message)> ProjectError;
};

struct TGenerationResult {
    bool Failed = false;
    // "Could not write to %s" filled with the group folder, when Failed.
    QString Message;
    // The error of the script write that failed: it names the script and the
    // system's reason. Empty when the writer gave none.
    QString Detail;
    // The full paths of the scripts written, in order.
    QStringList Written;
    // How many checked projects were skipped for values a version resource
    // cannot hold.
    int Skipped = 0;
};

// The script name of an entry: the entry as a path on this platform (its XML
// references decoded) without its extension, followed by the suffix and ".rc".
// A folder part of the entry stays.
// A folder part that leaves the group folder or starts at a root or drive
// does not leave the resources folder: each ".." becomes a folder "@up", a
// leading root "@root", a drive "C:" "@drive-C"; a folder of the entry that
// begins with "@" gets another "@" in front, so that no two entries share a
// script.
QString ScriptName(const QString& entry, const QString& suffix);
// The .res file of an entry, relative to the group folder: beside the
// project file, named after it with the suffix, where its {$R} finds it.
QString ResourceName(const QString& entry, const QString& suffix);
// The resources folder: a relative path below the group folder, an absolute
// one as it is.
QString ResourceFolder(const QString& groupFolder, const QString& resourcePath);

// Empty when the two suffixes give each platform its own script, else why
// not: of equal suffixes (letter case aside, as Windows names files) the
// 64-bit script would overwrite the 32-bit one.
QString SuffixClash(const QString& suffix32, const QString& suffix64);

// A filled script as bytes: the template's encoding and
// byte-order mark, every line ended by CR LF; in an ANSI code page a character
// it cannot hold becomes "?".
QByteArray EncodeScript(const QString& text, const TTextFormat& templateFormat);

// Writes the script's bytes over any file of that name; false on failure,
// with the error (naming the script and the system's reason) in detail.
bool WriteScriptFile(const TResourceScript& script, QString* detail = nullptr);
// The line that says why a run wrote no script: no checked project has a
// platform. Empty when the run wrote one, failed or skipped a project.
QString NothingWrittenLine(const TGenerationResult& result);
// The message of a run that could not write a script: "Could not write to %s"
// with the group folder.
QString WriteFailureMessage(const QString& groupFolder);
// QDir::mkpath; false when the folder cannot be created.
bool CreateFolder(const QString& folder);

// Runs the generation. A script's missing folder is created when it lies
// inside the resources folder (an entry with a folder part, as Delphi writes
// "Source\App.dproj"); one that an entry's ".." leads out of is not.
// A checked project with a version part outside 0 to
// 65535 (file or product version) is reported and skipped; the run goes on.
// A script that cannot be written is not compiled and ends the run after its
// project; the result then carries the message for the caller to show once.
TGenerationResult GenerateResources(const TGenerationInput& input,
                                    const TGenerationActions& actions = TGenerationActions());
