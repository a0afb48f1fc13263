#include "project/SettingsLock.h"

#include "support/QuorvelError.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>

TSettingsLock::TSettingsLock(const QString& settingsFile)
    : FSettingsFile(settingsFile), FLock(settingsFile + QStringLiteral(".lock"))
{
    FLock.setStaleLockTime(StaleLockMs);
}

namespace
{

// A run killed between creating a lock file and writing its owner into it
// leaves a file without an owner to ask about, which QLockFile takes for
// stale only after StaleLockMs. Once such a file has sat there a moment, no
// run is still writing it: it is removed. Returns whether it was.
bool RemoveOwnerlessLock(const QString& fileName)
{
    const QFileInfo info(fileName);
    QLockFile file(fileName);
    if (!info.exists() || file.getLockInfo(nullptr, nullptr, nullptr) ||
        info.lastModified().msecsTo(QDateTime::currentDateTime()) <=
            TSettingsLock::UnreadableLockMs)
        return false;
    return file.removeStaleLockFile();
}

// Why no lock file can be written beside the settings file (a read-only
// folder, a full disk): QLockFile does not tell, so a small file is written
// there as the lock file would be. Empty when that succeeds.
QString LockFolderReason(const QString& lockFile)
{
    QFile probe(lockFile + QStringLiteral(".probe"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return SystemReason(probe.errorString());
    const QByteArray bytes(256, 'x');
    const bool written = probe.write(bytes) == bytes.size();
    const QString reason = written ? QString()
                           : probe.error() == QFileDevice::NoError
                               ? SystemReason(QString::fromLocal8Bit(std::strerror(errno)))
                               : SystemReason(probe.errorString());
    probe.remove();
    return reason;
}

} // namespace

void TSettingsLock::Lock(int waitMs)
{
    // Polled at a short, fixed interval: QLockFile's own wait doubles its
    // sleeps, so with many runs waiting the lock would often lie idle.
    const QDeadlineTimer deadline(waitMs);
    while (!FLock.tryLock(0)) {
        // No lock file can be made there (a read-only folder): the settings
        // file could not be written either.
        if (FLock.error() != QLockFile::LockFailedError) {
            QString message = FormatText(Tr("Unable to write to %s"), {FSettingsFile});
            const QString reason = LockFolderReason(FLock.fileName());
            if (!reason.isEmpty())
                message += QStringLiteral(". ") + reason;
            throw TQuorvelError(message, reason);
        }
        // The lock, or the guard QLockFile takes while it removes a stale
        // lock, may have been left by a run killed while it wrote it.
        const bool removed = RemoveOwnerlessLock(FLock.fileName());
        if (!(RemoveOwnerlessLock(FLock.fileName() + QStringLiteral(".rmlock")) || removed) &&
            deadline.hasExpired())
            throw TQuorvelError(
                Tr("The settings file \"%1\" is in use by another run; nothing was changed")
                    .arg(FSettingsFile));
        QThread::msleep(10);
    }
}
