#include "QuorvelVersion.h"
#include "app/QuorvelApplication.h"
#include "app/QuorvelMain.h"
#include "support/Translation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

int main(int argc, char** argv)
{
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    app.LoadQtTranslations();

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("GROUP"),
                                 Tr("project group to open instead of the last one"),
                                 QStringLiteral("[GROUP]"));
    parser.process(app);

    TMainFormEnvironment environment;
    environment.Paths = CurrentProgramPaths();
    const QStringList groups = parser.positionalArguments();
    if (!groups.isEmpty())
        environment.StartGroup =
            QDir::toNativeSeparators(QFileInfo(groups.first()).absoluteFilePath());
    TMainForm form(environment);
    form.show();
    return app.exec();
}
