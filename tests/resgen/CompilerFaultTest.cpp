// Compilers that misbehave: hanging without a word, filling the pipe to an
// exact multiple of its pages and hanging, printing megabytes, failing with
// their text on standard error only, leaving a child behind that holds the
// pipe. Every run ends within its time limit plus a small margin, and the log
// holds exactly what the compiler printed and the line that says how it ended.

#include "resgen/ResourceCompiler.h"

#include "testsupport/TestCompiler.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TextLog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace
{

// Process start and the last read slice may add to the limit; more than this
// means something blocked.
constexpr qint64 MarginMs = 1000;
constexpr int ShortLimitMs = 1500;

const QString Headers =
    QStringLiteral("=====================================\r\nCompile resource file: ") +
    TestFiles::Native(QStringLiteral("R/App-32.rc")) + QStringLiteral(" => App-32.res\r\n");
const QString TimedOut = QStringLiteral("*** Error: The wait operation timed out");

using TVars = std::vector<std::pair<const char*, QByteArray>>;

class TEnvironment
{
public:
    explicit TEnvironment(const TVars& vars)
    {
        for (const auto& [name, value] : vars) {
            qputenv(name, value);
            FNames.append(name);
        }
    }
    ~TEnvironment()
    {
        for (const QByteArray& name : FNames)
            qunsetenv(name.constData());
    }

private:
    QList<QByteArray> FNames;
};

class TErrors : public IErrorReporter
{
public:
    void ShowError(const QString& text) override { Errors.append(text); }
    QStringList Errors;
};

void EndLeftRunning(TTestCompiler& compiler)
{
    for (const qint64 pid : compiler.RunningCompilers())
        TestFiles::KillProcess(pid);
    QElapsedTimer t;
    t.start();
    while (!compiler.RunningCompilers().isEmpty() && t.elapsed() < 5000)
        QThread::msleep(20);
}

struct TFaultCase {
    const char* Name;
    TVars Script;
    int TimeoutMs;
    QString Log; // after the two header lines
    bool FinishedInTime;
    int ExitCode;
};

void PrintTo(const TFaultCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompilerFaultTest : public testing::TestWithParam<TFaultCase>
{
};

TEST_P(CompilerFaultTest, EndsInTimeAndLogsWhatWasPrinted)
{
    const TFaultCase& c = GetParam();
    const TEnvironment environment(c.Script);
    TTextLog log;
    TErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    compiler.TimeoutMs = c.TimeoutMs;
    QElapsedTimer timer;
    timer.start();
    const TCompileOutcome outcome = compiler.CompileResource(
        QStringLiteral("/g/"), QStringLiteral("R"), QStringLiteral("App-32.rc"));
    const qint64 elapsed = timer.elapsed();
    EndLeftRunning(compiler);

    // What went wrong must be readable from a CI log that keeps only a part
    // of the output: the whole story on one line.
    const QString expected = Headers + c.Log;
    const QString actual = log.Text();
    qsizetype firstDifference = 0;
    while (firstDifference < qMin(expected.size(), actual.size()) &&
           expected[firstDifference] == actual[firstDifference])
        ++firstDifference;
    SCOPED_TRACE(testing::Message()
                 << c.Name << ": " << elapsed << " ms, started " << outcome.Started << ", in time "
                 << outcome.FinishedInTime << ", exit " << outcome.ExitCode << ", reason \""
                 << outcome.Reason.toStdString() << "\", log " << actual.size() << " of "
                 << expected.size() << " characters, first difference at " << firstDifference
                 << ": \"" << actual.mid(firstDifference, 60).toStdString() << "\"");
    EXPECT_LT(elapsed, c.TimeoutMs + MarginMs);
    if (!c.FinishedInTime) {
        EXPECT_GE(elapsed, c.TimeoutMs - 50);
    }
    EXPECT_TRUE(outcome.Started);
    EXPECT_EQ(outcome.FinishedInTime, c.FinishedInTime);
    EXPECT_EQ(outcome.ExitCode, c.ExitCode);
    EXPECT_TRUE(errors.Errors.isEmpty()) << errors.Errors.join(u'|').toStdString();
    // Not printed as a whole: a mismatch of megabytes is not worth printing.
    EXPECT_TRUE(actual == expected);
}

QString Xs(int count)
{
    return QString(count, u'x');
}

QByteArray Number(int n)
{
    return QByteArray::number(n);
}

const TFaultCase Cases[] = {
    {"HangsWithoutOutput",
     {{"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     TimedOut + "\r\n",
     false,
     0},
    // A pipe holds 16 pages of 4096 bytes: exactly one page, exactly a full
    // pipe, one page more, and far more than a pipe, each then silent.
    {"OnePageThenHangs",
     {{"FAKERC_BYTES", Number(4096)}, {"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     Xs(4096) + "\r\n" + TimedOut,
     false,
     0},
    {"FullPipeThenHangs",
     {{"FAKERC_BYTES", Number(16 * 4096)}, {"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     Xs(16 * 4096) + "\r\n" + TimedOut,
     false,
     0},
    {"FullPipeAndAPageThenHangs",
     {{"FAKERC_BYTES", Number(17 * 4096)}, {"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     Xs(17 * 4096) + "\r\n" + TimedOut,
     false,
     0},
    {"SixtyFourPagesThenHangs",
     {{"FAKERC_BYTES", Number(64 * 4096)}, {"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     Xs(64 * 4096) + "\r\n" + TimedOut,
     false,
     0},
// More than a pipe on standard error (an environment value holds at most
// 128 KiB).
#ifndef Q_OS_WIN // an environment variable holds at most 32767 characters there
    {"MoreThanAPipeOfStandardErrorThenHangs",
     {{"FAKERC_STDERR", QByteArray(100000, 'e') + "\\n"}, {"FAKERC_SLEEP_MS", "60000"}},
     ShortLimitMs,
     QString(100000, u'e') + "\r\n" + TimedOut + "\r\n",
     false,
     0},
#endif
    // Ending by itself, the compiler is not bound by the limit: the full one
    // leaves room for slow (sanitizer) builds.
    {"TenMegabytes",
     {{"FAKERC_BYTES", Number(10 * 1024 * 1024)}},
     CompilerTimeoutMs,
     Xs(10 * 1024 * 1024),
     true,
     0},
    {"TenMegabytesThenFails",
     {{"FAKERC_BYTES", Number(10 * 1024 * 1024)}, {"FAKERC_EXIT", "1"}},
     CompilerTimeoutMs,
     Xs(10 * 1024 * 1024) + "\r\n*** Error: exit code 1",
     true,
     1},
    {"FailsWithStandardErrorOnly",
     {{"FAKERC_STDERR", "rc: error: cannot open file\\r\\n"}, {"FAKERC_EXIT", "1"}},
     ShortLimitMs,
     "rc: error: cannot open file\r\n*** Error: exit code 1\r\n",
     true,
     1},
    {"FailsWithUnendedStandardErrorOnly",
     {{"FAKERC_STDERR", "fatal"}, {"FAKERC_EXIT", "1"}},
     ShortLimitMs,
     "fatal\r\n*** Error: exit code 1",
     true,
     1},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompilerFaultTest, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A compiler that ends at once but leaves a child behind that still holds its
// output pipe: the run ends with the compiler, not with the child.
TEST(CompilerFault, ChildHoldingThePipeDoesNotHoldTheRun)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the compiler here is a shell script that starts a child in the background";
#endif
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("child.pid"));
    const QString compilerFile = dir.filePath(QStringLiteral("rc.sh"));
    TestFiles::Write(compilerFile, "#!/bin/sh\necho compiled\nsleep 30 &\necho $! >\"" +
                                       QFile::encodeName(pidFile) + "\"\nexit 0\n");
    ASSERT_TRUE(QFile::setPermissions(compilerFile,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    TTextLog log;
    TErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = compilerFile;
    compiler.TimeoutMs = ShortLimitMs;
    QElapsedTimer timer;
    timer.start();
    const TCompileOutcome outcome = compiler.CompileResource(
        QStringLiteral("/g/"), QStringLiteral("R"), QStringLiteral("App-32.rc"));
    const qint64 elapsed = timer.elapsed();
    const qint64 child = TestFiles::Read(pidFile).trimmed().toLongLong();
    if (child > 0)
        TestFiles::KillProcess(child);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_LT(elapsed, ShortLimitMs + MarginMs);
    EXPECT_EQ(log.Text(), Headers + "compiled\r\n");
}

// Runs one after another with a hanging compiler each: every run gets its own
// limit and the next one starts in time; all hangers are still there.
TEST(CompilerFault, HangingCompilersOneAfterAnother)
{
    const TEnvironment environment({{"FAKERC_STDOUT", "begun\\n"}, {"FAKERC_SLEEP_MS", "60000"}});
    TTextLog log;
    TErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    // Far above the time a busy machine takes to start the compiler and let it
    // print "begun", which the log must show.
    compiler.TimeoutMs = 3000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(compiler
                         .CompileResource(QStringLiteral("/g/"), QStringLiteral("R"),
                                          QStringLiteral("App-32.rc"))
                         .FinishedInTime);
    const qint64 elapsed = timer.elapsed();
    EXPECT_EQ(compiler.RunningCompilers().size(), 4);
    EndLeftRunning(compiler);
    EXPECT_LT(elapsed, 4 * (3000 + MarginMs));
    EXPECT_EQ(log.Text(), (Headers + "begun\r\n" + TimedOut + "\r\n").repeated(4));
}

} // namespace
