// A stand-in for a resource compiler, scripted through the environment:
//   FAKERC_ARGS_FILE  append the arguments, one per line, to this file
//   FAKERC_STDOUT     text for standard output (\n, \r, \xHH are decoded)
//   FAKERC_STDERR     text for standard error (decoded the same way)
//   FAKERC_BYTES      write this many bytes of "x" to standard output
//   FAKERC_SLEEP_MS   sleep this long after writing
//   FAKERC_WRITE_RES  write a resource file with a VERSIONINFO to the file named
//                     by -fo: its FILEVERSION is the value ("9,9,9,9") or,
//                     for "script", the script's own FILEVERSION line
//   FAKERC_EXIT       exit code (default 0)
//   FAKERC_CRASH      when set, end killed by a signal, as a crashing compiler
#include "resgen/VersionResBytes.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv)
{
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
    if (qEnvironmentVariableIsSet("FAKERC_WRITE_RES")) {
        QByteArray script, res;
        for (int i = 1; i < argc; ++i) {
            const QByteArray a(argv[i]);
            if (a.startsWith("-fo"))
                res = a.mid(3);
            else if (a.endsWith(".rc"))
                script = a;
        }
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
            outFile.write(VersionResBytes::ResFile(VersionResBytes::VersionInfo(file, product, {})));
    }
    const int sleepMs = qgetenv("FAKERC_SLEEP_MS").toInt();
    if (sleepMs > 0)
        QThread::msleep(static_cast<unsigned long>(sleepMs));
    if (qEnvironmentVariableIsSet("FAKERC_CRASH")) {
#ifdef SIGKILL
        std::raise(SIGKILL); // no core file, unlike abort()
#endif
        std::abort();
    }
    return qgetenv("FAKERC_EXIT").toInt();
}
