#pragma once

#include <QObject>

class QSocketNotifier;

// The requests to end the program that come from outside it: SIGINT, SIGTERM
// and SIGHUP on POSIX systems (Ctrl+C, a cancelled CI job, a closed
// terminal), reported on the event loop, where the program can still save and
// end what it started. While an object lives, these signals no longer end the
// program at once; its destruction puts the earlier handling back. On Windows
// nothing is caught here (the session's end reaches the window as the
// application's commitDataRequest).
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

Q_SIGNALS:
    // The signal's number; the program's exit code should be 128 plus it.
    void Received(int signalNumber);

private:
    void ReadSignal();

#ifndef Q_OS_WIN
    int FPipe[2] = {-1, -1};
    QSocketNotifier* FNotifier = nullptr;
    TTerminationSignals* FOuter = nullptr;
#endif
};
