#pragma once

#include <QtGlobal>

class QProcess;

// A started compiler together with the processes it starts, so that all of
// them can be ended at once: on Windows a job object, elsewhere the process
// group the compiler leads (it must have been started as its leader).
class TProcessTree
{
public:
    explicit TProcessTree(const QProcess& process);
    ~TProcessTree();
    TProcessTree(const TProcessTree&) = delete;
    TProcessTree& operator=(const TProcessTree&) = delete;

    void EndAll(QProcess& process);

private:
#ifdef Q_OS_WIN
    void* FJob = nullptr;
    void* FProcess = nullptr;
#endif
};
