#include "cli/BuildCommand.h"

#include "cli/CliArguments.h"
#include "cli/ScriptOptions.h"
#include "resgen/ErrorReporter.h"
#include "resgen/GenerationRun.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/ResourceVerification.h"
#include "resgen/TemplateFill.h"
#include "support/PathHelpers.h"
#include "support/TerminationSignals.h"
#include "support/TextFile.h"
#include "support/Translation.h"

#include <QEventLoop>
#include <QMap>
#include <QThread>

#include <utility>

namespace
{

// The compiler log on standard output, each line ended the way this
// platform's text files end them.
class TStreamLog : public ILogSink
{
public:
    explicit TStreamLog(QTextStream& out) : FOut(out) {}
    void AppendText(const QString& text) override
    {
        if (text.isEmpty())
            return;
        // The C library's text mode turns "\n" into "\r\n" on Windows:
        // a CR LF written as it is would come out as CR CR LF.
        QString native = text;
        native.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        FOut << native;
        FOut.flush();
        FAtLineStart = text.endsWith(u'\n') || text.endsWith(u'\r');
    }
    bool AtLineStart() const override { return FAtLineStart; }

private:
    QTextStream& FOut;
    bool FAtLineStart = true;
};

// Start errors go to standard error, after the log written so far.
class TStreamErrors : public IErrorReporter
{
public:
    TStreamErrors(QTextStream& out, QTextStream& err) : FOut(out), FErr(err) {}
    void ShowError(const QString& text) override
    {
        FOut.flush();
        FErr << text << "\n";
        FErr.flush();
    }

private:
    QTextStream& FOut;
    QTextStream& FErr;
};

struct TBuildOptions {
    QString Group;
    TScriptOptions Script;
    QString Compiler;
    QString CompilerOptions;
    QString Timeout; // seconds; null when not given
    QString Jobs;    // null when not given
    bool DryRun = false;
    bool Json = false;
};

// A day: more is surely a mistake.
constexpr int MaxTimeoutSeconds = 86400;
// More compilers at once than any machine has cores for is surely a mistake.
constexpr int MaxJobs = 1024;

// Declares the command's options.
void AddBuildOptions(TCliArguments& parser, TBuildOptions& o)
{
    AddScriptOptions(parser, o.Script);
    parser.AddValue("--compiler", &o.Compiler);
    parser.AddValue("--compiler-options", &o.CompilerOptions);
    parser.AddValue("--timeout", &o.Timeout);
    parser.AddValue("--jobs", &o.Jobs, "-j");
    parser.AddFlag("--dry-run", &o.DryRun);
    parser.AddFlag("--json", &o.Json);
}

// The usage error of options parsed; empty when there is none.
QString OptionsError(const TBuildOptions& o)
{
    if (o.Json && o.DryRun)
        return Tr("--json and --dry-run exclude each other");
    if (!o.Timeout.isNull()) {
        bool ok = false;
        const int seconds = o.Timeout.toInt(&ok);
        if (!ok || seconds < 1 || seconds > MaxTimeoutSeconds)
            return Tr("--timeout needs a number of seconds from 1 to %1, not \"%2\"")
                .arg(MaxTimeoutSeconds)
                .arg(o.Timeout);
    }
    if (!o.Jobs.isNull()) {
        bool ok = false;
        const int jobs = o.Jobs.toInt(&ok);
        if (!ok || jobs < 0 || jobs > MaxJobs)
            return Tr("--jobs needs a number from 0 to %1, not \"%2\"").arg(MaxJobs).arg(o.Jobs);
    }
    return QString();
}

// How many compilers run at once: 1 unless given, 0 for one per core.
int JobCount(const QString& given)
{
    if (given.isNull())
        return 1;
    const int jobs = given.toInt();
    return jobs == 0 ? qMax(QThread::idealThreadCount(), 1) : jobs;
}

// A build that writes no script because no project is checked (or none has
// a platform) succeeds, but a pipeline's log should say why nothing happened.
void NoteNothingToBuild(TCliContext& c, const TGenerationResult& result)
{
    const QString line = NothingWrittenLine(result);
    if (!line.isEmpty()) {
        c.Err << line << "\n";
        c.Err.flush();
    }
}

int RunBuild(TCliContext& c, const QStringList& args)
{
    TBuildOptions o;
    TCliArguments parser = c.CommandArguments();
    AddBuildOptions(parser, o);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, o.Group, BuildCommand.Usage))
        return *end;
    const QString usageError = OptionsError(o);
    if (!usageError.isEmpty())
        return c.UsageError(usageError, QLatin1String(BuildCommand.Usage));
    c.LoadConfig();

    const QString suffixError = ScriptOptionsError(c, o.Script);
    if (!suffixError.isEmpty())
        return c.UsageError(suffixError, QLatin1String(BuildCommand.Usage));

    TProjectGroup group;
    c.OpenGroupWithProjects(o.Group, group);
    const TGenerationInput input = ScriptGenerationInput(c, group, o.Script);

    if (o.DryRun) {
        TGenerationActions actions;
        actions.MakeFolder = [](const QString&) { return true; };
        actions.WriteScript = [&c](const TResourceScript& script) {
            c.Out << "==> " << script.FileName << " <==\n" << ForTextMode(script.Text);
            c.Out.flush();
            return true;
        };
        TStreamErrors errors(c.Out, c.Err);
        actions.ProjectError = [&errors](const QString& entry, const QString& message) {
            errors.ShowError(entry + QStringLiteral(": ") + message);
        };
        const TGenerationResult result = GenerateResources(input, actions);
        NoteNothingToBuild(c, result);
        return result.Skipped == 0 ? ceSuccess : ceFailure;
    }

    // With --json, standard output carries the summary alone: the log goes
    // to standard error.
    QTextStream& logStream = o.Json ? c.Err : c.Out;
    TStreamLog log(logStream);
    TStreamErrors errors(logStream, c.Err);
    TResourceCompiler compiler;
    compiler.Compiler = Pick(o.Compiler, c.Config.ResourceCompiler);
    compiler.Options = Pick(o.CompilerOptions, c.Config.ResourceCompilerOptions);
    // A pipeline must not leave a hung compiler behind, nor wait for it forever.
    compiler.EndOnTimeout = true;
    if (!o.Timeout.isNull())
        compiler.TimeoutMs = o.Timeout.toInt() * 1000;

    QList<TCliFailure> failures;
    // The failures of the run's steps, by step: compiles running at once end
    // in any order, the summary lists them in the order of the log.
    QMap<int, QList<TCliFailure>> stepFailures;
    TGenerationRun run(compiler, log, errors);
    run.Jobs = JobCount(o.Jobs);
    run.CheckResources = true;
    if (!CompilerAvailable(compiler.Compiler)) {
        // One clear line instead of the system's bare error for every script;
        // the scripts are still written.
        const QString reason =
            compiler.Compiler.isEmpty()
                ? Tr("No resource compiler: set one with --compiler or on the settings page")
                : CompilerStartMessage(compiler.Compiler,
                                       CompilerUnavailableReason(compiler.Compiler));
        failures.append({QString(), QString(), reason});
        errors.ShowError(reason);
        run.CompileScripts = false;
    }
    run.ProjectError = [&](int step, const QString& entry, const QString& message,
                           TStepLog& stepLog) {
        stepFailures[step].append({entry, QString(), message});
        stepLog.ShowError(entry + QStringLiteral(": ") + message);
    };
    run.Compiled = [&](int step, const TCompileJob& job, const TCompileResult& result) {
        if (result.Failed)
            stepFailures[step].append({job.Entry, PlatformText(job.Platform), result.Reason});
    };
    // The tool's one event loop: the compilers' output and ends arrive on it.
    QEventLoop loop;
    QObject::connect(&run, &TGenerationRun::Finished, &loop, &QEventLoop::quit);
    // A cancelled CI job or Ctrl+C must leave no compiler writing behind us.
    TTerminationSignals terminations;
    int signalNumber = 0;
    QObject::connect(&terminations, &TTerminationSignals::Received, &loop, [&](int number) {
        signalNumber = number;
        run.Cancel();
        loop.quit();
    });
    run.Start(input);
    if (run.IsRunning())
        loop.exec();
    if (signalNumber != 0) {
        logStream.flush();
        const QString message = Tr("Ended by signal %1 after %2 of %3 scripts; the running "
                                   "compilers were ended with the processes they started")
                                    .arg(signalNumber)
                                    .arg(run.StepsDone())
                                    .arg(run.StepCount());
        c.Err << message << "\n";
        c.Err.flush();
        return 128 + signalNumber;
    }
    for (const QList<TCliFailure>& list : std::as_const(stepFailures))
        failures += list;

    const TGenerationResult& result = run.Result();
    logStream.flush();
    NoteNothingToBuild(c, result);
    if (result.Failed) {
        c.Err << result.Message << "\n";
        // Which script, and why: the group folder alone tells a pipeline little.
        if (!result.Detail.isEmpty())
            c.Err << result.Detail << "\n";
        c.Err.flush();
        failures.append(
            {QString(), QString(),
             result.Detail.isEmpty() ? result.Message : result.Message + u'\n' + result.Detail});
    }
    if (o.Json)
        PrintJsonSummary(c.Out,
                         QJsonObject{{QStringLiteral("scriptsWritten"), int(result.Written.size())},
                                     {QStringLiteral("compilesRun"), run.CompilesRun()}},
                         failures);
    return failures.isEmpty() ? ceSuccess : ceFailure;
}

} // namespace

const TCliCommand BuildCommand{
    "build", TrNoop("write the resource scripts of the checked projects and compile them"),
    TrNoop("quorvel-cli [--config FILE] build GROUP [--template FILE] [--compiler PROGRAM]\n"
           "         [--compiler-options TEXT] [--escape-values | --no-escape-values]\n"
           "         [--resource-path DIR] [--suffix32 S] [--suffix64 S] [--timeout SECONDS]\n"
           "         [--jobs N | -j N] [--dry-run | --json]\n"
           "Settings not given come from the configuration; of two contrary options the\n"
           "last one counts. A compiler still running after --timeout seconds (default 10)\n"
           "is ended with the processes it started. --dry-run prints each script's path\n"
           "and content (line breaks CR LF, as written) and writes and runs nothing.\n"
           "--json prints a summary on standard output (scripts written, compiles run,\n"
           "failures with project, platform and reason) and the log on standard error.\n"
           "--jobs runs up to N compilers at once (default 1; 0: one per processor core);\n"
           "the log is the same as with one at a time."),
    RunBuild};
