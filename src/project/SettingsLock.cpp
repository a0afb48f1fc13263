#include "project/SettingsLock.h"

#include "support/QuorvelError.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

TSettingsLock::TSettingsLock(const QString& settingsFile)
    : FSettingsFile(settingsFile), FLock(settingsFile + QStringLiteral(".lock"))
{
    FLock.setStaleLockTime(StaleLockMs);
}

void TSettingsLock::Lock(int waitMs)
{
    // Polled at a short, fixed interval: QLockFile's own wait doubles its
    // sleeps, so with many runs waiting the lock would often lie idle.
    const QDeadlineTimer deadline(waitMs);
    while (!FLock.tryLock(0)) {
        // No lock file can be made there (a read-only folder): the settings
        // file could not be written either.
        if (FLock.error() != QLockFile::LockFailedError)
            throw TQuorvelError(FormatText(Tr("Unable to write to %s"), {FSettingsFile}));
        // A run killed while it wrote the lock leaves a file without an
        // owner to ask about; once it has sat there a moment, no run is
        // still writing it.
        if (!FLock.getLockInfo(nullptr, nullptr, nullptr) &&
            QFileInfo(FLock.fileName()).lastModified().msecsTo(QDateTime::currentDateTime()) >
                UnreadableLockMs)
            FLock.removeStaleLockFile();
        else if (deadline.hasExpired())
            throw TQuorvelError(
                Tr("The settings file \"%1\" is in use by another run; nothing was changed")
                    .arg(FSettingsFile));
        QThread::msleep(10);
    }
}
