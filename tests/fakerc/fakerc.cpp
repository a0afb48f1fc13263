// A stand-in for a resource compiler, scripted through the environment:
//   FAKERC_ARGS_FILE  append the arguments, one per line, to this file
//   FAKERC_STDOUT     text for standard output (\n, \r, \xHH are decoded)
//   FAKERC_STDERR     text for standard error (decoded the same way)
//   FAKERC_BYTES      write this many bytes of "x" to standard output
//   FAKERC_SLEEP_MS   sleep this long after writing
//   FAKERC_WRITE_RES  write a resource file with a VERSIONINFO to the file named
//                     by -fo: its FILEVERSION is the value ("9,9,9,9") or,
//                     for "script", the script's own FILEVERSION line
//   FAKERC_VERSION_RES when set, write a resource file with the script's
//                     FILEVERSION, PRODUCTVERSION, CompanyName and
//                     FileDescription to the file named by -fo, as a compiler
//                     would
//   FAKERC_PID_FILE   append its process id and a line break to this file once
//                     its output is written, before the sleep: a test waits
//                     for it instead of for a guessed time
//   FAKERC_EXIT       exit code (default 0)
//   FAKERC_CRASH      when set, end killed by a signal, as a crashing compiler
//   FAKERC_PLAN_DIR   a folder with a file per script, named after the
//                     script's file name plus ".env" ("App-32.rc.env"): its
//                     NAME=VALUE lines set the variables above for that
//                     script alone
#include "resgen/VersionResBytes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <qt_windows.h>
#endif

