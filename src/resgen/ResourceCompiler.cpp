#include "resgen/ResourceCompiler.h"

#include "resgen/CompileRun.h"
#include "resgen/ResourceGenerator.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <string>
#else
#include <unistd.h>
#endif

namespace
{

// Compilers still running when the object that started them went. The list
// itself is never freed, so they stay reachable to the end of the program.
std::vector<QProcess*>& AbandonedCompilers()
{
    static auto* const list = new std::vector<QProcess*>;
    return *list;
}

} // namespace

QString CompileErrorLine(const QString& reason)
{
    return QStringLiteral("*** ") + Tr("Error: ") + reason;
}

QString CompileStartFailureReason(const QString& errorString)
{
    // QProcess puts the failing call in front of the system's text
    // ("execvp: No such file or directory"); the user gets the system's text.
    const int colon = errorString.indexOf(QLatin1String(": "));
    return SystemReason(colon >= 0 ? errorString.mid(colon + 2) : errorString);
}

QString CompileTimeOutReason()
{
#ifdef Q_OS_WIN
    // Not every Windows has a text for it (Wine says "Unknown error").
    const QString system = SystemReason(qt_error_string(WAIT_TIMEOUT));
    if (!system.startsWith(QLatin1String("Unknown error")))
        return system;
#endif
    return Tr("The wait operation timed out");
}

QString CompileSeparatorLine()
{
    return QString(37, u'=');
}

QString CompileHeaderLine(const QString& resourcePath, const QString& scriptName,
                          const QString& resName)
{
    return Tr("Compile resource file: ") + JoinPath(resourcePath, scriptName) +
           QStringLiteral(" => ") +
           (resName.isEmpty() ? ChangeExtension(scriptName, QStringLiteral("res")) : resName);
}

QString CompileScriptPath(const QString& groupFolder, const QString& resourcePath,
                          const QString& scriptName)
{
    return JoinPath(ResourceFolder(groupFolder, resourcePath), scriptName);
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

void TResourceCompiler::KeepRunning(std::unique_ptr<QProcess> process)
{
    FLeftRunning.push_back(std::move(process));
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

std::unique_ptr<TCompileRun> TResourceCompiler::StartCompile(const QString& groupFolder,
                                                             const QString& resourcePath,
                                                             const QString& scriptName,
                                                             const QString& resName, ILogSink& log,
                                                             IErrorReporter& errors)
{
    return std::unique_ptr<TCompileRun>(
        new TCompileRun(*this, log, errors, groupFolder, resourcePath, scriptName, resName, true));
}

TCompileOutcome TResourceCompiler::CompileResource(const QString& groupFolder,
                                                   const QString& resourcePath,
                                                   const QString& scriptName)
{
    TCompileRun run(*this, FLog, FErrors, groupFolder, resourcePath, scriptName, QString(), false);
    run.Start();
    run.WaitForFinished();
    return run.Outcome();
}
