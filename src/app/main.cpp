#include "app/QuorvelApplication.h"
#include "app/QuorvelMain.h"
#include "support/Translation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace
{

void AddOptions(QCommandLineParser& parser)
{
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("GROUP"),
                                 Tr("project group to open instead of the last one"),
                                 QStringLiteral("[GROUP]"));
}

// The program's options; process() answers --help and --version itself and
// ends the program.
QStringList ProcessArguments(const QCoreApplication& app)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.process(app);
    return parser.positionalArguments();
}

// --help and --version print text only: they need no display, so that they
// work in a terminal without one (and for the man page). Not --help-all: the
// window's own Qt options need the GUI application.
bool AsksForTextOnly(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    AddOptions(parser);
    return parser.parse(arguments) &&
           (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")));
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        TQuorvelApplication::SetIdentity();
        InitTranslation(QCoreApplication::applicationDirPath());
        TQuorvelApplication::LoadQtTranslations(app);
        ProcessArguments(app);
    }
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    TQuorvelApplication::LoadQtTranslations(app);
    const QStringList groups = ProcessArguments(app);

    TMainFormEnvironment environment;
    environment.Paths = CurrentProgramPaths();
    if (!groups.isEmpty())
        environment.StartGroup =
            QDir::toNativeSeparators(QFileInfo(groups.first()).absoluteFilePath());
    TMainForm form(environment);
    form.show();
    const int code = app.exec();
    return form.ExitCode() >= 0 ? form.ExitCode() : code;
}
