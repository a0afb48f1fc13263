#include "project/TestPrinters.h"

#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/types.h>
#endif

#include <ostream>
#include <utility>
#include <vector>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

using TRun = TestFiles::TCliRun;

using TVars = std::vector<std::pair<const char*, const char*>>;

// A temporary copy of the demo group, a configuration naming the fake
// compiler, and the tool run on them.
class TBuildFixture
{
public:
    TBuildFixture()
    {
        EXPECT_TRUE(Dir.isValid());
        CopyTree(QDir(TestFiles::ExamplesDir()).filePath(QStringLiteral("demo")), Path("demo"));
        // Each case makes the resource folders it needs.
        QDir(Path("demo/Resources")).removeRecursively();
        TestFiles::Write(
            Path("VersInfo.trc"),
            TestFiles::Read(
                QDir(TestFiles::ExamplesDir()).filePath(QStringLiteral("VersInfo.trc"))));
        WriteConfig({});
    }

    QString Path(const QString& relative) const { return Dir.filePath(relative); }
    QString Group() const { return Path("demo/Demo.groupproj"); }
    QString GroupFolder() const { return Path("demo") + u'/'; }
    QString Config() const { return Path("cfg/quorvel.ini"); }

    // The extra lines come first: of two equal keys the first one counts.
    void WriteConfig(const QStringList& extra)
    {
        const QStringList defaults{QStringLiteral("ResourceCompiler=") + TestFiles::FakeCompiler(),
                                   QStringLiteral("TemplateName=") + Path("VersInfo.trc")};
        TestFiles::Write(
            Config(), TestFiles::CrLf(QStringList{QStringLiteral("[Config]")} + extra + defaults));
    }

    TRun Run(const QStringList& arguments, const TVars& vars = {}) const
    {
        QList<QPair<QString, QString>> variables;
        for (const auto& [name, value] : vars)
            variables.append({U(name), U(value).replace(QLatin1String("T/"), Dir.path() + u'/')});
        return TestFiles::RunCli(QStringList{QStringLiteral("--config"), Config()} + arguments,
                                 Dir.path(), Path("home"), variables);
    }

    // The resource scripts below the group folder, relative to it.
    QStringList Scripts() const
    {
        QStringList result;
        for (const QString& f : TestFiles::FindFiles(Path("demo"), {QStringLiteral(".rc")}))
            result << f.mid(GroupFolder().size());
        return result;
    }

    // Every file and folder below the test folder with its size and time.
    QStringList Listing() const { return TestFiles::Listing(Dir.path()); }

    QTemporaryDir Dir;

    static void CopyTree(const QString& from, const QString& to)
    {
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            TestFiles::Write(to + f.mid(from.size()), TestFiles::Read(f));
        }
    }
};

// The log the tool prints for runs of the compiler on the scripts, each run
// printing the same output. After a run that succeeded (groupFolder given) the
// tool reads the .res file, which the fake compiler does not write.
QString ExpectedLog(const QString& resourcePath, const QStringList& scripts, const QString& output,
                    const QString& groupFolder = QString())
{
    QString log;
    for (const QString& n : scripts) {
        QString res = n;
        res.replace(QRegularExpression(QStringLiteral("\\.rc$")), QStringLiteral(".res"));
        log += QStringLiteral("=====================================\nCompile resource file: ") +
               TestFiles::Native(resourcePath.isEmpty() ? n : resourcePath + u'/' + n) +
               QStringLiteral(" => ") + TestFiles::Native(res) + u'\n' + output;
        if (!groupFolder.isEmpty())
            log += QStringLiteral("*** Error: Cannot open file \"%1\". %2\n")
                       .arg(TestFiles::Native(groupFolder + res), TestFiles::NotFoundText());
    }
    return log;
}

// ---- Builds on the demo group ----------------------------------------------

struct TBuildCase {
    const char* Name;
    QStringList Arguments;   // after "build GROUP"
    QStringList ConfigLines; // added to the configuration
    TVars Compiler;          // the fake compiler's script
    QStringList Folders;     // created below the group folder first
    int ExitCode;
    const char* ResourcePath; // as the log shows it
    QStringList Compiled;     // script names, in the order compiled
    const char* Output;       // what each compiler run prints to the log
    QStringList Scripts;      // every script written, relative to the group folder, sorted
    const char* Err;          // standard error, "G/" for the group folder
    bool Succeeded = true;    // whether the compiler runs succeed
};

void PrintTo(const TBuildCase& c, std::ostream* os)
{
    *os << c.Name;
}

const QStringList AllFive{QStringLiteral("DemoApp-32.rc"), QStringLiteral("DemoApp-64.rc"),
                          QStringLiteral("Tools/DemoTool-32.rc"), QStringLiteral("DemoLib-32.rc"),
                          QStringLiteral("DemoLib-64.rc")};

QStringList Below(const QString& folder, QStringList names)
{
    if (!folder.isEmpty())
        for (QString& n : names)
            n.prepend(folder + u'/');
    names.sort();
    return names;
}

class BuildCommandTest : public testing::TestWithParam<TBuildCase>
{
};

