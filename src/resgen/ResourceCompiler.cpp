#include "resgen/ResourceCompiler.h"

#include "resgen/OutputDecoder.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <string>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace
{

// How long one wait lasts before the output so far goes to the log and the
// caller's events are processed.
constexpr int WaitSliceMs = 50;

// Compilers still running when the object that started them went. The list
// itself is never freed, so they stay reachable to the end of the program.
std::vector<QProcess*>& AbandonedCompilers()
{
    static auto* const list = new std::vector<QProcess*>;
    return *list;
}

QString ErrorLine(const QString& reason)
{
    return QStringLiteral("*** ") + Tr("Error: ") + reason;
}

// QProcess puts the failing call in front of the system's text
// ("execvp: No such file or directory"); the user gets the system's text.
QString StartFailureReason(const QString& errorString)
{
    const int colon = errorString.indexOf(QLatin1String(": "));
    return SystemReason(colon >= 0 ? errorString.mid(colon + 2) : errorString);
}

QString TimeOutReason()
{
#ifdef Q_OS_WIN
    // Not every Windows has a text for it (Wine says "Unknown error").
    const QString system = SystemReason(qt_error_string(WAIT_TIMEOUT));
    if (!system.startsWith(QLatin1String("Unknown error")))
        return system;
#endif
    return Tr("The wait operation timed out");
}

// A started compiler together with the processes it starts, so that all of
// them can be ended at once: on Windows a job object, elsewhere the process
// group the compiler leads.
class TProcessTree
{
public:
    TProcessTree(const TProcessTree&) = delete;
    TProcessTree& operator=(const TProcessTree&) = delete;
#ifdef Q_OS_WIN
    explicit TProcessTree(const QProcess& process)
    {
        // Processes the compiler starts from now on belong to the job too.
        FJob = CreateJobObjectW(nullptr, nullptr);
        FProcess = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                               DWORD(process.processId()));
        if (FJob && FProcess && !AssignProcessToJobObject(FJob, FProcess)) {
            CloseHandle(FJob);
            FJob = nullptr;
        }
    }
    ~TProcessTree()
    {
        if (FJob)
            CloseHandle(FJob);
        if (FProcess)
            CloseHandle(FProcess);
    }
    void EndAll(QProcess& process)
    {
        if (FJob)
            TerminateJobObject(FJob, 1);
        else if (FProcess)
            TerminateProcess(FProcess, 1);
        else
            process.kill();
    }

private:
    HANDLE FJob = nullptr;
    HANDLE FProcess = nullptr;
#else
    explicit TProcessTree(const QProcess&) {}
    void EndAll(QProcess& process)
    {
        // The compiler leads its own process group (see PrepareProcess).
        if (process.processId() > 0)
            ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
    }
#endif
};

} // namespace

QString CompileSeparatorLine()
{
    return QString(37, u'=');
}

QString CompileHeaderLine(const QString& resourcePath, const QString& scriptName)
{
    return Tr("Compile resource file: ") + JoinPath(resourcePath, scriptName) +
           QStringLiteral(" => ") + ChangeExtension(scriptName, QStringLiteral("res"));
}

QString CompileScriptPath(const QString& groupFolder, const QString& resourcePath,
                          const QString& scriptName)
{
    return JoinPath(JoinPath(groupFolder, resourcePath), scriptName);
}

QString CompileResourcePath(const QString& groupFolder, const QString& scriptName)
{
    return JoinPath(groupFolder, ChangeExtension(scriptName, QStringLiteral("res")));
}

QStringList CompilerArguments(const QString& options, const QString& scriptPath,
                              const QString& resourcePath)
{
    QStringList args = QProcess::splitCommand(options);
    args << scriptPath << QStringLiteral("-fo") + resourcePath;
    return args;
}

QString QuoteCommandLineItem(const QString& text)
{
    QString inner = text;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + inner + u'"';
}

QString CompilerCommandLine(const QString& compiler, const QString& options,
                            const QString& scriptPath, const QString& resourcePath)
{
    QString line = QuoteCommandLineItem(compiler) + u' ';
    if (!options.isEmpty())
        line += options + u' ';
    return line + QuoteCommandLineItem(scriptPath) + QStringLiteral(" -fo") +
           QuoteCommandLineItem(resourcePath);
}

bool CompilerAvailable(const QString& compiler)
{
    if (compiler.isEmpty())
        return false;
    const QFileInfo file(compiler);
    if (file.isFile() && file.isExecutable())
        return true;
    const bool hasFolder = compiler.contains(u'/') || compiler.contains(QDir::separator());
    return !hasFolder && !QStandardPaths::findExecutable(compiler).isEmpty();
}

TResourceCompiler::TResourceCompiler(ILogSink& log, IErrorReporter& errors)
    : FLog(log), FErrors(errors)
{
}

TResourceCompiler::~TResourceCompiler()
{
    ReleaseEnded();
    // Destroying a QProcess kills its program, and a compiler left running
    // must go on on its own: its process object is kept until the program
    // ends instead.
    for (std::unique_ptr<QProcess>& process : FLeftRunning)
        AbandonedCompilers().push_back(process.release());
}

