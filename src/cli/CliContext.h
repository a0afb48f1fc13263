#pragma once

#include "cli/CliArguments.h"
#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "support/ProgramInfo.h"

#include <QFile>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// What every command of the command-line tool shares: the configuration it
// reads (never writes), the program's paths, and the output streams.
class TCliContext
{
public:
    TCliContext();

    // The configuration named with --config; null when none was named.
    QString ConfigFile;
    TConfiguration Config;
    TProgramPaths Paths;
    // Standard output as a device of our own, so that Out can be pointed
    // elsewhere for a while and back again.
    QFile StdOut;
    QTextStream Out;
    QTextStream Err;

    // Reads the configuration from ConfigFile. A named file that cannot be
    // read throws TQuorvelError "Cannot open file ..."; without one the
    // window's configuration file is read, its defaults used while it does
    // not exist yet.
    void LoadConfig();
    // The user's defaults from the configuration.
    TUserDefaults Defaults() const;
    // Opens a group as the window does (history not kept); throws TQuorvelError.
    bool OpenGroup(const QString& groupFile, TProjectGroup& group) const;
    // Opens a group that must name a project: a file naming none (a wrong
    // path, a README, an empty file) throws TQuorvelError "No projects in %1".
    void OpenGroupWithProjects(const QString& groupFile, TProjectGroup& group) const;
    // Prints a usage error and returns 2.
    int UsageError(const QString& message, const QString& usage);

    // A parser for a command's arguments with the options every command
    // takes declared once: --config FILE (also after the command, as
    // pipelines write it) and --help.
    TCliArguments CommandArguments();
    // Parses a command's arguments. Returns the exit code when the command
    // ends here: 0 after printing the usage on --help, 2 after a usage error;
    // nothing when the command goes on.
    std::optional<int> ParseCommandArguments(TCliArguments& parser, const QStringList& arguments,
                                             QString& group, const char* usage);
    // Prints a refusal of a well-formed request (one line) and returns 1.
    int Refuse(const QString& message);

    // The message of the last usage error or failure the command reported,
    // for the --json object of a run that ended before its summary.
    QString LastError;
};

// Exit codes of the tool.
enum TCliExit { ceSuccess = 0, ceFailure = 1, ceUsage = 2 };

// One command: its name, a one-line summary, its usage text and its body.
// Summary and usage are English texts marked with TrNoop and translated when
// they are printed.
struct TCliCommand {
    const char* Name;
    const char* Summary;
    const char* Usage;
    int (*Run)(TCliContext& context, const QStringList& arguments);
};

// Text for the output streams with each CR LF as "\n" where the C library's
// text mode turns "\n" into CR LF itself (Windows); elsewhere as it is.
QString ForTextMode(const QString& text);

// A value as JSON, written by QJsonDocument (compact).
QString JsonText(const QJsonValue& value);

// What a command's --json summary lists for each failure: the project entry
// (empty for the run as a whole), the platform ("32-bit", "64-bit" or empty)
// and why.
struct TCliFailure {
    QString Project;
    QString Platform;
    QString Reason;
};

// Prints a --json summary: the values given, then the list ("failures", or
// what listName says).
void PrintJsonSummary(QTextStream& out, QJsonObject summary, const QList<TCliFailure>& failures,
                      const QString& listName = QStringLiteral("failures"));
