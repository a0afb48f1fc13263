#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "testsupport/TestFiles.h"

// A temporary folder holding a copy of a project group, a configuration for
// the command-line tool, and runs of the tool on them. Tests change only the
// copy.
class TGroupCopy
{
public:
    using TRun = TestFiles::TCliRun;

    TGroupCopy();

    // Copies the demo group to "demo" and the default template beside it;
    // returns the group file.
    QString CopyDemo();
    // Copies a group file of the corpus (relative to the corpus folder) and
    // every project file it names that exists to "corpus"; returns the group
    // file. Entries that leave the group's folder are not copied.
    QString CopyCorpusGroup(const QString& groupFile);

    QString Path(const QString& relative) const;
    QString Config() const { return Path(QStringLiteral("cfg/quorvel.ini")); }
    // The configuration: the lines given, then the template and the compiler.
    void WriteConfig(const QStringList& lines, const QString& compiler = QString());

    // Runs quorvel-cli --config Config() with the arguments, in English, away
    // from the user's own configuration.
    TRun Run(const QStringList& arguments,
             const QList<QPair<QString, QString>>& variables = {}) const;

    // Every file below the folder with its size, time and checksum, sorted:
    // equal listings mean nothing was written.
    QStringList Listing() const;

    QTemporaryDir Dir;
};
