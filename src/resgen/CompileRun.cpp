#include "resgen/CompileRun.h"

#include "resgen/ProcessTree.h"
#include "support/PathHelpers.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>

TCompileRun::TCompileRun(const TCompilerSettings& settings, TLeftRunningCompilers& leftRunning,
                         ILogSink& log, IErrorReporter& errors, const QString& groupFolder,
                         const QString& resourcePath, const QString& scriptName,
                         const QString& resName)
    : FSettings(settings), FLeftRunning(leftRunning), FLog(log), FErrors(errors),
      // Qt's own dialogs and folders give "/" on Windows too.
      FGroupFolder(QDir::toNativeSeparators(groupFolder)),
      FResourcePath(QDir::toNativeSeparators(resourcePath)), FScriptName(scriptName),
      FResName(resName.isEmpty() ? ChangeExtension(scriptName, QStringLiteral("res")) : resName)
{
    FTimer.setSingleShot(true);
    // A coarse timer may fire 5 % early: the limit is the limit.
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &TCompileRun::TimeUp);
}

TCompileRun::~TCompileRun()
{
    if (!FProcess)
        return;
    // Gone before its time was up (its owner is closing): no signal of the
    // process may reach this half-destroyed run, and the compiler is dealt
    // with as at a time-out.
    FProcess->disconnect(this);
    if (FProcess->state() == QProcess::NotRunning)
        return;
    if (FSettings.EndOnTimeout && FTree)
        FTree->EndAll(*FProcess);
    else
        FLeftRunning.Keep(std::move(FProcess));
}

void TCompileRun::Start()
{
    FLog.AppendLine(CompileSeparatorLine());
    FLog.AppendLine(CompileHeaderLine(FResourcePath, FScriptName, FResName));
    // The compiler's output starts on a line of its own, also after an
    // earlier compile's output that had no final line break.
    FLog.EndLine();
    FLeftRunning.ReleaseEnded();

    if (FSettings.Compiler.isEmpty()) {
        QTimer::singleShot(0, this, [this] { StartFailed(MissingFileReason()); });
        return;
    }
    const QFileInfo earlier(CompileResourcePath(FGroupFolder, FResName));
    if (earlier.exists())
        FOutcome.ResourceTimeBefore = earlier.lastModified();
    FProcess = std::make_unique<QProcess>();
    PrepareCompilerProcess(*FProcess, FSettings,
                           CompileScriptPath(FGroupFolder, FResourcePath, FScriptName),
                           CompileResourcePath(FGroupFolder, FResName));
    // Reading as the output arrives: a compiler that prints more than a pipe
    // holds would otherwise wait for a reader until its time is up.
    connect(FProcess.get(), &QProcess::readyReadStandardOutput, this, &TCompileRun::ShowOutput);
    connect(FProcess.get(), &QProcess::finished, this, &TCompileRun::ProcessFinished);
    connect(FProcess.get(), &QProcess::started, this, &TCompileRun::ProcessStarted);
    // Some start failures are reported from within start() itself: queued,
    // the caller always gets the end after Start has returned.
    connect(
        FProcess.get(), &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart && !FOutcome.Started && !FFinished)
                StartFailed(CompileStartFailureReason(FProcess->errorString()));
        },
        Qt::QueuedConnection);
    FProcess->start(QIODevice::ReadOnly);
}

void TCompileRun::ProcessStarted()
{
    FOutcome.Started = true;
    FTree = std::make_unique<TProcessTree>(*FProcess);
    FTimer.start(qMax(FSettings.TimeoutMs, 0));
}

void TCompileRun::StartFailed(const QString& reason)
{
    FOutcome.Reason = reason;
    if (FProcess)
        FProcess->disconnect(this);
    // Said with the script in the log, and to the caller, who may say it once
    // for a whole run.
    FLog.AppendLine(CompileErrorLine(reason));
    FErrors.ShowError(Tr("Error: ") + FOutcome.Reason);
    Finish();
}

void TCompileRun::EndCompiler()
{
    if (!FProcess || FProcess->state() == QProcess::NotRunning)
        return;
    if (FTree)
        FTree->EndAll(*FProcess);
    else
        FProcess->kill();
}

void TCompileRun::ShowOutput()
{
    const QString text = FDecoder.Decode(FProcess->readAll());
    if (!text.isEmpty())
        FLog.AppendText(text);
}

void TCompileRun::ProcessFinished()
{
    if (FFinished)
        return;
    FTimer.stop();
    ShowOutput();
    const QString rest = FDecoder.Finish();
    if (!rest.isEmpty())
        FLog.AppendText(rest);
    FOutcome.FinishedInTime = true;
    if (FProcess->exitStatus() == QProcess::CrashExit) {
        FOutcome.Crashed = true;
        FOutcome.Reason = SystemReason(FProcess->errorString());
        FLog.AppendLine(CompileErrorLine(FOutcome.Reason));
    } else {
        FOutcome.ExitCode = FProcess->exitCode();
        if (FOutcome.ExitCode != 0) {
            FOutcome.Reason =
                Tr("exit code %d").replace(QLatin1String("%d"), QString::number(FOutcome.ExitCode));
            FLog.AppendLine(CompileErrorLine(FOutcome.Reason));
        }
    }
    Finish();
}

void TCompileRun::TimeUp()
{
    if (FFinished)
        return;
    // A compiler that ended just now has its end still queued: it counts as
    // ended in time.
    if (FProcess->state() != QProcess::NotRunning)
        FProcess->waitForFinished(0);
    if (FFinished)
        return;
    if (FProcess->state() == QProcess::NotRunning) {
        ProcessFinished();
        return;
    }
    ShowOutput();
    const QString rest = FDecoder.Finish();
    if (!rest.isEmpty())
        FLog.AppendText(rest);
    FProcess->disconnect(this);
    if (FSettings.EndOnTimeout) {
        FTree->EndAll(*FProcess);
        FProcess->waitForFinished(-1);
        // Whatever it printed after its time was up does not go to the log.
        FProcess->readAll();
        FOutcome.Reason = Tr("%1; the compiler was ended").arg(CompileTimeOutReason());
        FLog.AppendLine(CompileErrorLine(FOutcome.Reason));
    } else {
        FOutcome.Reason = CompileTimeOutReason();
        FLog.AppendLine(CompileErrorLine(FOutcome.Reason));
        FLeftRunning.Keep(std::move(FProcess));
    }
    Finish();
}

void TCompileRun::Finish()
{
    FFinished = true;
    FTimer.stop();
    Q_EMIT Finished();
}
