#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QProcess;

// Helpers for tests that work on real files.
namespace TestFiles
{

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
// The window program; empty in a build without it.
QString WindowProgram();

// The system's text for a file that is not there, as messages show it.
QString NotFoundText();
// A path with this system's delimiters, as the program shows paths.
QString Native(const QString& path);

// A message with each absolute file name between double quotes in this
// system's delimiters, as the program writes them (on Windows: those that
// begin with a drive).
QString NativeQuoted(const QString& message);

// Whether a write-protected file or folder keeps this process out: not so
// for root on POSIX systems.
bool PermissionsBind();
// Ends a process at once (SIGKILL, TerminateProcess).
void KillProcess(qint64 pid);
// Whether a process with that id is still there; one that has ended but
// was not reaped yet counts as ended.
bool ProcessAlive(qint64 pid);

// All files below a folder whose names end with one of the suffixes.
QStringList FindFiles(const QString& folder, const QStringList& suffixes);

// Every file and folder below a folder with its size and modification time,
// sorted: equal listings mean nothing was written.
QStringList Listing(const QString& folder);

// What a run of the command-line tool gave.
struct TCliRun {
    int ExitCode = -1; // -1: it did not end normally within the time; -2: on
                       // Windows, a line came out ended twice (CR CR LF)
    QString Out;
    QString Err;
};
// What a program printed, as text with "\n" line ends (the text mode of
// Windows programs makes them CR LF); null when a line came out ended twice.
QString ProgramOutput(const QByteArray& bytes);
// Starts a program and waits until it runs. Wine, busy with a second test
// program, now and then fails to create a process at all; the program never
// ran then, so it is started again (three attempts, each one warned of).
// False, with the process's error set, when it still did not start.
bool Start(QProcess& process, const QString& program, const QStringList& arguments);
// Runs quorvel-cli in workingDirectory with the environment variables added,
// HOME and XDG_CONFIG_HOME below home (so that the user's own configuration
// is never read), in English.
TCliRun RunCli(const QStringList& arguments, const QString& workingDirectory, const QString& home,
               const QList<QPair<QString, QString>>& variables = {},
               const QString& standardOutputFile = QString());

// A group file naming the entries, in the form the Delphi IDE writes.
QByteArray GroupFile(const QStringList& entries);
// A project file with a version key list and a platform value.
QByteArray ProjectFile(const QString& verInfoKeys, const QString& targetedPlatforms);

} // namespace TestFiles
