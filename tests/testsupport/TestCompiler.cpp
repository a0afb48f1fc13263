#include "testsupport/TestCompiler.h"

#include "resgen/CompileRun.h"

#include <QEventLoop>
#include <QProcess>

TTestCompiler::TTestCompiler(ILogSink& log, IErrorReporter& errors) : FLog(log), FErrors(errors) {}

TTestCompiler::~TTestCompiler() = default;

TCompileOutcome TTestCompiler::CompileResource(const QString& groupFolder,
                                               const QString& resourcePath,
                                               const QString& scriptName)
{
    TCompileRun run(*this, FLeftRunning, FLog, FErrors, groupFolder, resourcePath, scriptName,
                    QString());
    QEventLoop loop;
    QObject::connect(&run, &TCompileRun::Finished, &loop, &QEventLoop::quit);
    run.Start();
    if (!run.IsFinished())
        loop.exec();
    return run.Outcome();
}
