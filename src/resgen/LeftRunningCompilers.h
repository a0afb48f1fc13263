#pragma once

#include <QList>
#include <memory>
#include <vector>

class QProcess;

// Compilers left running after their time was up, as the window leaves
// them: their process objects are kept, for destroying a QProcess kills its
// program, and dropped once the compiler has ended.
class TLeftRunningCompilers
{
public:
    TLeftRunningCompilers() = default;
    // The compilers still running go on on their own: their process objects
    // are kept until the program ends.
    ~TLeftRunningCompilers();
    TLeftRunningCompilers(const TLeftRunningCompilers&) = delete;
    TLeftRunningCompilers& operator=(const TLeftRunningCompilers&) = delete;

    void Keep(std::unique_ptr<QProcess> process);
    // Drops the process objects of compilers that have ended, and what
    // they printed.
    void ReleaseEnded();
    // The process ids of those still running.
    QList<qint64> Running();

private:
    std::vector<std::unique_ptr<QProcess>> FProcesses;
};
