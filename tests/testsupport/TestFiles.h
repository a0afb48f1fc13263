#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Helpers for tests that work on real files.
namespace TestFiles {

// Writes bytes to a file, creating its folders; fails the test on error.
void Write(const QString& fileName, const QByteArray& bytes);
QByteArray Read(const QString& fileName);
// Lines joined with CR LF, each one ended, as the Delphi IDE writes them.
QByteArray CrLf(const QStringList& lines);

QString CorpusDir();
QString DataDir();
QString ExamplesDir();
QString FakeCompiler();
QString CliProgram();

// All files below a folder whose names end with one of the suffixes.
QStringList FindFiles(const QString& folder, const QStringList& suffixes);

// A group file naming the entries, in the form the Delphi IDE writes.
QByteArray GroupFile(const QStringList& entries);
// A project file with a version key list and a platform value.
QByteArray ProjectFile(const QString& verInfoKeys, const QString& targetedPlatforms);

} // namespace TestFiles
