#include "resgen/ResourceCompiler.h"

#include "resgen/CompileRun.h"

#include "testsupport/TestCompiler.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TextLog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <utility>
#include <vector>

// Shows texts readably in failure messages.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toUtf8().replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

using TVars = std::vector<std::pair<const char*, const char*>>;

// Sets the fake compiler's script for one test and removes it afterwards.
class TFakeScript
{
public:
    explicit TFakeScript(const TVars& vars)
    {
        for (const auto& [name, value] : vars)
            Set(name, value);
    }
    ~TFakeScript()
    {
        for (const QByteArray& name : FNames)
            qunsetenv(name.constData());
    }
    void Set(const char* name, const QByteArray& value)
    {
        qputenv(name, value);
        FNames.append(name);
    }

private:
    QList<QByteArray> FNames;
};

class TRecordedErrors : public IErrorReporter
{
public:
    void ShowError(const QString& text) override { Errors.append(text); }
    QStringList Errors;
};

const QString Separator = QStringLiteral("=====================================");

QString Headers(const char* relativeScript, const char* relativeRes)
{
    return Separator + QStringLiteral("\r\nCompile resource file: ") +
           TestFiles::Native(U(relativeScript)) + QStringLiteral(" => ") +
           TestFiles::Native(U(relativeRes)) + QStringLiteral("\r\n");
}

