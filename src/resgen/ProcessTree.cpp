#include "resgen/ProcessTree.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <csignal>
#include <sys/types.h>
#endif

#ifdef Q_OS_WIN
TProcessTree::TProcessTree(const QProcess& process)
{
    // Processes the compiler starts from now on belong to the job too.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    HANDLE handle =
        OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(process.processId()));
    if (job && handle && !AssignProcessToJobObject(job, handle)) {
        CloseHandle(job);
        job = nullptr;
    }
    FJob = job;
    FProcess = handle;
}

TProcessTree::~TProcessTree()
{
    if (FJob)
        CloseHandle(HANDLE(FJob));
    if (FProcess)
        CloseHandle(HANDLE(FProcess));
}

void TProcessTree::EndAll(QProcess& process)
{
    if (FJob)
        TerminateJobObject(HANDLE(FJob), 1);
    else if (FProcess)
        TerminateProcess(HANDLE(FProcess), 1);
    else
        process.kill();
}
#else
TProcessTree::TProcessTree(const QProcess&) {}

TProcessTree::~TProcessTree() = default;

void TProcessTree::EndAll(QProcess& process)
{
    // The compiler leads its own process group (see PrepareProcess).
    if (process.processId() > 0)
        ::kill(-pid_t(process.processId()), SIGKILL);
    process.kill();
}
#endif
