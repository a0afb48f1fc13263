#include "testsupport/TestFiles.h"

#include "support/TextHelpers.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <stdexcept>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <signal.h>
#include <sys/types.h>
#endif

namespace TestFiles
{

void Write(const QString& fileName, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + fileName.toStdString());
}

QByteArray Read(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file " + fileName.toStdString());
    return f.readAll();
}

QByteArray CrLf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

namespace
{

// The build tree's own paths. A cross-built test program runs under Wine,
// where the build machine's root is the drive Z:.
QString BuildPath(const char* path)
{
    const QString text = QString::fromUtf8(path);
#ifdef Q_OS_WIN
    if (text.startsWith(u'/'))
        return QStringLiteral("Z:") + text;
#endif
    return text;
}

} // namespace

QString CorpusDir()
{
    return BuildPath(QUORVEL_CORPUS_DIR);
}
QString DataDir()
{
    return BuildPath(QUORVEL_TEST_DATA_DIR);
}
QString ExamplesDir()
{
    return BuildPath(QUORVEL_EXAMPLES_DIR);
}
QString FakeCompiler()
{
    return BuildPath(QUORVEL_FAKERC);
}
QString CliProgram()
{
    return BuildPath(QUORVEL_CLI);
}
QString WindowProgram()
{
#ifdef QUORVEL_WINDOW_PROGRAM
    return BuildPath(QUORVEL_WINDOW_PROGRAM);
#else
    return QString();
#endif
}

QString NotFoundText()
{
    return MissingFileReason();
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString NativeQuoted(const QString& message)
{
    QString text = message;
    for (qsizetype open = text.indexOf(u'"'); open >= 0;) {
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            break;
        // Only what is a path: on Windows one that begins with a drive.
        const QString quoted = text.mid(open + 1, close - open - 1);
        if (quoted.size() > 2 && quoted[1] == u':')
            text.replace(open + 1, close - open - 1, Native(quoted));
        open = text.indexOf(u'"', close + 1);
    }
    return text;
}

bool PermissionsBind()
{
    // Root on POSIX systems, and Wine run by root, write protected files all
    // the same: ask the system rather than guess.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("probe"));
    Write(file, "x");
    QFile::setPermissions(file, QFile::ReadOwner);
    QFile f(file);
    const bool refused = !f.open(QIODevice::WriteOnly | QIODevice::Append);
    f.close();
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    return refused;
}

void KillProcess(qint64 pid)
{
#ifdef Q_OS_WIN
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        TerminateProcess(h, 1);
        CloseHandle(h);
    }
#else
    ::kill(pid_t(pid), SIGKILL);
#endif
}

bool ProcessAlive(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!h)
        return false;
    const bool alive = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return alive;
#else
    // One that has ended but was not reaped yet (a zombie) counts as ended.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
#endif
}

QStringList FindFiles(const QString& folder, const QStringList& suffixes)
{
    QStringList result;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        for (const QString& s : suffixes)
            if (f.endsWith(s, Qt::CaseInsensitive)) {
                result.append(f);
                break;
            }
    }
    result.sort();
    return result;
}

QStringList Listing(const QString& folder)
{
    QStringList result;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        result << QStringLiteral("%1 %2 %3")
                      .arg(f.filePath())
                      .arg(f.size())
                      .arg(f.lastModified().toMSecsSinceEpoch());
    }
    result.sort();
    return result;
}

QString ProgramOutput(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
#ifdef Q_OS_WIN
    // Standard output and error are in text mode: every "\n" reaches us as
    // "\r\n", which is what Windows programs expect; a CR CR LF would not be.
    if (text.contains(QLatin1String("\r\r\n")))
        return QString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
#endif
    if (text.isNull())
        text = QLatin1String("");
    return text;
}

bool Start(QProcess& process, const QString& program, const QStringList& arguments)
{
    constexpr int Attempts = 3;
    for (int attempt = 1;; ++attempt) {
        process.start(program, arguments);
        if (process.waitForStarted(30000))
            return true;
        if (process.error() != QProcess::FailedToStart || attempt == Attempts)
            return false;
        qWarning("%s did not start, attempt %d of %d: %s", qPrintable(program), attempt, Attempts,
                 qPrintable(process.errorString()));
    }
}

TCliRun RunCli(const QStringList& arguments, const QString& workingDirectory, const QString& home,
               const QList<QPair<QString, QString>>& variables, const QString& standardOutputFile)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const auto& [name, value] : variables)
        env.insert(name, value);
    QProcess p;
    if (!standardOutputFile.isEmpty())
        p.setStandardOutputFile(standardOutputFile);
    p.setWorkingDirectory(workingDirectory);
    p.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    TCliRun r;
    if (Start(p, CliProgram(), arguments) && p.waitForFinished(60000) &&
        p.exitStatus() == QProcess::NormalExit) {
        r.ExitCode = p.exitCode();
        r.Out = ProgramOutput(p.readAllStandardOutput());
        r.Err = ProgramOutput(p.readAllStandardError());
        if (r.Out.isNull() || r.Err.isNull())
            r.ExitCode = -2;
        return r;
    }
    // Says what went wrong, so that a rare failure can be told from the log
    // alone.
    r.Err = QStringLiteral("quorvel-cli did not end normally after %1 ms: %2 "
                           "(process error %3, exit code %4)\n%5")
                .arg(timer.elapsed())
                .arg(p.errorString())
                .arg(int(p.error()))
                .arg(p.exitCode())
                .arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return r;
}

QByteArray GroupFile(const QStringList& entries)
{
    QStringList lines{
        QStringLiteral("<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"),
        QStringLiteral("    <ItemGroup>")};
    for (const QString& e : entries) {
        lines << QStringLiteral("        <Projects Include=\"%1\">").arg(e)
              << QStringLiteral("            <Dependencies/>")
              << QStringLiteral("        </Projects>");
    }
    lines << QStringLiteral("    </ItemGroup>") << QStringLiteral("</Project>");
    return "\xEF\xBB\xBF" + CrLf(lines);
}

QByteArray ProjectFile(const QString& verInfoKeys, const QString& targetedPlatforms)
{
    QStringList lines{
        QStringLiteral("<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"),
        QStringLiteral("    <PropertyGroup>")};
    if (!targetedPlatforms.isNull())
        lines << QStringLiteral("        <TargetedPlatforms>%1</TargetedPlatforms>")
                     .arg(targetedPlatforms);
    lines << QStringLiteral("    </PropertyGroup>")
          << QStringLiteral("    <PropertyGroup Condition=\"'$(Base)'!=''\">");
    if (!verInfoKeys.isNull())
        lines << QStringLiteral("        <VerInfo_Keys>%1</VerInfo_Keys>").arg(verInfoKeys);
    lines << QStringLiteral("    </PropertyGroup>") << QStringLiteral("</Project>");
    return "\xEF\xBB\xBF" + CrLf(lines);
}

} // namespace TestFiles
