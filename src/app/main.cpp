#include "app/QuorvelApplication.h"
#include "app/QuorvelMain.h"
#include "support/Translation.h"

int main(int argc, char** argv)
{
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    app.LoadQtTranslations();
    TMainFormEnvironment environment;
    environment.Paths = CurrentProgramPaths();
    TMainForm form(environment);
    form.show();
    return app.exec();
}