void TResourceCompiler::ReleaseEnded()
{
    for (auto it = FLeftRunning.begin(); it != FLeftRunning.end();) {
        QProcess& process = **it;
        if (process.state() != QProcess::NotRunning)
            process.waitForFinished(0);
        // Whatever it printed after its time was up does not go to the log.
        process.readAll();
        if (process.state() == QProcess::NotRunning)
            it = FLeftRunning.erase(it);
        else
            ++it;
    }
}

QList<qint64> TResourceCompiler::RunningCompilers()
{
    ReleaseEnded();
    QList<qint64> ids;
    for (const std::unique_ptr<QProcess>& process : FLeftRunning)
        ids.append(process->processId());
    return ids;
}

void TResourceCompiler::PrepareProcess(QProcess& process, const QString& scriptPath,
                                       const QString& resourcePath) const
{
    // Compilers such as llvm-rc and windres print their errors to standard
    // error only; merged, they reach the log in the order they were written.
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProgram(Compiler);
#ifdef Q_OS_WIN
    // The compiler parses its own command line, so it gets exactly the line
    // brcc32 has always been given, not one QProcess quotes its own way.
    auto line = std::make_shared<std::wstring>(
        CompilerCommandLine(Compiler, Options, scriptPath, resourcePath).toStdWString());
    process.setCreateProcessArgumentsModifier([line](QProcess::CreateProcessArguments* args) {
        args->arguments = line->data();
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
    });
#else
    process.setArguments(CompilerArguments(Options, scriptPath, resourcePath));
    // A compiler that may be ended leads a process group of its own, so that
    // the processes a script starts end with it.
    if (EndOnTimeout)
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
}

TCompileOutcome TResourceCompiler::CompileResource(const QString& folder,
                                                   const QString& resourceFolder,
                                                   const QString& scriptName)
{
    // Qt's own dialogs and folders give "/" on Windows too.
    const QString groupFolder = QDir::toNativeSeparators(folder);
    const QString resourcePath = QDir::toNativeSeparators(resourceFolder);
    TCompileOutcome outcome;
    FLog.AppendLine(CompileSeparatorLine());
    FLog.AppendLine(CompileHeaderLine(resourcePath, scriptName));
    if (Pump)
        Pump();
    ReleaseEnded();

    if (Compiler.isEmpty()) {
        outcome.Reason = MissingFileReason();
        FErrors.ShowError(Tr("Error: ") + outcome.Reason);
        return outcome;
    }
    auto process = std::make_unique<QProcess>();
    PrepareProcess(*process, CompileScriptPath(groupFolder, resourcePath, scriptName),
                   CompileResourcePath(groupFolder, scriptName));
    process->start(QIODevice::ReadOnly);
    if (!process->waitForStarted(-1)) {
        outcome.Reason = StartFailureReason(process->errorString());
        FErrors.ShowError(Tr("Error: ") + outcome.Reason);
        return outcome;
    }
    outcome.Started = true;
    TProcessTree tree(*process);

    // Reading while waiting: a compiler that prints more than a pipe holds
    // would otherwise wait for a reader until its time is up.
    TOutputDecoder decoder;
    const auto showOutput = [&] {
        const QString text = decoder.Decode(process->readAll());
        if (!text.isEmpty())
            FLog.AppendText(text);
    };
    const QDeadlineTimer deadline(qMax(TimeoutMs, 0));
    while (process->state() != QProcess::NotRunning && !deadline.hasExpired()) {
        process->waitForFinished(int(qMin<qint64>(deadline.remainingTime(), WaitSliceMs)));
        showOutput();
        if (Pump)
            Pump();
    }
    showOutput();
    const QString rest = decoder.Finish();
    if (!rest.isEmpty())
        FLog.AppendText(rest);

    if (process->state() != QProcess::NotRunning && EndOnTimeout) {
        tree.EndAll(*process);
        process->waitForFinished(-1);
        process->readAll();
        outcome.Reason = Tr("%1; the compiler was ended").arg(TimeOutReason());
        FLog.AppendLine(ErrorLine(outcome.Reason));
        return outcome;
    }
    if (process->state() != QProcess::NotRunning) {
        outcome.Reason = TimeOutReason();
        FLog.AppendLine(ErrorLine(outcome.Reason));
        FLeftRunning.push_back(std::move(process));
        return outcome;
    }
    outcome.FinishedInTime = true;
    if (process->exitStatus() == QProcess::CrashExit) {
        outcome.Crashed = true;
        outcome.Reason = SystemReason(process->errorString());
        FLog.AppendLine(ErrorLine(outcome.Reason));
        return outcome;
    }
    outcome.ExitCode = process->exitCode();
    if (outcome.ExitCode != 0) {
        outcome.Reason =
            Tr("exit code %d").replace(QLatin1String("%d"), QString::number(outcome.ExitCode));
        FLog.AppendLine(ErrorLine(outcome.Reason));
    }
    return outcome;
}
