#include "cli/CliMain.h"

#include "QuorvelVersion.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "support/QuorvelError.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

void PrintUsage(QTextStream& s)
{
    s << Tr("usage: ") << "quorvel-cli [--config FILE] COMMAND [ARGS...]\n\n"
      << Tr("Keeps the version information of a Delphi project group and builds its\n"
            "version resources, as the Quorvel window does.\n")
      << "\n"
      << Tr("commands:") << "\n";
    for (const TCliCommand* cmd : AllCliCommands())
        s << "  " << QStringLiteral("%1").arg(QLatin1String(cmd->Name), -8) << Tr(cmd->Summary)
          << "\n";
    s << "  help    " << Tr("show this text; help COMMAND shows a command's usage") << "\n"
      << "\n"
      << Tr("options:") << "\n"
      << "  --config FILE  " << Tr("read this configuration file instead of the window's") << "\n"
      << "  --help         " << Tr("show this text; COMMAND --help shows a command's usage") << "\n"
      << "  -v, --version  " << Tr("show the program version") << "\n";
}

int RunCommandLine(TCliContext& context, const QStringList& arguments)
{
    // The program's own options, before the command.
    QString name;
    QStringList args;
    bool version = false;
    TCliArguments parser = context.CommandArguments();
    parser.AddFlag("--version", &version, "-v");
    parser.StopAtFirst(&args);
    const QString error = parser.Parse(arguments, name);
    if (parser.HelpRequested()) {
        PrintUsage(context.Out);
        return ceSuccess;
    }
    if (version && error.isEmpty()) {
        context.Out << "quorvel-cli " << QUORVEL_VERSION_TEXT << "\n";
        return ceSuccess;
    }
    if (!error.isEmpty() || name.isEmpty()) {
        if (!error.isEmpty())
            context.Err << "quorvel-cli: " << error << "\n";
        PrintUsage(context.Err);
        return ceUsage;
    }
    // "help COMMAND" as "COMMAND --help"; "help" alone as "--help".
    const bool helpCommand = name == QLatin1String("help");
    if (helpCommand) {
        if (args.isEmpty()) {
            PrintUsage(context.Out);
            return ceSuccess;
        }
        name = args.takeFirst();
    }
    for (const TCliCommand* cmd : AllCliCommands()) {
        if (name != QLatin1String(cmd->Name))
            continue;
        if (helpCommand) {
            context.Out << Tr("usage: ") << Tr(cmd->Usage) << "\n";
            return ceSuccess;
        }
        // With --json, standard output holds exactly one object, also when the
        // command ends before its summary: a pipeline parses it either way.
        const bool json = args.contains(QStringLiteral("--json"));
        QIODevice* const out = context.Out.device();
        QString captured;
        if (json) {
            context.Out.flush();
            context.Out.setString(&captured);
        }
        int code = ceFailure;
        try {
            code = cmd->Run(context, args);
        } catch (const TQuorvelError& e) {
            context.Out.flush();
            context.Err << e.Message() << "\n";
            context.Err.flush();
            context.LastError = e.Message();
        }
        if (json) {
            context.Out.flush();
            context.Out.setDevice(out);
            if (captured.trimmed().isEmpty() && code != ceSuccess)
                captured = QString::fromUtf8(
                    QJsonDocument(
                        QJsonObject{{QStringLiteral("error"),
                                     context.LastError.isEmpty()
                                         ? Tr("the command failed; standard error says why")
                                         : context.LastError},
                                    {QStringLiteral("exitCode"), code}})
                        .toJson(QJsonDocument::Indented));
            context.Out << captured;
        }
        return code;
    }
    context.Err << "quorvel-cli: " << Tr("unknown command %1").arg(name) << "\n";
    PrintUsage(context.Err);
    return ceUsage;
}

// Whether everything printed reached standard output. A listing cut short by a
// full disk or a closed pipe must not end the tool with success: a pipeline
// would go on with half a listing.
bool OutputWritten(TCliContext& context)
{
    context.Out.flush();
    return context.Out.status() == QTextStream::Ok && std::fflush(stdout) == 0 &&
           !std::ferror(stdout);
}

} // namespace

int CliMain(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    TCliContext context;
    const int code = RunCommandLine(context, QCoreApplication::arguments().mid(1));
    if (!OutputWritten(context)) {
        const int error = errno;
        // The system's text is in the user's language; Qt's is English.
        const QIODevice* device = context.Out.device();
        const QString reason = error != 0 || !device ? QString::fromLocal8Bit(std::strerror(error))
                                                     : device->errorString();
        context.Err << "quorvel-cli: "
                    << FormatText(Tr("Cannot write to standard output. %s"), {reason}) << "\n";
        context.Err.flush();
        return code == ceSuccess ? ceFailure : code;
    }
    return code;
}
