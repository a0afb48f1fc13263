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

QString CompilerStartMessage(const QString& compiler, const QString& reason)
{
    return Tr("The resource compiler \"%1\" cannot be started: %2")
        .arg(QDir::toNativeSeparators(compiler), reason);
}

QString CompilerUnavailableReason(const QString& compiler)
{
    return QFileInfo::exists(compiler) ? Tr("It is not a program one may run")
                                       : MissingFileReason();
}

TResourceCompiler::TResourceCompiler() = default;

TResourceCompiler::~TResourceCompiler() = default;

void PrepareCompilerProcess(QProcess& process, const TCompilerSettings& settings,
                            const QString& scriptPath, const QString& resourcePath)
{
    // Compilers such as llvm-rc and windres print their errors to standard
    // error only; merged, they reach the log in the order they were written.
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProgram(settings.Compiler);
#ifdef Q_OS_WIN
    // The compiler parses its own command line, so it gets exactly the line
    // brcc32 has always been given, not one QProcess quotes its own way.
    auto line = std::make_shared<std::wstring>(
        CompilerCommandLine(settings.Compiler, settings.Options, scriptPath, resourcePath)
            .toStdWString());
    process.setCreateProcessArgumentsModifier([line](QProcess::CreateProcessArguments* args) {
        args->arguments = line->data();
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
    });
#else
    process.setArguments(CompilerArguments(settings.Options, scriptPath, resourcePath));
    // Every compiler may be ended (a time limit, a cancelled run): it leads a
    // process group of its own, so that the processes a script starts end
    // with it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
}

std::unique_ptr<TCompileRun> TResourceCompiler::StartCompile(const QString& groupFolder,
                                                             const QString& resourcePath,
                                                             const QString& scriptName,
                                                             const QString& resName, ILogSink& log,
                                                             IErrorReporter& errors)
{
    return std::make_unique<TCompileRun>(*this, FLeftRunning, log, errors, groupFolder,
                                         resourcePath, scriptName, resName);
}
