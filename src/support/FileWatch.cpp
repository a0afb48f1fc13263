#include "support/FileWatch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// Longer files are told apart by size and time alone.
constexpr qint64 MaxHashedSize = 64 * 1024 * 1024;
constexpr int SettleMs = 100;

// What a file holds: its size and time, and its content's hash, taken anew
// only when those two changed (a compile writes beside every project file).
TFileWatch::TSeen Look(const QString& fileName, const TFileWatch::TSeen* before)
{
    TFileWatch::TSeen seen;
    const QFileInfo info(fileName);
    if (!info.exists())
        return seen;
    seen.Stamp = QByteArray::number(info.size()) + ' ' +
                 QByteArray::number(info.lastModified().toMSecsSinceEpoch());
    if (before && before->Stamp == seen.Stamp)
        return *before;
    // A file that exists, even an empty one, differs from one that does not.
    seen.Hash = "f";
    if (!info.isFile() || info.size() > MaxHashedSize)
        return seen;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(&file);
        seen.Hash += hash.result();
    }
    return seen;
}

} // namespace

TFileWatch::TFileWatch(QObject* parent) : QObject(parent)
{
    FSettle.setSingleShot(true);
    FSettle.setInterval(SettleMs);
    connect(&FSettle, &QTimer::timeout, this, &TFileWatch::Check);
    const auto settle = [this] { FSettle.start(); };
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, settle);
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, settle);
}

void TFileWatch::SetFiles(const QStringList& files)
{
    if (!FWatcher.files().isEmpty())
        FWatcher.removePaths(FWatcher.files());
    if (!FWatcher.directories().isEmpty())
        FWatcher.removePaths(FWatcher.directories());
    FFiles = files;
    FFiles.removeAll(QString());
    FFiles.removeDuplicates();
    Accept();
}

void TFileWatch::Accept()
{
    QHash<QString, TSeen> seen;
    for (const QString& file : FFiles)
        seen.insert(file, Look(file, FSeen.contains(file) ? &FSeen[file] : nullptr));
    FSeen = seen;
    Rewatch();
}

void TFileWatch::Rewatch()
{
    // A file renamed over or removed has left the watcher: it is watched again
    // once it is back.
    QStringList paths;
    for (const QString& file : FFiles) {
        const QFileInfo info(file);
        if (info.exists())
            paths << QDir::fromNativeSeparators(file);
        if (info.absoluteDir().exists())
            paths << info.absolutePath();
    }
    paths.removeDuplicates();
    const QStringList watched = FWatcher.files() + FWatcher.directories();
    QStringList added;
    for (const QString& path : paths)
        if (!watched.contains(path))
            added << path;
    if (!added.isEmpty())
        FWatcher.addPaths(added);
}

void TFileWatch::Check()
{
    FSettle.stop();
    bool changed = false;
    for (const QString& file : FFiles) {
        const auto before = FSeen.constFind(file);
        const TSeen now = Look(file, before == FSeen.constEnd() ? nullptr : &*before);
        if (before == FSeen.constEnd() || before->Hash != now.Hash)
            changed = true;
        FSeen.insert(file, now);
    }
    Rewatch();
    if (changed)
        Q_EMIT Changed();
}
