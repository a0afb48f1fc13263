#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LogSink.h"
#include "resgen/OutputDecoder.h"
#include "resgen/ResourceCompiler.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <memory>

// One compiler run on the caller's event loop: the header lines, then the
// compiler's output as it arrives, then the error line of a time-out, a crash
// or an exit code other than 0. Made by TResourceCompiler::StartCompile.
class TCompileRun : public QObject
{
    Q_OBJECT

public:
    ~TCompileRun() override;

    // Writes the two header lines and starts the compiler. A compiler that
    // cannot be started is reported through the error reporter and the run
    // has finished (Finished emitted) before this returns.
    void Start();
    bool IsFinished() const { return FFinished; }
    const TCompileOutcome& Outcome() const { return FOutcome; }

    // Waits for the end without an event loop: for callers that have none.
    void WaitForFinished();
    // Ends the compiler at once with the processes it started; its end then
    // arrives as a crash would.
    void EndCompiler();

Q_SIGNALS:
    void Finished();

private:
    friend class TResourceCompiler;
    TCompileRun(TResourceCompiler& owner, ILogSink& log, IErrorReporter& errors,
                const QString& groupFolder, const QString& resourcePath, const QString& scriptName,
                const QString& resName, bool useTimer);

    void ShowOutput();
    void ProcessFinished();
    void TimeUp();
    void Finish();

    TResourceCompiler& FOwner;
    ILogSink& FLog;
    IErrorReporter& FErrors;
    QString FGroupFolder;
    QString FResourcePath;
    QString FScriptName;
    // The resource file relative to the group folder.
    QString FResName;
    bool FUseTimer;
    std::unique_ptr<QProcess> FProcess;
    std::unique_ptr<TProcessTree> FTree;
    TOutputDecoder FDecoder;
    QTimer FTimer;
    QDeadlineTimer FDeadline;
    TCompileOutcome FOutcome;
    bool FFinished = false;
};
