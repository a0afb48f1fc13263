#include "cli/BuildCommand.h"

#include "cli/ScriptOptions.h"
#include "resgen/ErrorReporter.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionCheck.h"
#include "support/PathHelpers.h"
#include "support/TextFile.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>


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
    bool AtLineStart() const override
    {
        return FAtLineStart;
    }

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
    bool DryRun = false;
    bool Json = false;
};

// A day: more is surely a mistake.
constexpr int MaxTimeoutSeconds = 86400;

// Parses the arguments; an empty text means success, else the usage error.
QString ParseArguments(const QStringList& args, TBuildOptions& o)
{
    struct TValueOption {
        const char* Name;
        QString* Value;
    };
    const TValueOption valueOptions[] = {
        {"--template", &o.Script.Template},
        {"--compiler", &o.Compiler},
        {"--compiler-options", &o.CompilerOptions},
        {"--resource-path", &o.Script.ResourcePath},
        {"--suffix32", &o.Script.Suffix32},
        {"--suffix64", &o.Script.Suffix64},
        {"--timeout", &o.Timeout},
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--escape-values") || a == QLatin1String("--no-escape-values")) {
            o.Script.EscapeValues = a == QLatin1String("--escape-values");
            continue;
        }
        if (a == QLatin1String("--dry-run")) {
            o.DryRun = true;
            continue;
        }
        if (a == QLatin1String("--json")) {
            o.Json = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o.Group.isNull())
                return Tr("more than one group given");
            o.Group = a;
            continue;
        }
        bool known = false;
        for (const TValueOption& option : valueOptions) {
            const QString name = QLatin1String(option.Name);
            if (a == name) {
                // The value is taken as it stands, also when it begins with
                // "-", as compiler options do.
                if (i + 1 >= args.size())
                    return Tr("%1 needs a value").arg(name);
                *option.Value = args[++i];
                known = true;
            } else if (a.startsWith(name + u'=')) {
                *option.Value = a.mid(name.size() + 1);
                known = true;
            }
            if (known) {
                // A null value would read as "not given".
                if (option.Value->isNull())
                    *option.Value = QStringLiteral("");
                break;
            }
        }
        if (!known)
            return Tr("unknown option %1").arg(a);
    }
    if (o.Group.isEmpty())
        return Tr("no group file given");
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
    return QString();
}

