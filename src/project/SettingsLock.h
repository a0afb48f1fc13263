#pragma once

#include <QLockFile>
#include <QString>

// The lock beside a group's settings file ("<group>.vprj.lock") that runs
// changing the file hold around reading and writing it, so that concurrent
// runs (a build server raising build numbers, the window saving) do not lose
// each other's updates. A lock whose owner has ended, or that is older than
// StaleLockMs, is taken over.
class TSettingsLock
{
public:
    // How long a run waits for another run's lock before it gives up: long
    // enough for a queue of runs that each hold it a moment (twenty bumps at
    // once from a build server, on a busy machine or under Wine).
    static constexpr int WaitMs = 20000;
    static constexpr int StaleLockMs = 30000;
    // A lock file without readable owner (its run was killed while writing
    // it) is taken over after this.
    static constexpr int UnreadableLockMs = 1000;

    explicit TSettingsLock(const QString& settingsFile);
    TSettingsLock(const TSettingsLock&) = delete;
    TSettingsLock& operator=(const TSettingsLock&) = delete;

    // Waits for the lock; throws TQuorvelError when another run keeps it
    // longer than waitMs.
    void Lock(int waitMs = WaitMs);
    // The settings file the lock guards.
    const QString& SettingsFile() const { return FSettingsFile; }

private:
    QString FSettingsFile;
    QLockFile FLock;
};
