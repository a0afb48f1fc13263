#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Tells when files change on disk: their content, or their coming and going.
// Editors and git replace a file by renaming another one over it, which ends
// a watch on the file itself: the files' folders are watched too, and each
// look compares every file's content with what it held when last taken, so
// that a touch or a lock file beside them is no change.
class TFileWatch : public QObject
{
    Q_OBJECT

public:
    explicit TFileWatch(QObject* parent = nullptr);

    // Watches these files from now on, their present content taken as seen.
    void SetFiles(const QStringList& files);
    const QStringList& Files() const { return FFiles; }
    // Takes the present content of every file as seen (after one's own write).
    void Accept();
    // Looks at once: Changed when a file differs from what was seen.
    void Check();

    // What was seen of a file: its size and time, and its content.
    struct TSeen {
        QByteArray Stamp;
        QByteArray Hash; // empty: no such file
    };

Q_SIGNALS:
    // At least one file differs from what was seen; it is taken as seen now.
    void Changed();

private:
    void Rewatch();

    QFileSystemWatcher FWatcher;
    QStringList FFiles;
    QHash<QString, TSeen> FSeen;
    // A save or a checkout touches several files in a row: one look after
    // the burst.
    QTimer FSettle;
};