namespace
{

QByteArray Decode(const QByteArray& in)
{
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out += in[i];
            continue;
        }
        const char c = in[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 'x' && i + 2 < in.size()) {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

// The four numbers after a statement such as "FILEVERSION 1,2,0,15".
void Numbers(const QString& script, const QString& statement, quint16 (&parts)[4])
{
    const QRegularExpression re(statement + QStringLiteral("\\s+(\\d+),(\\d+),(\\d+),(\\d+)"));
    const QRegularExpressionMatch m = re.match(script);
    for (int i = 0; i < 4; ++i)
        parts[i] = m.hasMatch() ? quint16(m.captured(i + 1).toUInt()) : 0;
}

// The text of VALUE "name", L"..." with the \x escapes the tool writes decoded.
QString StringValue(const QString& script, const QString& name)
{
    const QRegularExpression re(QStringLiteral("VALUE \"") + name +
                                QStringLiteral("\",\\s*L?\"([^\"]*)"));
    QString text = re.match(script).captured(1);
    text.replace(QStringLiteral("\\0"), QString());
    const QRegularExpression escape(QStringLiteral("\\\\x([0-9A-Fa-f]{4})"));
    for (QRegularExpressionMatch m = escape.match(text); m.hasMatch(); m = escape.match(text))
        text.replace(m.capturedStart(), m.capturedLength(),
                     QChar(char16_t(m.captured(1).toUShort(nullptr, 16))));
    return text;
}

void WriteVersionResource(const QByteArray& script, const QByteArray& res)
{
    QFile in(QString::fromLocal8Bit(script));
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(in.readAll());
    quint16 file[4], product[4];
    Numbers(text, QStringLiteral("FILEVERSION"), file);
    Numbers(text, QStringLiteral("PRODUCTVERSION"), product);
    const QByteArray bytes = VersionResBytes::ResFile(VersionResBytes::VersionInfo(
        file, product,
        {{QStringLiteral("CompanyName"), StringValue(text, QStringLiteral("CompanyName"))},
         {QStringLiteral("FileDescription"),
          StringValue(text, QStringLiteral("FileDescription"))}}));
    QFile out(QString::fromLocal8Bit(res));
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
#ifdef Q_OS_WIN
    // The bytes exactly as scripted: no "\n" made into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const QByteArray planDir = qgetenv("FAKERC_PLAN_DIR");
    for (int i = 1; i < argc && !planDir.isEmpty(); ++i) {
        const QByteArray a(argv[i]);
        if (!a.endsWith(".rc"))
            continue;
        const QByteArray name = a.mid(qMax(a.lastIndexOf('/'), a.lastIndexOf('\\')) + 1);
        QFile plan(QString::fromLocal8Bit(planDir + '/' + name + ".env"));
        if (plan.open(QIODevice::ReadOnly))
            for (const QByteArray& line : plan.readAll().split('\n'))
                if (line.contains('='))
                    qputenv(line.left(line.indexOf('=')).constData(),
                            line.mid(line.indexOf('=') + 1));
    }
    const QByteArray argsFile = qgetenv("FAKERC_ARGS_FILE");
    if (!argsFile.isEmpty()) {
        QFile f(QString::fromLocal8Bit(argsFile));
        if (f.open(QIODevice::Append)) {
            for (int i = 0; i < argc; ++i)
                f.write(QByteArray(argv[i]) + '\n');
            f.write("--\n");
        }
    }
    const QByteArray out = Decode(qgetenv("FAKERC_STDOUT"));
    const QByteArray err = Decode(qgetenv("FAKERC_STDERR"));
    fwrite(out.constData(), 1, size_t(out.size()), stdout);
    fflush(stdout);
    fwrite(err.constData(), 1, size_t(err.size()), stderr);
    fflush(stderr);
    const long long bytes = qgetenv("FAKERC_BYTES").toLongLong();
    if (bytes > 0) {
        const QByteArray block(4096, 'x');
        long long left = bytes;
        while (left > 0) {
            const size_t n = size_t(left < block.size() ? left : block.size());
            fwrite(block.constData(), 1, n, stdout);
            left -= (long long)n;
        }
        fflush(stdout);
    }
    if (qEnvironmentVariableIsSet("FAKERC_WRITE_RES") ||
        qEnvironmentVariableIsSet("FAKERC_VERSION_RES")) {
        QByteArray script, res;
        for (int i = 1; i < argc; ++i) {
            const QByteArray a(argv[i]);
            if (a.startsWith("-fo"))
                res = a.mid(3);
            else if (a.endsWith(".rc"))
                script = a;
        }
        if (qEnvironmentVariableIsSet("FAKERC_VERSION_RES")) {
            WriteVersionResource(script, res);
        } else {
            QByteArray version = qgetenv("FAKERC_WRITE_RES");
            QFile in(QString::fromLocal8Bit(script));
            if (version == "script" && in.open(QIODevice::ReadOnly))
                for (const QByteArray& line : in.readAll().split('\n'))
                    if (line.trimmed().startsWith("FILEVERSION "))
                        version = line.trimmed().mid(12);
            const QList<QByteArray> parts = version.split(',');
            quint16 file[4] = {0, 0, 0, 0};
            for (int k = 0; k < 4 && k < parts.size(); ++k)
                file[k] = quint16(parts[k].trimmed().toUInt());
            const quint16 product[4] = {1, 0, 0, 0};
            QFile outFile(QString::fromLocal8Bit(res));
            if (outFile.open(QIODevice::WriteOnly))
                outFile.write(
                    VersionResBytes::ResFile(VersionResBytes::VersionInfo(file, product, {})));
        }
    }
    const QByteArray pidFile = qgetenv("FAKERC_PID_FILE");
    if (!pidFile.isEmpty()) {
        QFile f(QString::fromLocal8Bit(pidFile));
        if (f.open(QIODevice::Append))
            f.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    }
    const int sleepMs = qgetenv("FAKERC_SLEEP_MS").toInt();
    if (sleepMs > 0)
        QThread::msleep(static_cast<unsigned long>(sleepMs));
    if (qEnvironmentVariableIsSet("FAKERC_CRASH")) {
#ifdef Q_OS_WIN
        // Ended as by an access violation, without a crash dialog.
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
#elif defined(SIGKILL)
        std::raise(SIGKILL); // no core file, unlike abort()
#endif
        std::abort();
    }
    return qgetenv("FAKERC_EXIT").toInt();
}
