#include "app/QuorvelApplication.h"
#include "app/QuorvelMain.h"
#include "support/Translation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace
{

// The program's options; process() answers --help and --version itself and
// ends the program.
QStringList ProcessArguments(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("GROUP"),
                                 Tr("project group to open instead of the last one"),
                                 QStringLiteral("[GROUP]"));
    parser.process(app);
    return parser.positionalArguments();
}

// --help and --version print text only: they need no display, so that they
// work in a terminal without one (and for the man page).
bool AsksForTextOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        // Not --help-all: the window's own Qt options need the GUI application.
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        TQuorvelApplication::SetIdentity();
        InitTranslation(QCoreApplication::applicationDirPath());
        ProcessArguments(app);
    }
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    app.LoadQtTranslations();
    const QStringList groups = ProcessArguments(app);

    TMainFormEnvironment environment;
    environment.Paths = CurrentProgramPaths();
    if (!groups.isEmpty())
        environment.StartGroup =
            QDir::toNativeSeparators(QFileInfo(groups.first()).absoluteFilePath());
    TMainForm form(environment);
    form.show();
    return app.exec();
}
