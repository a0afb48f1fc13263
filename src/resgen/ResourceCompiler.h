#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LeftRunningCompilers.h"
#include "resgen/LogSink.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QProcess;
class TCompileRun;
class TProcessTree;

// Running the resource compiler on a written script and logging what it says.

// How long a compiler run is waited for.
constexpr int CompilerTimeoutMs = 10000;

// The line that opens each run in the log.
QString CompileSeparatorLine();
// "Compile resource file: " + JoinPath(P, N) + " => " + the resource file's
// name R (when not given, ChangeExtension(N, "res")): both names relative to
// the group folder.
QString CompileHeaderLine(const QString& resourcePath, const QString& scriptName,
                          const QString& resName = QString());
// The script: N in the resources folder P (ResourceFolder).
QString CompileScriptPath(const QString& groupFolder, const QString& resourcePath,
                          const QString& scriptName);
// The compiled resource file: in the group folder itself, JoinPath(G,
// ChangeExtension(N, "res")), a folder part of N kept.
QString CompileResourcePath(const QString& groupFolder, const QString& scriptName);

// The arguments a compiler gets where programs receive an argument list: the
// options split like a command line, the script, "-fo" and the resource file
// in one argument.
QStringList CompilerArguments(const QString& options, const QString& scriptPath,
                              const QString& resourcePath);
// An item of a Windows command line: in double quotes, quotes inside doubled.
QString QuoteCommandLineItem(const QString& text);
// The Windows command line: the quoted compiler, the options (when there are
// any) as typed, the quoted script, " -fo" and the quoted resource file.
QString CompilerCommandLine(const QString& compiler, const QString& options,
                            const QString& scriptPath, const QString& resourcePath);

// Whether the compiler can be started at all: a name without a folder is
// looked for in the current folder and on the PATH, a path must name an
// executable file. An empty name is none.
bool CompilerAvailable(const QString& compiler);

// The message, once per run, for a compiler that cannot be started: the
// program and the reason.
QString CompilerStartMessage(const QString& compiler, const QString& reason);
// Why CompilerAvailable is false for a named compiler: it is not there, or
// it is no program one may run.
QString CompilerUnavailableReason(const QString& compiler);

// How one compiler run went.
struct TCompileOutcome {
    bool Started = false;
    bool FinishedInTime = false;
    bool Crashed = false;
    int ExitCode = 0;
    // Why it did not succeed, as the error line or box gives it; empty on success.
    QString Reason;
    // The time of the resource file left by an earlier build when the
    // compiler started; invalid when there was none. A compiler that ends
    // well but leaves that file untouched has written nothing.
    QDateTime ResourceTimeBefore;

    bool Succeeded() const { return Started && FinishedInTime && !Crashed && ExitCode == 0; }
};

// Which compiler runs on a script, and how long it may take.
struct TCompilerSettings {
    QString Compiler; // used as typed, no test that the file exists
    QString Options;  // extra arguments between the compiler and the script
    int TimeoutMs = CompilerTimeoutMs;
    // Whether a compiler still running at the time limit is ended, with every
    // process it started (a compiler that is a script ends with its
    // children). Off, it is left running, as the window does.
    bool EndOnTimeout = false;
};

// Sets up a compiler's process for one script: the program, its arguments
// (on Windows its command line as typed), merged output, no input.
void PrepareCompilerProcess(QProcess& process, const TCompilerSettings& settings,
                            const QString& scriptPath, const QString& resourcePath);

// Runs the compiler named in Compiler on scripts and writes what it prints,
// standard output and standard error in the order it wrote them, into a log.
// A compiler still running after the time limit is ended when EndOnTimeout
// is set; otherwise it is left running: this object keeps it, and it is never
// killed, also not when this object goes.
class TResourceCompiler : public TCompilerSettings
{
public:
    TResourceCompiler();
    ~TResourceCompiler();
    TResourceCompiler(const TResourceCompiler&) = delete;
    TResourceCompiler& operator=(const TResourceCompiler&) = delete;

    // A run on the caller's event loop that compiles the script N in the
    // resources folder P into JoinPath(G, R) (R empty: N with ".res"),
    // logging into the log and errors given; it starts with
    // TCompileRun::Start. Several may run at once.
    std::unique_ptr<TCompileRun> StartCompile(const QString& groupFolder,
                                              const QString& resourcePath,
                                              const QString& scriptName, const QString& resName,
                                              ILogSink& log, IErrorReporter& errors);

private:
    TLeftRunningCompilers FLeftRunning;
};

// The log line that ends a run given up at the time limit, with the reason.
QString CompileErrorLine(const QString& reason);
// Why a run was given up: the system's text for a time-out.
QString CompileTimeOutReason();
// The system's reason why a compiler could not be started, from QProcess's
// error text.
QString CompileStartFailureReason(const QString& errorString);
