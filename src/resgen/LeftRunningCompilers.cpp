#include "resgen/LeftRunningCompilers.h"

#include <QProcess>

namespace
{

// Compilers still running when their keeper went. The list itself is never
// freed, so they stay reachable to the end of the program.
std::vector<QProcess*>& AbandonedCompilers()
{
    static auto* const list = new std::vector<QProcess*>;
    return *list;
}

} // namespace

TLeftRunningCompilers::~TLeftRunningCompilers()
{
    ReleaseEnded();
    for (std::unique_ptr<QProcess>& process : FProcesses)
        AbandonedCompilers().push_back(process.release());
}

void TLeftRunningCompilers::Keep(std::unique_ptr<QProcess> process)
{
    FProcesses.push_back(std::move(process));
}

void TLeftRunningCompilers::ReleaseEnded()
{
    for (auto it = FProcesses.begin(); it != FProcesses.end();) {
        QProcess& process = **it;
        if (process.state() != QProcess::NotRunning)
            process.waitForFinished(0);
        // Whatever it printed after its time was up does not go to the log.
        process.readAll();
        if (process.state() == QProcess::NotRunning)
            it = FProcesses.erase(it);
        else
            ++it;
    }
}

QList<qint64> TLeftRunningCompilers::Running()
{
    ReleaseEnded();
    QList<qint64> ids;
    for (const std::unique_ptr<QProcess>& process : FProcesses)
        ids.append(process->processId());
    return ids;
}
