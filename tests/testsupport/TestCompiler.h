#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LeftRunningCompilers.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"

#include <QList>
#include <QString>

// One compiler run at a time, waited for on a local event loop: the compiler
// settings, the log and errors given, and the compilers left running after a
// time-out.
class TTestCompiler : public TCompilerSettings
{
public:
    TTestCompiler(ILogSink& log, IErrorReporter& errors);
    ~TTestCompiler();

    // Compiles the script N in the resources folder P into G with N's name
    // and ".res", and returns when the run has ended.
    TCompileOutcome CompileResource(const QString& groupFolder, const QString& resourcePath,
                                    const QString& scriptName);
    // The process ids of the compilers left running that have not ended yet.
    QList<qint64> RunningCompilers() { return FLeftRunning.Running(); }

private:
    ILogSink& FLog;
    IErrorReporter& FErrors;
    TLeftRunningCompilers FLeftRunning;
};