// Ends the compilers a test left running, so that none outlives the test.
void KillLeftRunning(TTestCompiler& compiler)
{
    for (const qint64 pid : compiler.RunningCompilers())
        TestFiles::KillProcess(pid);
    QElapsedTimer t;
    t.start();
    while (!compiler.RunningCompilers().isEmpty() && t.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(compiler.RunningCompilers().isEmpty());
}

// ---- Output, exit codes and time limit -------------------------------------

struct TRunCase {
    const char* Name;
    TVars Script;
    int TimeoutMs;
    const char* Output; // the log after the two header lines
    bool FinishedInTime;
    int ExitCode;
    bool Crashed;
};

void PrintTo(const TRunCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompileResourceRunTest : public testing::TestWithParam<TRunCase>
{
};

TEST_P(CompileResourceRunTest, LogsWhatTheCompilerPrints)
{
    const TRunCase& c = GetParam();
    const TFakeScript script(c.Script);
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    compiler.TimeoutMs = c.TimeoutMs;
    const TCompileOutcome outcome = compiler.CompileResource(
        QStringLiteral("/work/Grp/"), QStringLiteral("Resources"), QStringLiteral("Calc-32.rc"));
    EXPECT_EQ(log.Text(), Headers("Resources/Calc-32.rc", "Calc-32.res") + U(c.Output));
    EXPECT_TRUE(errors.Errors.isEmpty());
    EXPECT_TRUE(outcome.Started);
    EXPECT_EQ(outcome.FinishedInTime, c.FinishedInTime);
    EXPECT_EQ(outcome.Crashed, c.Crashed);
    if (!c.Crashed) {
        EXPECT_EQ(outcome.ExitCode, c.ExitCode);
    }
    EXPECT_EQ(outcome.Succeeded(), c.FinishedInTime && !c.Crashed && c.ExitCode == 0);
    EXPECT_EQ(compiler.RunningCompilers().size(), c.FinishedInTime ? 0 : 1);
    KillLeftRunning(compiler);
}

const TRunCase RunCases[] = {
    {"TwoLfLines",
     {{"FAKERC_STDOUT", "line one\\nline two\\n"}},
     10000,
     "line one\r\nline two\r\n",
     true,
     0,
     false},
    {"NoOutput", {}, 10000, "", true, 0, false},
    {"CodePage850", {{"FAKERC_STDOUT", "Gr\\x81\\xE1e\\n"}}, 10000, "Grüße\r\n", true, 0, false},
    {"CrLfAndLoneCr",
     {{"FAKERC_STDOUT", "50%\\r100%\\r\\ndone\\n"}},
     10000,
     "50%\r100%\r\ndone\r\n",
     true,
     0,
     false},
    {"StandardErrorOnly",
     {{"FAKERC_STDERR", "rc: error: bad token\\n"}},
     10000,
     "rc: error: bad token\r\n",
     true,
     0,
     false},
    {"StandardOutputThenError",
     {{"FAKERC_STDOUT", "reading\\n"}, {"FAKERC_STDERR", "failed\\n"}, {"FAKERC_EXIT", "1"}},
     10000,
     "reading\r\nfailed\r\n*** Error: exit code 1\r\n",
     true,
     1,
     false},
    {"ExitCode3",
     {{"FAKERC_STDOUT", "oops\\n"}, {"FAKERC_EXIT", "3"}},
     10000,
     "oops\r\n*** Error: exit code 3\r\n",
     true,
     3,
     false},
    // The error line stands on a line of its own; the log then ends without
    // a line break.
    {"ExitCodeAfterUnendedLine",
     {{"FAKERC_STDOUT", "no break"}, {"FAKERC_EXIT", "2"}},
     10000,
     "no break\r\n*** Error: exit code 2",
     true,
     2,
     false},
    {"ExitCodeWithoutOutput",
     {{"FAKERC_EXIT", "255"}},
     10000,
     "*** Error: exit code 255\r\n",
     true,
     255,
     false},
    // The limit stands far above the time a busy machine (or Wine) takes to
    // start the compiler and let it print: its output always comes first.
    {"TimeOutShowsOutputSoFar",
     {{"FAKERC_STDOUT", "working"}, {"FAKERC_SLEEP_MS", "60000"}},
     3000,
     "working\r\n*** Error: The wait operation timed out",
     false,
     0,
     false},
    {"TimeOutWithoutOutput",
     {{"FAKERC_SLEEP_MS", "5000"}},
     300,
     "*** Error: The wait operation timed out\r\n",
     false,
     0,
     false},
    {"Crash",
     {{"FAKERC_STDOUT", "bye\\n"}, {"FAKERC_CRASH", "1"}},
     10000,
     "bye\r\n*** Error: Process crashed\r\n",
     true,
     0,
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompileResourceRunTest, testing::ValuesIn(RunCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Paths and arguments ---------------------------------------------------

struct TArgsCase {
    const char* Name;
    const char* Options;
    const char* ResourcePath;
    const char* ScriptName;
    const char* Header; // the log's two header lines
    // The arguments after the program, with "G/" for the group folder.
    QStringList Arguments;
};

void PrintTo(const TArgsCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompileResourceArgsTest : public testing::TestWithParam<TArgsCase>
{
};

TEST_P(CompileResourceArgsTest, PassesScriptAndResourceFile)
{
    const TArgsCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString g = dir.path() + QStringLiteral("/My Group/");
    const QString argsFile = dir.path() + QStringLiteral("/args.txt");
    TFakeScript script(TVars{});
    script.Set("FAKERC_ARGS_FILE", QFile::encodeName(argsFile));
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    compiler.Options = U(c.Options);
    const TCompileOutcome outcome =
        compiler.CompileResource(g, U(c.ResourcePath), TestFiles::Native(U(c.ScriptName)));
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(log.Text(), TestFiles::Native(U(c.Header)));

    QStringList recorded = QString::fromLocal8Bit(TestFiles::Read(argsFile)).split(u'\n');
    ASSERT_GE(recorded.size(), 2);
    EXPECT_EQ(recorded.takeFirst(), TestFiles::FakeCompiler());
    QStringList expected;
    for (QString a : c.Arguments)
        expected << (a.contains(QLatin1String("G/"))
                         ? TestFiles::Native(a.replace(QLatin1String("G/"), g))
                         : a);
    expected << QStringLiteral("--") << QString();
    EXPECT_EQ(recorded, expected);
}

const TArgsCase ArgsCases[] = {
    {"Plain",
     "",
     "Resources",
     "Calc-32.rc",
     "=====================================\r\nCompile resource file: Resources/Calc-32.rc => "
     "Calc-32.res\r\n",
     {QStringLiteral("G/Resources/Calc-32.rc"), QStringLiteral("-foG/Calc-32.res")}},
    // The resource file goes into the group folder, its folder part kept.
    {"SubFolder",
     "",
     "Resources",
     "Tools/Conv-32.rc",
     "=====================================\r\nCompile resource file: Resources/Tools/Conv-32.rc "
     "=> "
     "Tools/Conv-32.res\r\n",
     {QStringLiteral("G/Resources/Tools/Conv-32.rc"), QStringLiteral("-foG/Tools/Conv-32.res")}},
    {"EmptyResourcePath",
     "",
     "",
     "Calc-64.rc",
     "=====================================\r\nCompile resource file: Calc-64.rc => "
     "Calc-64.res\r\n",
     {QStringLiteral("G/Calc-64.rc"), QStringLiteral("-foG/Calc-64.res")}},
    {"DottedName",
     "",
     "Res",
     "App.Core-32.rc",
     "=====================================\r\nCompile resource file: Res/App.Core-32.rc => "
     "App.Core-32.res\r\n",
     {QStringLiteral("G/Res/App.Core-32.rc"), QStringLiteral("-foG/App.Core-32.res")}},
    {"Options",
     "-c 65001",
     "Resources",
     "Calc-32.rc",
     "=====================================\r\nCompile resource file: Resources/Calc-32.rc => "
     "Calc-32.res\r\n",
     {QStringLiteral("-c"), QStringLiteral("65001"), QStringLiteral("G/Resources/Calc-32.rc"),
      QStringLiteral("-foG/Calc-32.res")}},
    {"QuotedOption",
     "--define \"NAME=A B\"  -v",
     "Resources",
     "Calc-32.rc",
     "=====================================\r\nCompile resource file: Resources/Calc-32.rc => "
     "Calc-32.res\r\n",
     {QStringLiteral("--define"), QStringLiteral("NAME=A B"), QStringLiteral("-v"),
      QStringLiteral("G/Resources/Calc-32.rc"), QStringLiteral("-foG/Calc-32.res")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompileResourceArgsTest, testing::ValuesIn(ArgsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- A compiler that cannot be started --------------------------------------

struct TStartCase {
    const char* Name;
    const char* Compiler; // "T/" stands for a temporary folder
    const char* Error;
};

void PrintTo(const TStartCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompileResourceStartTest : public testing::TestWithParam<TStartCase>
{
};

TEST_P(CompileResourceStartTest, ShowsOneErrorAndLogsIt)
{
    const TStartCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TestFiles::Write(dir.path() + QStringLiteral("/plain.txt"), "not a program");
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = U(c.Compiler).replace(QLatin1String("T/"), dir.path() + u'/');
    const TCompileOutcome outcome = compiler.CompileResource(
        dir.path() + u'/', QStringLiteral("Resources"), QStringLiteral("A-32.rc"));
    EXPECT_FALSE(outcome.Started);
    EXPECT_FALSE(outcome.Succeeded());
    const QString error =
        U(c.Error).replace(QLatin1String("No such file or directory"), TestFiles::NotFoundText());
    EXPECT_EQ(errors.Errors, QStringList{error});
    EXPECT_EQ(log.Text(),
              Headers("Resources/A-32.rc", "A-32.res") + "*** " + error + QStringLiteral("\r\n"));
}

const TStartCase StartCases[] = {
    {"Empty", "", "Error: No such file or directory"},
    {"MissingFile", "T/no such folder/brcc32", "Error: No such file or directory"},
    {"NotOnPath", "quorvel-no-such-compiler", "Error: No such file or directory"},
#ifndef Q_OS_WIN
    {"Folder", "T/", "Error: Permission denied"},
    {"NotExecutable", "T/plain.txt", "Error: Permission denied"},
#endif
};

INSTANTIATE_TEST_SUITE_P(Cases, CompileResourceStartTest, testing::ValuesIn(StartCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Single cases ----------------------------------------------------------

TEST(CompileResource, CompilerPathWithBlanksStarts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/Program Files (x86)/rc tools");
    ASSERT_TRUE(QDir().mkpath(folder));
#ifdef Q_OS_WIN
    // Windows file names cannot hold double quotes.
    const QString program = folder + QStringLiteral("/fake rc.exe");
#else
    const QString program = folder + QStringLiteral("/fake \"rc\"");
#endif
    ASSERT_TRUE(QFile::copy(TestFiles::FakeCompiler(), program));
    QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const TFakeScript script(TVars{{"FAKERC_STDOUT", "compiled\\n"}});
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = program;
    EXPECT_TRUE(compiler.CompileResource(dir.path() + u'/', QString(), QStringLiteral("X-32.rc"))
                    .Succeeded());
    EXPECT_TRUE(errors.Errors.isEmpty());
    EXPECT_EQ(log.Text(), Headers("X-32.rc", "X-32.res") + QStringLiteral("compiled\r\n"));
}

// Each run's separator stands on a line of its own, also after output that
// did not end its last line. A line put on a line of its own that way leaves
// the log without a final line break, so the output that follows the header
// continues its line.
TEST(CompileResource, SecondRunStartsOnItsOwnLine)
{
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    {
        const TFakeScript script(TVars{{"FAKERC_STDOUT", "first"}});
        compiler.CompileResource(QStringLiteral("/g/"), QStringLiteral("R"),
                                 QStringLiteral("A-32.rc"));
    }
    {
        const TFakeScript script(TVars{{"FAKERC_STDOUT", "second\\n"}});
        compiler.CompileResource(QStringLiteral("/g/"), QStringLiteral("R"),
                                 QStringLiteral("A-64.rc"));
    }
    EXPECT_EQ(log.Text(), Headers("R/A-32.rc", "A-32.res") +
                              QStringLiteral("first\r\n=====================================\r\n"
                                             "Compile resource file: ") +
                              TestFiles::Native(QStringLiteral("R/A-64.rc")) +
                              QStringLiteral(" => A-64.res\r\nsecond\r\n"));
}

// A compiler printing more than a pipe holds must not wait for a reader
// until its time is up.
TEST(CompileResource, MegabyteOfOutputEndsInTime)
{
    const int size = 1024 * 1024;
    const TFakeScript script(TVars{{"FAKERC_BYTES", "1048576"}});
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    const TCompileOutcome outcome = compiler.CompileResource(
        QStringLiteral("/g/"), QStringLiteral("R"), QStringLiteral("Big-32.rc"));
    EXPECT_TRUE(outcome.FinishedInTime);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(log.Text(), Headers("R/Big-32.rc", "Big-32.res") + QString(size, u'x'));
}

// On the caller's event loop the run returns at once with the header lines in
// the log; the output follows while the loop runs, and the end is signalled.
TEST(CompileResource, StartReturnsWithTheHeadersAndTheLoopDoesTheRest)
{
    const TFakeScript script(TVars{{"FAKERC_STDOUT", "done\\n"}, {"FAKERC_SLEEP_MS", "400"}});
    TTextLog log;
    TRecordedErrors errors;
    TResourceCompiler compiler;
    compiler.Compiler = TestFiles::FakeCompiler();
    const std::unique_ptr<TCompileRun> run =
        compiler.StartCompile(QStringLiteral("/g/"), QStringLiteral("R"), QStringLiteral("A-32.rc"),
                              QString(), log, errors);
    QEventLoop loop;
    QObject::connect(run.get(), &TCompileRun::Finished, &loop, &QEventLoop::quit);
    run->Start();
    EXPECT_FALSE(run->IsFinished());
    EXPECT_EQ(log.Text(), Headers("R/A-32.rc", "A-32.res"));
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(run->IsFinished());
    EXPECT_TRUE(run->Outcome().Succeeded());
    EXPECT_EQ(log.Text(), Headers("R/A-32.rc", "A-32.res") + QStringLiteral("done\r\n"));
}

// The one slow test: a compiler that needs 15 s is given up after 10 s and
// keeps running; the next run starts while it still runs.
TEST(CompileResource, CompilerRunningLongerThanTheLimitIsLeftRunning)
{
    TTextLog log;
    TRecordedErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = TestFiles::FakeCompiler();
    ASSERT_EQ(compiler.TimeoutMs, 10000);
    QElapsedTimer timer;
    {
        const TFakeScript script(
            TVars{{"FAKERC_STDOUT", "started\\n"}, {"FAKERC_SLEEP_MS", "15000"}});
        timer.start();
        const TCompileOutcome outcome = compiler.CompileResource(
            QStringLiteral("/g/"), QStringLiteral("R"), QStringLiteral("Slow-32.rc"));
        const qint64 elapsed = timer.elapsed();
        EXPECT_TRUE(outcome.Started);
        EXPECT_FALSE(outcome.FinishedInTime);
        EXPECT_GE(elapsed, 9900);
        EXPECT_LT(elapsed, 14000) << "the run waited for the compiler to end";
    }
    const QList<qint64> running = compiler.RunningCompilers();
    ASSERT_EQ(running.size(), 1);
    EXPECT_TRUE(TestFiles::ProcessAlive(running.first())) << "the compiler was ended";
    {
        const TFakeScript script(TVars{{"FAKERC_STDOUT", "next\\n"}});
        EXPECT_TRUE(compiler
                        .CompileResource(QStringLiteral("/g/"), QStringLiteral("R"),
                                         QStringLiteral("Slow-64.rc"))
                        .Succeeded());
    }
    EXPECT_EQ(compiler.RunningCompilers(), running);
    EXPECT_EQ(log.Text(),
              Headers("R/Slow-32.rc", "Slow-32.res") +
                  QStringLiteral("started\r\n*** Error: The wait operation timed out\r\n") +
                  Headers("R/Slow-64.rc", "Slow-64.res") + QStringLiteral("next\r\n"));
    KillLeftRunning(compiler);
}

// ---- The Windows command line (pure text, checked everywhere) ---------------

struct TCommandLineCase {
    const char* Name;
    const char* Compiler;
    const char* Options;
    const char* Script;
    const char* Resource;
    const char* Expected;
};

void PrintTo(const TCommandLineCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompilerCommandLineTest : public testing::TestWithParam<TCommandLineCase>
{
};

TEST_P(CompilerCommandLineTest, QuotesEveryPath)
{
    const TCommandLineCase& c = GetParam();
    EXPECT_EQ(CompilerCommandLine(U(c.Compiler), U(c.Options), U(c.Script), U(c.Resource)),
              U(c.Expected));
}

const TCommandLineCase CommandLineCases[] = {
    {"Example", "C:\\Tools\\brcc32.exe", "", "C:\\Work\\Grp\\Resources\\Calc-32.rc",
     "C:\\Work\\Grp\\Calc-32.res",
     "\"C:\\Tools\\brcc32.exe\" \"C:\\Work\\Grp\\Resources\\Calc-32.rc\" "
     "-fo\"C:\\Work\\Grp\\Calc-32.res\""},
    {"Blanks", "C:\\Program Files\\rc\\brcc32.exe", "", "C:\\A B\\R\\x.rc", "C:\\A B\\x.res",
     "\"C:\\Program Files\\rc\\brcc32.exe\" \"C:\\A B\\R\\x.rc\" -fo\"C:\\A B\\x.res\""},
    {"QuotesDoubled", "a\"b", "", "s\"", "r", "\"a\"\"b\" \"s\"\"\" -fo\"r\""},
    {"EmptyCompiler", "", "", "s.rc", "s.res", "\"\" \"s.rc\" -fo\"s.res\""},
    {"Options", "rc.exe", "/c 65001 /v", "s.rc", "s.res",
     "\"rc.exe\" /c 65001 /v \"s.rc\" -fo\"s.res\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompilerCommandLineTest, testing::ValuesIn(CommandLineCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