TEST_P(BuildCommandTest, WritesCompilesAndReports)
{
    const TBuildCase& c = GetParam();
    TBuildFixture f;
    if (!c.ConfigLines.isEmpty())
        f.WriteConfig(c.ConfigLines);
    for (const QString& folder : c.Folders)
        ASSERT_TRUE(QDir().mkpath(f.Path("demo/") + folder));
    const QByteArray config = TestFiles::Read(f.Config());

    const TRun r = f.Run(QStringList{QStringLiteral("build"), f.Group()} + c.Arguments, c.Compiler);

    EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Err.toStdString();
    EXPECT_EQ(r.Out, ExpectedLog(U(c.ResourcePath), c.Compiled, U(c.Output),
                                 c.Succeeded ? f.GroupFolder() : QString()));
    // The fake compiler writes no .res file: each run it "succeeded" in is
    // named on standard error.
    QString err;
    if (c.Succeeded)
        for (const QString& n : c.Compiled)
            err += QStringLiteral("Cannot open file \"%1\". %2\n")
                       .arg(TestFiles::Native(
                                f.GroupFolder() +
                                QString(n).replace(QLatin1String(".rc"), QLatin1String(".res"))),
                            TestFiles::NotFoundText());
    EXPECT_EQ(
        r.Err,
        err + TestFiles::NativeQuoted(U(c.Err).replace(QLatin1String("G/"), f.GroupFolder()))
                  .replace(f.GroupFolder(), TestFiles::Native(f.GroupFolder()))
                  .replace(QLatin1String("No such file or directory"), TestFiles::NotFoundText()));
    EXPECT_EQ(f.Scripts(), c.Scripts);
    // The tool writes neither the group's settings nor the configuration.
    EXPECT_FALSE(QFileInfo::exists(f.Path("demo/Demo.vprj")));
    EXPECT_EQ(TestFiles::Read(f.Config()), config);
}