int RunBuild(TCliContext& c, const QStringList& args)
{
    TBuildOptions o;
    const QString usageError = ParseArguments(args, o);
    if (!usageError.isEmpty())
        return c.UsageError(usageError, QLatin1String(BuildCommand.Usage));
    c.LoadConfig();

    const QString suffixError = SuffixClash(Pick(o.Script.Suffix32, c.Config.Win32Suffix),
                                            Pick(o.Script.Suffix64, c.Config.Win64Suffix));
    if (!suffixError.isEmpty())
        return c.UsageError(suffixError, QLatin1String(BuildCommand.Usage));

    TProjectGroup group;
    c.OpenGroupWithProjects(o.Group, group);
    const TGenerationInput input = ScriptGenerationInput(c, group, o.Script);

    // With --json, standard output carries the summary alone: the log goes
    // to standard error.
    QTextStream& logStream = o.Json ? c.Err : c.Out;
    TStreamLog log(logStream);
    TStreamErrors errors(logStream, c.Err);
    TResourceCompiler compiler(log, errors);
    compiler.Compiler = Pick(o.Compiler, c.Config.ResourceCompiler);
    compiler.Options = Pick(o.CompilerOptions, c.Config.ResourceCompilerOptions);
    // A pipeline must not leave a hung compiler behind, nor wait for it forever.
    compiler.EndOnTimeout = true;
    if (!o.Timeout.isNull())
        compiler.TimeoutMs = o.Timeout.toInt() * 1000;

    QList<TCliFailure> failures;
    const auto fail = [&](const QString& project, const QString& platform, const QString& reason,
                          bool print) {
        failures.append({project, platform, reason});
        if (print) {
            logStream.flush();
            c.Err << (project.isEmpty() || !platform.isEmpty() ? QString()
                                                               : project + QStringLiteral(": "))
                  << reason << "\n";
            c.Err.flush();
        }
    };
    int compilesRun = 0;
    TGenerationActions actions;
    if (o.DryRun) {
        actions.MakeFolder = [](const QString&) { return true; };
        actions.WriteScript = [&c](const TResourceScript& script) {
            c.Out << "==> " << script.FileName << " <==\n" << ForTextMode(script.Text);
            c.Out.flush();
            return true;
        };
    } else if (!CompilerAvailable(compiler.Compiler)) {
        // One clear line instead of the system's bare error for every script;
        // the scripts are still written.
        fail(QString(), QString(),
             Tr("No resource compiler: set one with --compiler or on the settings page"), true);
    } else {
        actions.Compile = [&](const TCompileJob& job) {
            ++compilesRun;
            const QString platform = job.Platform == psWin32 ? QStringLiteral("32-bit")
                                                             : QStringLiteral("64-bit");
            const TCompileOutcome outcome =
                compiler.CompileResource(job.GroupFolder, job.ResourcePath, job.ScriptName);
            if (!outcome.Succeeded()) {
                if (outcome.FinishedInTime && !job.FailureHint.isEmpty())
                    log.AppendLine(job.FailureHint);
                // The log or the error line has said it already.
                fail(job.Entry, platform, outcome.Reason, false);
                return;
            }
            const QString resFile = CompileResourcePath(job.GroupFolder, job.ScriptName);
            log.AppendLine(VersionResourceLogLine(resFile));
            // A compiler that ends with 0 but leaves no resource file, or one
            // with another version, has not done its job: a pipeline must not
            // ship it.
            const QString problem = CompiledResourceProblem(resFile, job.Data);
            if (!problem.isEmpty())
                fail(job.Entry, platform, problem, true);
        };
    }
    actions.ProjectError = [&](const QString& entry, const QString& message) {
        fail(entry, QString(), message, true);
    };
    const TGenerationResult result = GenerateResources(input, actions);
    logStream.flush();
    if (result.Failed) {
        c.Err << result.Message << "\n";
        // Which script, and why: the group folder alone tells a pipeline little.
        if (!result.Detail.isEmpty())
            c.Err << result.Detail << "\n";
        c.Err.flush();
        failures.append({QString(), QString(),
                         result.Detail.isEmpty() ? result.Message
                                                 : result.Message + u'\n' + result.Detail});
    }
    if (o.Json)
        PrintJsonSummary(c.Out,
                         QJsonObject{{QStringLiteral("scriptsWritten"), int(result.Written.size())},
                                     {QStringLiteral("compilesRun"), compilesRun}},
                         failures);
    return failures.isEmpty() ? ceSuccess : ceFailure;
}

} // namespace

const TCliCommand BuildCommand{
    "build", TrNoop("write the resource scripts of the checked projects and compile them"),
    TrNoop("quorvel-cli [--config FILE] build GROUP [--template FILE] [--compiler PROGRAM]\n"
           "         [--compiler-options TEXT] [--escape-values | --no-escape-values]\n"
           "         [--resource-path DIR] [--suffix32 S] [--suffix64 S] [--timeout SECONDS]\n"
           "         [--dry-run | --json]\n"
           "Settings not given come from the configuration; of two contrary options the\n"
           "last one counts. A compiler still running after --timeout seconds (default 10)\n"
           "is ended with the processes it started. --dry-run prints each script's path\n"
           "and content (line breaks CR LF, as written) and writes and runs nothing.\n"
           "--json prints a summary on standard output (scripts written, compiles run,\n"
           "failures with project, platform and reason) and the log on standard error."),
    RunBuild};
