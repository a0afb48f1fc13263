#pragma once

#include "resgen/ErrorReporter.h"
#include "resgen/LogSink.h"
#include "resgen/OutputDecoder.h"
#include "resgen/ResourceCompiler.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <memory>

// One compiler run on the caller's event loop: the header lines, then the
// compiler's output as it arrives, then the error line of a time-out, a crash
// or an exit code other than 0. TResourceCompiler::StartCompile makes them.
class TCompileRun : public QObject
{
    Q_OBJECT

public:
    // A run of the compiler the settings name on the script N in the
    // resources folder P, into JoinPath(G, R) (R empty: N with ".res"); a
    // compiler left running at the time limit goes to leftRunning.
    TCompileRun(const TCompilerSettings& settings, TLeftRunningCompilers& leftRunning,
                ILogSink& log, IErrorReporter& errors, const QString& groupFolder,
                const QString& resourcePath, const QString& scriptName, const QString& resName);
    ~TCompileRun() override;

    // Writes the two header lines and starts the compiler; returns without
    // waiting. The start, a compiler that cannot be started (reported
    // through the error reporter) and the end arrive on the event loop:
    // Finished is never emitted before this returns.
    void Start();
    bool IsFinished() const { return FFinished; }
    const TCompileOutcome& Outcome() const { return FOutcome; }

    // Ends the compiler at once with the processes it started; its end then
    // arrives as a crash would.
    void EndCompiler();

Q_SIGNALS:
    void Finished();

private:
    void ShowOutput();
    void ProcessStarted();
    void StartFailed(const QString& reason);
    void ProcessFinished();
    void TimeUp();
    void Finish();

    const TCompilerSettings FSettings;
    TLeftRunningCompilers& FLeftRunning;
    ILogSink& FLog;
    IErrorReporter& FErrors;
    QString FGroupFolder;
    QString FResourcePath;
    QString FScriptName;
    // The resource file relative to the group folder.
    QString FResName;
    std::unique_ptr<QProcess> FProcess;
    std::unique_ptr<TProcessTree> FTree;
    TOutputDecoder FDecoder;
    QTimer FTimer;
    TCompileOutcome FOutcome;
    bool FFinished = false;
};