const TBuildCase BuildCases[] = {
    {"AllCheckedProjects",
     {},
     {},
     {{"FAKERC_STDOUT", "compiled\\n"}},
     {QStringLiteral("Resources/Tools")},
     1,
     "Resources",
     AllFive,
     "compiled\n",
     Below(QStringLiteral("Resources"), AllFive),
     ""},
    // A project in a sub-folder gets its script in the same sub-folder below
    // the resources folder, created by the run.
    {"SubFolderCreated",
     {},
     {},
     {{"FAKERC_STDOUT", "compiled\\n"}},
     {},
     1,
     "Resources",
     AllFive,
     "compiled\n",
     Below(QStringLiteral("Resources"), AllFive),
     ""},
    // A script that still cannot be written stops the run; standard error
    // names it and the system's reason.
    {"ScriptCannotBeWritten",
     {},
     {},
     {{"FAKERC_STDOUT", "compiled\\n"}},
     {QStringLiteral("Resources/Tools/DemoTool-32.rc")},
     1,
     "Resources",
     AllFive.mid(0, 2),
     "compiled\n",
     Below(QStringLiteral("Resources"), AllFive.mid(0, 2)),
     "Could not write to G/\n"
     "Cannot create file \"G/Resources/Tools/DemoTool-32.rc\". Is a directory\n"},
    {"EmptyResourcePath",
     {QStringLiteral("--resource-path"), QString()},
     {},
     {},
     {},
     1,
     "",
     AllFive,
     "",
     Below(QString(), AllFive),
     ""},
    {"ConfiguredResourcePathAndSuffixes",
     {},
     {QStringLiteral("ResourcePath=out/rc"), QStringLiteral("Win32Suffix=_x86"),
      QStringLiteral("Win64Suffix=_x64")},
     {},
     {QStringLiteral("out/rc/Tools")},
     1,
     "out/rc",
     {QStringLiteral("DemoApp_x86.rc"), QStringLiteral("DemoApp_x64.rc"),
      QStringLiteral("Tools/DemoTool_x86.rc"), QStringLiteral("DemoLib_x86.rc"),
      QStringLiteral("DemoLib_x64.rc")},
     "",
     Below(QStringLiteral("out/rc"),
           {QStringLiteral("DemoApp_x86.rc"), QStringLiteral("DemoApp_x64.rc"),
            QStringLiteral("Tools/DemoTool_x86.rc"), QStringLiteral("DemoLib_x86.rc"),
            QStringLiteral("DemoLib_x64.rc")}),
     ""},
    {"OptionsOverrideConfiguration",
     {QStringLiteral("--resource-path=R"), QStringLiteral("--suffix32"), QStringLiteral(".32"),
      QStringLiteral("--suffix64"), QStringLiteral(".64"), QStringLiteral("--compiler"),
      TestFiles::FakeCompiler()},
     {QStringLiteral("ResourcePath=out"), QStringLiteral("ResourceCompiler=/no/such/rc")},
     {},
     {QStringLiteral("R/Tools")},
     1,
     "R",
     {QStringLiteral("DemoApp.32.rc"), QStringLiteral("DemoApp.64.rc"),
      QStringLiteral("Tools/DemoTool.32.rc"), QStringLiteral("DemoLib.32.rc"),
      QStringLiteral("DemoLib.64.rc")},
     "",
     Below(QStringLiteral("R"), {QStringLiteral("DemoApp.32.rc"), QStringLiteral("DemoApp.64.rc"),
                                 QStringLiteral("Tools/DemoTool.32.rc"),
                                 QStringLiteral("DemoLib.32.rc"), QStringLiteral("DemoLib.64.rc")}),
     ""},
    // Every script is still written and compiled; the exit code tells.
    {"CompilerFails",
     {QStringLiteral("--escape-values")},
     {},
     {{"FAKERC_STDERR", "bad\\n"}, {"FAKERC_EXIT", "3"}},
     {QStringLiteral("Resources/Tools")},
     1,
     "Resources",
     AllFive,
     "bad\n*** Error: exit code 3\n",
     Below(QStringLiteral("Resources"), AllFive),
     "",
     false},
    {"CompilerMissing",
     {QStringLiteral("--compiler"), QStringLiteral("quorvel-no-such-rc")},
     {},
     {},
     {QStringLiteral("Resources/Tools")},
     1,
     "Resources",
     {},
     "",
     Below(QStringLiteral("Resources"), AllFive),
     "The resource compiler \"quorvel-no-such-rc\" cannot be started: No such file or "
     "directory\n",
     false},
    {"NoCompilerConfigured",
     {},
     {QStringLiteral("ResourceCompiler=")},
     {},
     {QStringLiteral("Resources/Tools")},
     1,
     "Resources",
     {},
     "",
     Below(QStringLiteral("Resources"), AllFive),
     "No resource compiler: set one with --compiler or on the settings page\n",
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildCommandTest, testing::ValuesIn(BuildCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The compiled resource files read back ------------------------------------

struct TReadBackCase {
    const char* Name;
    const char* WriteRes; // FAKERC_WRITE_RES; empty: no .res file
    int ExitCode;
    const char* Err; // for DemoApp-32.res only; "G/" for the group folder
    bool Earlier;    // an earlier build left the right .res files
};

void PrintTo(const TReadBackCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildReadBackTest : public testing::TestWithParam<TReadBackCase>
{
};

// A compiler that ends with exit code 0 has not necessarily written the
// version the project was given.
TEST_P(BuildReadBackTest, FailsUnlessTheResCarriesTheFileVersion)
{
    const TReadBackCase& c = GetParam();
    TBuildFixture f;
    TestFiles::Write(f.Path("demo/Demo.groupproj"),
                     TestFiles::GroupFile({QStringLiteral("DemoApp.dproj")}));
    ASSERT_TRUE(QDir().mkpath(f.Path("demo/Resources")));
    if (c.Earlier) {
        ASSERT_EQ(
            f.Run({QStringLiteral("build"), f.Group()}, {{"FAKERC_WRITE_RES", "script"}}).ExitCode,
            0);
    }
    TVars vars;
    if (*c.WriteRes)
        vars.emplace_back("FAKERC_WRITE_RES", c.WriteRes);
    const TRun r = f.Run({QStringLiteral("build"), f.Group()}, vars);
    EXPECT_EQ(r.ExitCode, c.ExitCode);
    const QString line =
        TestFiles::NativeQuoted(U(c.Err).replace(QLatin1String("G/"), f.GroupFolder()))
            .replace(QLatin1String("No such file or directory"), TestFiles::NotFoundText());
    EXPECT_EQ(r.Err, line.isEmpty()
                         ? line
                         : line + u'\n' +
                               QString(line).replace(QStringLiteral("-32"), QStringLiteral("-64")) +
                               u'\n');
}

const TReadBackCase ReadBackCases[] = {
    {"RightVersion", "script", 0, "", false},
    {"NoResFile", "", 1, "Cannot open file \"G/DemoApp-32.res\". No such file or directory", false},
    {"OtherVersion", "9,9,9,9", 1,
     "resource file \"G/DemoApp-32.res\": FILEVERSION 9.9.9.9 differs from the project's file "
     "version 1.2.0.15",
     false},
    {"EarlierBuildsFileLeft", "", 1,
     "resource file \"G/DemoApp-32.res\" was not written by this compile: the compiler ended "
     "without error and left the file of an earlier build",
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildReadBackTest, testing::ValuesIn(ReadBackCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Values a version resource cannot hold -------------------------------------

struct TRangeCase {
    const char* Name;
    QStringList Settings;   // the group's settings file, when not empty
    const char* LibVersion; // the FileVersion of DemoLib.dproj
    const char* Err;
    QStringList Scripts; // below Resources, sorted
};

void PrintTo(const TRangeCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildRangeTest : public testing::TestWithParam<TRangeCase>
{
};

// The project is reported and skipped; the others are built; the exit code is 1.
TEST_P(BuildRangeTest, SkipsTheProject)
{
    const TRangeCase& c = GetParam();
    TBuildFixture f;
    ASSERT_TRUE(QDir().mkpath(f.Path("demo/Resources/Tools")));
    if (!c.Settings.isEmpty())
        TestFiles::Write(f.Path("demo/Demo.vprj"), TestFiles::CrLf(c.Settings));
    const QString lib = f.Path("demo/DemoLib.dproj");
    TestFiles::Write(lib, TestFiles::Read(lib).replace("FileVersion=2.0.0.3",
                                                       QByteArray("FileVersion=") + c.LibVersion));

    const TRun r = f.Run({QStringLiteral("build"), f.Group()}, {{"FAKERC_WRITE_RES", "script"}});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, U(c.Err));
    EXPECT_EQ(f.Scripts(), Below(QStringLiteral("Resources"), c.Scripts));
}

const TRangeCase RangeCases[] = {
    {"StoredBuild",
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvBuild=65536"),
      QStringLiteral("Status=7")},
     "2.0.0.3",
     "DemoApp.dproj: file version 1.0.0.65536 has a part outside 0 to 65535, which a VERSIONINFO "
     "cannot hold\n",
     {QStringLiteral("Tools/DemoTool-32.rc"), QStringLiteral("DemoLib-32.rc"),
      QStringLiteral("DemoLib-64.rc")}},
    {"ProjectFileBuild",
     {},
     "2.0.0.65536",
     "DemoLib.dproj: file version 2.0.0.65536 has a part outside 0 to 65535, which a VERSIONINFO "
     "cannot hold\n",
     {QStringLiteral("DemoApp-32.rc"), QStringLiteral("DemoApp-64.rc"),
      QStringLiteral("Tools/DemoTool-32.rc")}},
    {"StoredNegativeMinor",
     {QStringLiteral("[Tools\\DemoTool.dproj]"), QStringLiteral("fvMinor=-1"),
      QStringLiteral("Status=3")},
     "2.0.0.3",
     "Tools\\DemoTool.dproj: file version 1.-1.0.0 has a part outside 0 to 65535, which a "
     "VERSIONINFO cannot hold\n",
     {QStringLiteral("DemoApp-32.rc"), QStringLiteral("DemoApp-64.rc"),
      QStringLiteral("DemoLib-32.rc"), QStringLiteral("DemoLib-64.rc")}},
    {"StoredProductVersion",
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=70000")},
     "2.0.0.3",
     "DemoApp.dproj: product version 70000.0 has a part outside 0 to 65535, which a VERSIONINFO "
     "cannot hold\n"
     "Tools\\DemoTool.dproj: product version 70000.0 has a part outside 0 to 65535, which a "
     "VERSIONINFO cannot hold\n"
     "DemoLib.dproj: product version 70000.0 has a part outside 0 to 65535, which a VERSIONINFO "
     "cannot hold\n",
     {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildRangeTest, testing::ValuesIn(RangeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- What goes into the scripts ----------------------------------------------

struct TContentCase {
    const char* Name;
    QStringList Arguments;
    QStringList ConfigLines;
    QStringList Expected; // lines of Resources/DemoApp-32.rc that must be there
};

void PrintTo(const TContentCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildContentTest : public testing::TestWithParam<TContentCase>
{
};

TEST_P(BuildContentTest, FillsTheTemplate)
{
    const TContentCase& c = GetParam();
    TBuildFixture f;
    if (!c.ConfigLines.isEmpty())
        f.WriteConfig(c.ConfigLines);
    ASSERT_TRUE(QDir().mkpath(f.Path("demo/Resources/Tools")));
    TestFiles::Write(
        f.Path("other.trc"),
        "\xEF\xBB\xBFother $fvMajor.$fvMinor.$fvRelease.$fvBuild $Description $Platform\r\n"
        "FILEVERSION $fvMajor,$fvMinor,$fvRelease,$fvBuild");
    const TRun r = f.Run(QStringList{QStringLiteral("build"), f.Group()} + c.Arguments,
                         {{"FAKERC_WRITE_RES", "script"}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QByteArray bytes = TestFiles::Read(f.Path("demo/Resources/DemoApp-32.rc"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "the template's byte-order mark";
    EXPECT_FALSE(bytes.mid(3).replace("\r\n", "").contains('\n'));
    const QStringList lines = DecodeText(bytes).Lines;
    for (const QString& line : c.Expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
}

const TContentCase ContentCases[] = {
    {"TextAsTyped",
     {},
     {},
     {QStringLiteral("FILEVERSION 1,2,0,15"), QStringLiteral("PRODUCTVERSION 1,2,0,0"),
      U("            VALUE \"CompanyName\", L\"Müller & Söhne\\0\""),
      U("            VALUE \"LegalCopyright\", L\"© 2026 Müller & Söhne\\0\""),
      QStringLiteral("            VALUE \"Comments\", L\"Windows 32-bit\\0\"")}},
    {"EscapedByOption",
     {QStringLiteral("--escape-values")},
     {},
     {QStringLiteral("            VALUE \"CompanyName\", L\"M\\x00FCller & S\\x00F6hne\\0\""),
      QStringLiteral("            VALUE \"LegalCopyright\", L\"\\x00A9 2026 M\\x00FCller & "
                     "S\\x00F6hne\\0\"")}},
    {"EscapedByConfiguration",
     {},
     {QStringLiteral("EscapeValues=1")},
     {QStringLiteral("            VALUE \"CompanyName\", L\"M\\x00FCller & S\\x00F6hne\\0\"")}},
    {"OtherTemplate",
     {QStringLiteral("--template"), QStringLiteral("other.trc")},
     {},
     {QStringLiteral("other 1.2.0.15 Demo application 32-bit")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildContentTest, testing::ValuesIn(ContentCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Arguments the compiler gets ----------------------------------------------

TEST(BuildCommand, CompilerGetsOptionsScriptAndResourceFile)
{
    TBuildFixture f;
    f.WriteConfig({QStringLiteral("ResourceCompilerOptions=-c 1252")});
    const TRun r =
        f.Run({QStringLiteral("build"), f.Group(), QStringLiteral("--resource-path"), QString(),
               QStringLiteral("--compiler-options"), QStringLiteral("-c 65001 \"/I a b\"")},
              {{"FAKERC_ARGS_FILE", "T/args.txt"}, {"FAKERC_WRITE_RES", "script"}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList args =
        QString::fromLocal8Bit(TestFiles::Read(f.Path("args.txt"))).split(u'\n');
    const QString g = f.GroupFolder();
    QStringList expected;
    for (const char* n :
         {"DemoApp-32", "DemoApp-64", "Tools/DemoTool-32", "DemoLib-32", "DemoLib-64"})
        expected << TestFiles::FakeCompiler() << QStringLiteral("-c") << QStringLiteral("65001")
                 << QStringLiteral("/I a b") << TestFiles::Native(g + U(n) + QStringLiteral(".rc"))
                 << QStringLiteral("-fo") + TestFiles::Native(g + U(n) + QStringLiteral(".res"))
                 << QStringLiteral("--");
    expected << QString();
    EXPECT_EQ(args, expected);
}

// ---- The hint for unescaped text ---------------------------------------------------

const char* const LlvmRc = "/usr/bin/llvm-rc";
const char* const EscapeHint =
    "*** The script holds non-ASCII text, which the compiler may read in another code page.\n"
    "*** Switch on \"Escape text values\" on the settings page, or build with "
    "--escape-values.\n";

struct THintCase {
    const char* Name;
    bool LlvmRc;           // else the fake compiler, failing
    QStringList Arguments; // after "build GROUP"
    int ExitCode;
    int Hints; // how often the hint is in the log
};

void PrintTo(const THintCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildHintTest : public testing::TestWithParam<THintCase>
{
};

// The demo's company "Müller & Söhne" stops llvm-rc unless it is escaped.
TEST_P(BuildHintTest, NamesTheSettingWhenACompileFails)
{
    const THintCase& c = GetParam();
#ifdef Q_OS_WIN
    if (c.LlvmRc)
        GTEST_SKIP() << "the build machine's llvm-rc is a Linux program; this row runs on Linux";
#endif
    if (c.LlvmRc && !QFileInfo::exists(QLatin1String(LlvmRc)))
        GTEST_SKIP() << LlvmRc << " is not installed (Debian package llvm-14)";
    TBuildFixture f;
    TestFiles::Write(f.Path("demo/Demo.groupproj"),
                     TestFiles::GroupFile({QStringLiteral("DemoApp.dproj")}));
    QStringList args{QStringLiteral("build"), f.Group()};
    if (c.LlvmRc)
        args << QStringLiteral("--compiler") << QLatin1String(LlvmRc);
    const TRun r = f.Run(args + c.Arguments, {{"FAKERC_EXIT", "1"}});
    EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Out.toStdString();
    EXPECT_EQ(r.Out.count(U(EscapeHint)), c.Hints) << r.Out.toStdString();
}

const THintCase HintCases[] = {
    {"LlvmRcUnescaped", true, {}, 1, 2},
    {"LlvmRcEscaped", true, {QStringLiteral("--escape-values")}, 0, 0},
    {"OtherFailureEscaped", false, {QStringLiteral("--escape-values")}, 1, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildHintTest, testing::ValuesIn(HintCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Real groups with projects beside the group's folder ---------------------------

struct TCorpusBuildCase {
    const char* Name;
    const char* Repository; // below the corpus folder
    const char* Group;      // below the repository
    int Missing;            // scripts of projects whose folder the corpus lacks
};

void PrintTo(const TCorpusBuildCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CorpusBuildTest : public testing::TestWithParam<TCorpusBuildCase>
{
};

// Entries such as "..\Demos\App.dproj": every checked project builds with
// llvm-rc, each script inside the resources folder, each .res beside its
// project; one whose folder is not there fails (nothing is made outside the
// group's folder).
TEST_P(CorpusBuildTest, BuildsEveryCheckedProject)
{
    const TCorpusBuildCase& c = GetParam();
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the build machine's llvm-rc is a Linux program; this row runs on Linux";
#endif
    const QString source = QDir(TestFiles::CorpusDir()).filePath(QLatin1String(c.Repository));
    if (!QFileInfo::exists(QLatin1String(LlvmRc)) || !QFileInfo(source).isDir())
        GTEST_SKIP() << "needs " << LlvmRc << " and the corpus";
    TBuildFixture f;
    TBuildFixture::CopyTree(source, f.Path("repo"));
    const QString group = f.Path("repo/") + QLatin1String(c.Group);
    const TRun r = f.Run({QStringLiteral("build"), group, QStringLiteral("--escape-values"),
                          QStringLiteral("--compiler"), QLatin1String(LlvmRc)});
    EXPECT_EQ(r.ExitCode, c.Missing ? 1 : 0) << r.Err.toStdString();
    const QString resources = QFileInfo(group).absolutePath() + QStringLiteral("/Resources/");
    const QStringList scripts = TestFiles::FindFiles(f.Path("repo"), {QStringLiteral(".rc")});
    ASSERT_GE(scripts.size(), 2);
    for (const QString& script : scripts)
        EXPECT_TRUE(script.startsWith(resources)) << script.toStdString();
    EXPECT_EQ(TestFiles::FindFiles(f.Path("repo"), {QStringLiteral(".res")}).size(),
              scripts.size() - c.Missing);
}

const TCorpusBuildCase CorpusBuildCases[] = {
    {"DelphiEncryptionCompendium", "MHumm__DelphiEncryptionCompendium",
     "Source/DEC60Complete.groupproj", 0},
    {"HeidiSQL", "HeidiSQL__HeidiSQL", "packages/Delphi12.1/heidisql.groupproj", 4},
};

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusBuildTest, testing::ValuesIn(CorpusBuildCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Time limit -------------------------------------------------------------------

#ifndef Q_OS_WIN
// A compiler that is a shell script and starts a child that would run far
// beyond the limit: both end at the limit, and the log says so.
TEST(BuildCommand, TimeLimitEndsTheCompilerWithItsChildren)
{
    TBuildFixture f;
    TestFiles::Write(f.Path("demo/Demo.groupproj"),
                     TestFiles::GroupFile({QStringLiteral("Tools\\DemoTool.dproj")}));
    const QString script = f.Path("slowrc.sh");
    TestFiles::Write(script,
                     "#!/bin/sh\nsleep 300 &\necho $! > \"$0.child\"\necho started\nwait\n");
    ASSERT_TRUE(
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const TRun r = f.Run({QStringLiteral("build"), f.Group(), QStringLiteral("--compiler"), script,
                          QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Out.contains(QStringLiteral(
        "started\n*** Error: The wait operation timed out; the compiler was ended\n")))
        << r.Out.toStdString();
    const QByteArray child = TestFiles::Read(script + QStringLiteral(".child")).trimmed();
    ASSERT_FALSE(child.isEmpty());
    // The kill reaches an orphaned child when the system next runs it: on a
    // busy machine that can be a moment after the command has returned.
    QElapsedTimer timer;
    timer.start();
    while (TestFiles::ProcessAlive(child.toLongLong()) && timer.elapsed() < 3000)
        QThread::msleep(10);
    EXPECT_FALSE(TestFiles::ProcessAlive(child.toLongLong()))
        << "the script's child was left running";
}
#endif

#ifndef Q_OS_WIN
class BuildSignalTest : public testing::TestWithParam<int>
{
};

// SIGINT, SIGTERM or SIGHUP while a compiler runs: the tool ends it with the
// processes it started, says so in one line and exits with 128 + the signal.
TEST_P(BuildSignalTest, EndsTheRunningCompilers)
{
    TBuildFixture f;
    const QString pids = f.Path("pids");
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FAKERC_SLEEP_MS"), QStringLiteral("60000"));
    env.insert(QStringLiteral("FAKERC_PID_FILE"), pids);
    cli.setProcessEnvironment(env);
    ASSERT_TRUE(TestFiles::Start(cli, TestFiles::CliProgram(),
                                 {QStringLiteral("--config"), f.Config(), QStringLiteral("build"),
                                  f.Group(), QStringLiteral("-j2")}));
    // Both compilers have started when both wrote their ids.
    QByteArrayList started;
    while (started.size() < 2 && cli.state() == QProcess::Running) {
        QThread::msleep(10);
        if (!QFile::exists(pids))
            continue;
        started = TestFiles::Read(pids).split('\n');
        started.removeAll(QByteArray());
    }
    ASSERT_EQ(started.size(), 2);
    ::kill(pid_t(cli.processId()), GetParam());
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 128 + GetParam());
    EXPECT_TRUE(cli.readAllStandardError().contains("Ended by signal"));
    for (const QByteArray& pid : started)
        EXPECT_FALSE(TestFiles::ProcessAlive(pid.toLongLong())) << "a compiler was left running";
}

INSTANTIATE_TEST_SUITE_P(Signals, BuildSignalTest, testing::Values(SIGINT, SIGTERM, SIGHUP));
#endif

// ---- Dry run -------------------------------------------------------------------

// The scripts a dry run prints, by path.
std::vector<std::pair<QString, QString>> ParseDryRun(const QString& out)
{
    std::vector<std::pair<QString, QString>> result;
    const QRegularExpression header(QStringLiteral("^==> (.*) <==\n"),
                                    QRegularExpression::MultilineOption);
    QRegularExpressionMatch m = header.match(out);
    EXPECT_TRUE(m.hasMatch() && m.capturedStart() == 0) << "output begins with a script";
    while (m.hasMatch()) {
        const QRegularExpressionMatch next = header.match(out, m.capturedEnd());
        const qsizetype end = next.hasMatch() ? next.capturedStart() : out.size();
        result.emplace_back(m.captured(1), out.mid(m.capturedEnd(), end - m.capturedEnd()));
        m = next;
    }
    return result;
}

TEST(BuildCommand, DryRunPrintsWhatABuildWritesAndChangesNothing)
{
    TBuildFixture dry;
    TBuildFixture real;
    for (TBuildFixture* f : {&dry, &real})
        ASSERT_TRUE(QDir().mkpath(f->Path("demo/Resources/Tools")));
    const QStringList listing = dry.Listing();

    const TRun d = dry.Run({QStringLiteral("build"), dry.Group(), QStringLiteral("--dry-run"),
                            QStringLiteral("--escape-values")},
                           {{"FAKERC_ARGS_FILE", "T/args.txt"}});
    EXPECT_EQ(d.ExitCode, 0) << d.Err.toStdString();
    EXPECT_EQ(d.Err, QString());
    EXPECT_EQ(dry.Listing(), listing) << "a dry run writes nothing and runs no compiler";

    const TRun r =
        real.Run({QStringLiteral("build"), real.Group(), QStringLiteral("--escape-values")},
                 {{"FAKERC_WRITE_RES", "script"}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();

    const auto printed = ParseDryRun(d.Out);
    ASSERT_EQ(printed.size(), 5u);
    QStringList printedScripts;
    for (const auto& [path, text] : printed) {
        ASSERT_TRUE(path.startsWith(TestFiles::Native(dry.GroupFolder()))) << path.toStdString();
        const QString relative = QDir::fromNativeSeparators(path.mid(dry.GroupFolder().size()));
        printedScripts << relative;
        const QByteArray written = TestFiles::Read(real.GroupFolder() + relative);
        // The demo's template is UTF-8 with a byte-order mark.
        EXPECT_TRUE(written.startsWith("\xEF\xBB\xBF")) << relative.toStdString();
        EXPECT_EQ(text, TestFiles::ProgramOutput(written.mid(3))) << relative.toStdString();
    }
    printedScripts.sort();
    EXPECT_EQ(printedScripts, real.Scripts());
}

// Nothing checked: the build succeeds and says why it wrote nothing, with
// and without --dry-run.
TEST(BuildCommand, NothingCheckedIsSaid)
{
    TBuildFixture f;
    ASSERT_EQ(f.Run({QStringLiteral("set"), f.Group(), QStringLiteral("--all"),
                     QStringLiteral("enabled=false")})
                  .ExitCode,
              0);
    for (const QStringList& extra : {QStringList{}, QStringList{QStringLiteral("--dry-run")}}) {
        const TRun r = f.Run(QStringList{QStringLiteral("build"), f.Group()} + extra);
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Out, QString());
        EXPECT_EQ(r.Err,
                  QStringLiteral("No checked project with a platform: no script was written\n"));
    }
}

// ---- Several compilers at once ---------------------------------------------------

struct TJobsCase {
    const char* Name;
    QStringList Options; // for both runs
    QStringList Jobs;    // the run compared with one at a time
};

void PrintTo(const TJobsCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildJobsTest : public testing::TestWithParam<TJobsCase>
{
};

// Compiles that end in another order than they started (a slow success, a
// failure with output on standard error, a time-out, output without a line
// break, a resource file missing) and a project skipped in between: standard
// output, standard error and exit code are those of a run one at a time.
TEST_P(BuildJobsTest, PrintsWhatARunOneAtATimePrints)
{
    const TJobsCase& c = GetParam();
    TBuildFixture f;
    ASSERT_EQ(f.Run({QStringLiteral("set"), f.Group(), QStringLiteral("--project"),
                     QStringLiteral("Tools\\DemoTool.dproj"), QStringLiteral("fvBuild=777")})
                  .ExitCode,
              0);
    const QString settings = f.Path("demo/Demo.vprj");
    TestFiles::Write(settings, TestFiles::Read(settings).replace("fvBuild=777", "fvBuild=70000"));
    TestFiles::Write(
        f.Path("plan/DemoApp-32.rc.env"),
        "FAKERC_STDOUT=app\\nline two\\n\nFAKERC_SLEEP_MS=600\nFAKERC_VERSION_RES=1\n");
    TestFiles::Write(f.Path("plan/DemoApp-64.rc.env"),
                     "FAKERC_STDERR=error RC2104\\n\nFAKERC_EXIT=2\n");
    TestFiles::Write(f.Path("plan/DemoLib-32.rc.env"),
                     "FAKERC_STDOUT=hung\nFAKERC_SLEEP_MS=60000\n");
    TestFiles::Write(f.Path("plan/DemoLib-64.rc.env"), "FAKERC_STDOUT=no line end\n");
    const TVars vars{{"FAKERC_PLAN_DIR", "T/plan"}};
    // The limit stands far above the slow success, three compilers sharing two
    // busy cores (under Wine too): only the hung one reaches it. (Under Wine a
    // limit of 6 s loses the output of the run with several compilers at once
    // when its compile is ended; 3 s does not.)
    const QStringList args = QStringList{QStringLiteral("build"), f.Group(),
                                         QStringLiteral("--timeout"), QStringLiteral("3")} +
                             c.Options;
    const TRun one = f.Run(args, vars);
    const TRun many = f.Run(args + c.Jobs, vars);
    const QString log = c.Options.contains(QStringLiteral("--json")) ? one.Err : one.Out;
    for (const char* part :
         {"line two\nVersion resource: 1.2.0.15", "error RC2104\n*** Error: exit code 2",
          "Tools\\DemoTool.dproj: file version 1.0.1.70000", "hung\n*** Error: The wait",
          "DemoLib-64.res\nno line end\n*** Error: Cannot open file"})
        EXPECT_TRUE(log.contains(U(part)) || one.Err.contains(U(part))) << part;
    EXPECT_EQ(one.ExitCode, 1);
    EXPECT_EQ(many.ExitCode, one.ExitCode);
    EXPECT_EQ(many.Out, one.Out);
    EXPECT_EQ(many.Err, one.Err);
}

const TJobsCase JobsCases[] = {
    {"ThreeAtOnce", {}, {QStringLiteral("-j"), QStringLiteral("3")}},
    {"OnePerCore", {}, {QStringLiteral("-j0")}},
    {"Json", {QStringLiteral("--json")}, {QStringLiteral("--jobs=3")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildJobsTest, testing::ValuesIn(JobsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Usage and failures ----------------------------------------------------------

struct TUsageCase {
    const char* Name;
    QStringList Arguments; // after "build"; "GROUP" stands for the demo group
    int ExitCode;
    const char* ErrBegins;
};

void PrintTo(const TUsageCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BuildUsageTest : public testing::TestWithParam<TUsageCase>
{
};

TEST_P(BuildUsageTest, ChangesNothing)
{
    const TUsageCase& c = GetParam();
    TBuildFixture f;
    QStringList args{QStringLiteral("build")};
    for (const QString& a : c.Arguments)
        args << (a == QLatin1String("GROUP") ? f.Group()
                                             : QString(a).replace(QLatin1String("T/"), f.Path("")));
    const QStringList listing = f.Listing();
    const TRun r = f.Run(args, {{"FAKERC_ARGS_FILE", "T/args.txt"}});
    EXPECT_EQ(r.ExitCode, c.ExitCode);
    EXPECT_TRUE(r.Err.startsWith(U(c.ErrBegins))) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QString());
    EXPECT_EQ(f.Listing(), listing);
}

const TUsageCase UsageCases[] = {
    {"NoGroup", {}, 2, "quorvel-cli: no group file given\nusage: "},
    {"TwoGroups",
     {QStringLiteral("GROUP"), QStringLiteral("GROUP")},
     2,
     "quorvel-cli: more than one group given"},
    {"UnknownOption",
     {QStringLiteral("GROUP"), QStringLiteral("--fast")},
     2,
     "quorvel-cli: unknown option --fast"},
    {"MissingValue",
     {QStringLiteral("GROUP"), QStringLiteral("--compiler")},
     2,
     "quorvel-cli: --compiler needs a value"},
    {"MissingGroupFile", {QStringLiteral("T/none.groupproj")}, 1, "Cannot open file"},
    // The 64-bit script would overwrite the 32-bit one.
    {"EqualSuffixes",
     {QStringLiteral("GROUP"), QStringLiteral("--suffix32"), QStringLiteral("_x"),
      QStringLiteral("--suffix64=_X")},
     2,
     "quorvel-cli: the 32-bit and the 64-bit suffix are both \"_x\": the 64-bit script would "
     "overwrite the 32-bit one\nusage: "},
    {"SuffixEqualToTheConfigured",
     {QStringLiteral("GROUP"), QStringLiteral("--suffix32"), QStringLiteral("-64")},
     2,
     "quorvel-cli: the 32-bit and the 64-bit suffix are both \"-64\""},
    {"TimeoutNotANumber",
     {QStringLiteral("GROUP"), QStringLiteral("--timeout"), QStringLiteral("0")},
     2,
     "quorvel-cli: --timeout needs a number of seconds from 1 to 86400, not \"0\""},
    {"JobsNotANumber",
     {QStringLiteral("GROUP"), QStringLiteral("-j"), QStringLiteral("two")},
     2,
     "quorvel-cli: --jobs needs a number from 0 to 1024, not \"two\"\nusage: "},
    {"JobsNegative",
     {QStringLiteral("GROUP"), QStringLiteral("--jobs=-1")},
     2,
     "quorvel-cli: --jobs needs a number from 0 to 1024, not \"-1\""},
    {"JobsWithoutValue",
     {QStringLiteral("GROUP"), QStringLiteral("-j")},
     2,
     "quorvel-cli: -j needs a value"},
    {"MissingTemplate",
     {QStringLiteral("GROUP"), QStringLiteral("--template"), QStringLiteral("T/none.trc")},
     1,
     "Cannot open file"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildUsageTest, testing::ValuesIn(UsageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
