#include "support/TerminationSignals.h"

#include <QSocketNotifier>

#ifndef Q_OS_WIN
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#endif

#ifndef Q_OS_WIN
namespace
{

const int Caught[] = {SIGINT, SIGTERM, SIGHUP};

// The innermost live object's pipe: a signal handler may only write to it.
volatile sig_atomic_t WriteEnd = -1;
TTerminationSignals* Innermost = nullptr;
struct sigaction Previous[3];

extern "C" void OnSignal(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const int fd = WriteEnd;
    if (fd >= 0) {
        const ssize_t written = ::write(fd, &byte, 1);
        static_cast<void>(written);
    }
}

} // namespace
#endif

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent)
{
#ifndef Q_OS_WIN
    if (::pipe(FPipe) != 0)
        return;
    for (int fd : FPipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    FNotifier = new QSocketNotifier(FPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::ReadSignal);
    FOuter = Innermost;
    Innermost = this;
    WriteEnd = FPipe[1];
    if (!FOuter) {
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (size_t i = 0; i < std::size(Caught); ++i)
            sigaction(Caught[i], &action, &Previous[i]);
    }
#endif
}

TTerminationSignals::~TTerminationSignals()
{
#ifndef Q_OS_WIN
    if (FPipe[0] < 0)
        return;
    if (Innermost == this) {
        Innermost = FOuter;
        WriteEnd = FOuter ? FOuter->FPipe[1] : -1;
        if (!FOuter)
            for (size_t i = 0; i < std::size(Caught); ++i)
                sigaction(Caught[i], &Previous[i], nullptr);
    } else {
        // Objects end in the reverse order of their making; one in between
        // leaves the chain.
        for (TTerminationSignals* t = Innermost; t; t = t->FOuter)
            if (t->FOuter == this) {
                t->FOuter = FOuter;
                break;
            }
    }
    delete FNotifier;
    ::close(FPipe[0]);
    ::close(FPipe[1]);
#endif
}

void TTerminationSignals::ReadSignal()
{
#ifndef Q_OS_WIN
    unsigned char byte = 0;
    while (::read(FPipe[0], &byte, 1) == 1)
        Q_EMIT Received(int(byte));
#endif
}
