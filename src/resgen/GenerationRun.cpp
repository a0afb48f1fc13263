#include "resgen/GenerationRun.h"

#include "resgen/BuildRecord.h"
#include "resgen/CompileRun.h"
#include "resgen/ResourceVerification.h"
#include "support/Translation.h"

#include <QFileInfo>

TCompileResult LogCompileResult(const TCompileJob& job, const TCompileOutcome& outcome,
                                ILogSink& log, IErrorReporter& errors, bool checkResource)
{
    TCompileResult result;
    if (!outcome.Succeeded()) {
        if (outcome.FinishedInTime && !job.FailureHint.isEmpty())
            log.AppendLine(job.FailureHint);
        // The log or the error box has said why already.
        result.Failed = true;
        result.Started = outcome.Started;
        result.Reason = outcome.Reason;
        return result;
    }
    // What the .res file holds shows at a glance whether the template did
    // what the user meant.
    const QString resFile = CompileResourcePath(job.GroupFolder, job.ResName);
    log.AppendLine(VersionResourceLogLine(resFile));
    if (checkResource) {
        // A compiler that ends with 0 but leaves no resource file, or one
        // with another version, has not done its job: a pipeline must not
        // ship it.
        QString problem;
        const QFileInfo now(resFile);
        if (outcome.ResourceTimeBefore.isValid() && now.exists() &&
            now.lastModified() == outcome.ResourceTimeBefore)
            problem = Tr("resource file \"%1\" was not written by this compile: the compiler "
                         "ended without error and left the file of an earlier build")
                          .arg(resFile);
        else
            problem = CompiledResourceProblem(resFile, job.Data);
        if (!problem.isEmpty()) {
            errors.ShowError(problem);
            result.Failed = true;
            result.Reason = problem;
        }
    }
    return result;
}

QString ProjectErrorLine(const QString& entry, const QString& message)
{
    return QStringLiteral("*** ") + Tr("Error: ") + entry + QStringLiteral(": ") + message;
}

TGenerationRun::TGenerationRun(TResourceCompiler& compiler, ILogSink& log, IErrorReporter& errors,
                               QObject* parent)
    : QObject(parent), FCompiler(compiler), FLog(log, errors)
{
}

TGenerationRun::~TGenerationRun() = default;

void TGenerationRun::Start(const TGenerationInput& input)
{
    FStarted = true;
    // The options alone: the projects and the template text are not recorded.
    FRecord = input;
    FRecord.Projects.clear();
    FRecord.TemplateLines.clear();
    // The steps first, written nowhere: each script is written when its
    // compile is about to start, so that a compiler never reads a script a
    // later step has written over.
    TGenerationActions plan;
    plan.WriteScript = [this](const TResourceScript& script) {
        FSteps.push_back(TStep{QString(), QString(), script, TCompileJob()});
        return true;
    };
    plan.Compile = [this](const TCompileJob& job) { FSteps.back().Job = job; };
    plan.ProjectError = [this](const QString& entry, const QString& message) {
        FSteps.push_back(TStep{entry, message, TResourceScript(), TCompileJob()});
    };
    const TGenerationResult planned = GenerateResources(input, plan);
    FResult.Skipped = planned.Skipped;
    FResult.Failed = planned.Failed;
    FResult.Message = planned.Message;
    FStopped = planned.Failed;
    // The work starts on the event loop: the caller has connected to
    // Finished and set itself up before anything of the run reaches it.
    QMetaObject::invokeMethod(this, &TGenerationRun::Schedule, Qt::QueuedConnection);
}

void TGenerationRun::Cancel()
{
    FStopped = true;
    for (const std::unique_ptr<TActive>& active : FActive)
        active->Run->EndCompiler();
}

bool TGenerationRun::Busy(const TStep& step) const
{
    // Two entries can name the same script (letter case aside, as Windows
    // names files): the second waits for the first compile to end.
    for (const std::unique_ptr<TActive>& active : FActive) {
        const TStep& other = FSteps[size_t(active->Step)];
        if (other.Script.FileName.compare(step.Script.FileName, Qt::CaseInsensitive) == 0 ||
            CompileResourcePath(other.Job.GroupFolder, other.Job.ResName)
                    .compare(CompileResourcePath(step.Job.GroupFolder, step.Job.ResName),
                             Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void TGenerationRun::Schedule()
{
    const size_t jobs = size_t(qMax(Jobs, 1));
    while (!FStopped && FNext < FSteps.size() && FActive.size() < jobs) {
        const int index = int(FNext);
        const TStep& step = FSteps[FNext];
        if (!step.Message.isEmpty()) {
            ++FNext;
            TStepLog& log = FLog.AddStep();
            if (ProjectError)
                ProjectError(index, step.Entry, step.Message, log);
            else
                log.AppendLine(ProjectErrorLine(step.Entry, step.Message));
            FLog.EndStep(log);
            continue;
        }
        if (CompileScripts && Busy(step))
            break;
        ++FNext;
        // A script that cannot be written is not compiled and ends the
        // run; the compiles already started still end.
        if (!WriteScriptFile(step.Script, &FResult.Detail)) {
            FResult.Failed = true;
            FResult.Message = WriteFailureMessage(step.Job.GroupFolder);
            FStopped = true;
            break;
        }
        FResult.Written.append(step.Script.FileName);
        // The scripts on disk are now this run's: check and verify judge
        // them by its options.
        if (FResult.Written.size() == 1)
            WriteBuildRecord(FRecord);
        if (!CompileScripts)
            continue;
        ++FCompilesRun;
        auto active = std::make_unique<TActive>();
        active->Step = index;
        active->Log = &FLog.AddStep();
        for (const QString& warning : step.Job.Warnings)
            active->Log->AppendLine(QStringLiteral("*** ") + Tr("Warning: ") + warning);
        active->Run =
            FCompiler.StartCompile(step.Job.GroupFolder, step.Job.ResourcePath, step.Job.ScriptName,
                                   step.Job.ResName, *active->Log, *active->Log);
        TActive* const raw = active.get();
        connect(raw->Run.get(), &TCompileRun::Finished, this, [this, raw] { CompileEnded(raw); });
        FActive.push_back(std::move(active));
        raw->Run->Start();
    }
    if (FActive.empty() && (FStopped || FNext >= FSteps.size()) && !FDone) {
        FDone = true;
        Q_EMIT Finished();
    }
}

void TGenerationRun::CompileEnded(TActive* active)
{
    const TStep& step = FSteps[size_t(active->Step)];
    const TCompileResult result = LogCompileResult(step.Job, active->Run->Outcome(), *active->Log,
                                                   *active->Log, CheckResources);
    if (Compiled)
        Compiled(active->Step, step.Job, result);
    FLog.EndStep(*active->Log);
    for (auto it = FActive.begin(); it != FActive.end(); ++it) {
        if (it->get() != active)
            continue;
        // The run is still inside its own signal: it goes once that is over,
        // or with this object.
        TCompileRun* run = (*it)->Run.release();
        run->setParent(this);
        run->deleteLater();
        FActive.erase(it);
        break;
    }
    Schedule();
}
