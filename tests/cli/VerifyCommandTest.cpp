#include "cli/GroupCopy.h"
#include "project/TestPrinters.h"
#include "resgen/VersionResBytes.h"
#include "testsupport/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A .res file as a compiler makes it from the demo's template: the fixed
// file version and the same version as text.
QByteArray ResFor(quint16 major, quint16 minor, quint16 release, quint16 build)
{
    const quint16 file[4] = {major, minor, release, build};
    const quint16 product[4] = {1, 2, 0, 0};
    return VersionResBytes::ResFile(VersionResBytes::VersionInfo(
        file, product,
        {{QStringLiteral("FileVersion"),
          QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build)}}));
}

// The resource files of the demo's checked projects with their right
// versions, named with the default suffixes.
std::vector<std::pair<const char*, QByteArray>> GoodDemoFiles()
{
    return {{"DemoApp-32.res", ResFor(1, 2, 0, 15)},
            {"DemoApp-64.res", ResFor(1, 2, 0, 15)},
            {"Tools/DemoTool-32.res", ResFor(1, 0, 1, 7)},
            {"DemoLib-32.res", ResFor(2, 0, 0, 3)},
            {"DemoLib-64.res", ResFor(2, 0, 0, 3)}};
}

std::vector<std::pair<const char*, QByteArray>>
With(std::vector<std::pair<const char*, QByteArray>> files, const char* name,
     const QByteArray& bytes)
{
    for (auto& f : files)
        if (QByteArray(f.first) == name) {
            f.second = bytes;
            return files;
        }
    files.emplace_back(name, bytes);
    return files;
}

std::vector<std::pair<const char*, QByteArray>>
Without(std::vector<std::pair<const char*, QByteArray>> files, const char* name)
{
    files.erase(std::remove_if(files.begin(), files.end(),
                               [name](const auto& f) { return QByteArray(f.first) == name; }),
                files.end());
    return files;
}

struct TVerifyCase {
    const char* Name;
    QStringList Arguments;                                 // after "verify GROUP"
    QStringList ConfigLines;                               // added to the configuration
    QStringList Settings;                                  // the settings file; none when empty
    std::vector<std::pair<const char*, QByteArray>> Files; // below the group folder
    QStringList NewerScripts; // scripts written after the .res files, below the group folder
    int ExitCode;
    const char* Out;
    QStringList Err; // lines; "G/" stands for the group folder
};

void PrintTo(const TVerifyCase& c, std::ostream* os)
{
    *os << c.Name;
}

class VerifyCommandTest : public testing::TestWithParam<TVerifyCase>
{
};

TEST_P(VerifyCommandTest, ReportsEveryWrongResourceFile)
{
    const TVerifyCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString folder = copy.Path(QStringLiteral("demo/"));
    copy.WriteConfig(c.ConfigLines);
    if (!c.Settings.isEmpty())
        TestFiles::Write(folder + QStringLiteral("Demo.vprj"), TestFiles::CrLf(c.Settings));
    const QDateTime now = QDateTime::currentDateTime();
    for (const auto& [name, bytes] : c.Files)
        TestFiles::Write(folder + U(name), bytes);
    for (const QString& script : c.NewerScripts) {
        TestFiles::Write(folder + script, "1 VERSIONINFO\r\n");
        QFile f(folder + script);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(now.addSecs(60), QFileDevice::FileModificationTime));
    }
    const QStringList listing = copy.Listing();

    const TGroupCopy::TRun r = copy.Run(QStringList{QStringLiteral("verify"), group} + c.Arguments);
    EXPECT_EQ(r.ExitCode, c.ExitCode);
    EXPECT_EQ(r.Out, U(c.Out));
    QStringList expected;
    for (const QString& line : c.Err) {
        // The file name between the quotes, as this system writes paths.
        expected << TestFiles::NativeQuoted(QString(line).replace(QLatin1String("G/"), folder));
    }
    EXPECT_EQ(r.Err.split(u'\n', Qt::SkipEmptyParts), expected);
    EXPECT_EQ(copy.Listing(), listing) << "verify writes nothing";
}

const char* const AllGood = "5 resource files carry their projects' file versions\n";

const TVerifyCase VerifyCases[] = {
    {"AllGood", {}, {}, {}, GoodDemoFiles(), {}, 0, AllGood, {}},
    {"NothingBuilt",
     {},
     {},
     {},
     {},
     {},
     1,
     "",
     {QStringLiteral("DemoApp.dproj (32-bit): resource file \"G/DemoApp-32.res\" is missing"),
      QStringLiteral("DemoApp.dproj (64-bit): resource file \"G/DemoApp-64.res\" is missing"),
      QStringLiteral("Tools\\DemoTool.dproj (32-bit): resource file \"G/Tools/DemoTool-32.res\" "
                     "is missing"),
      QStringLiteral("DemoLib.dproj (32-bit): resource file \"G/DemoLib-32.res\" is missing"),
      QStringLiteral("DemoLib.dproj (64-bit): resource file \"G/DemoLib-64.res\" is missing")}},
    {"OneMissing",
     {},
     {},
     {},
     Without(GoodDemoFiles(), "Tools/DemoTool-32.res"),
     {},
     1,
     "",
     {QStringLiteral("Tools\\DemoTool.dproj (32-bit): resource file \"G/Tools/DemoTool-32.res\" "
                     "is missing")}},
    {"OneOfAnotherVersion",
     {},
     {},
     {},
     With(GoodDemoFiles(), "DemoApp-64.res", ResFor(1, 2, 0, 14)),
     {},
     1,
     "",
     {QStringLiteral("DemoApp.dproj (64-bit): resource file \"G/DemoApp-64.res\": FILEVERSION "
                     "1.2.0.14 differs from the project's file version 1.2.0.15"),
      QStringLiteral("DemoApp.dproj (64-bit): resource file \"G/DemoApp-64.res\": the "
                     "FileVersion text \"1.2.0.14\" differs from the project's file version "
                     "1.2.0.15")}},
    {"OneTruncated",
     {},
     {},
     {},
     With(GoodDemoFiles(), "DemoLib-32.res", ResFor(2, 0, 0, 3).left(40)),
     {},
     1,
     "",
     {QStringLiteral(
         "DemoLib.dproj (32-bit): Invalid resource file \"G/DemoLib-32.res\": The "
         "resource entry at offset 32 has a header of 32 bytes, beyond the end of the file")}},
    {"OneIsAScript",
     {},
     {},
     {},
     With(GoodDemoFiles(), "DemoLib-64.res", "1 VERSIONINFO\r\nBEGIN\r\nEND\r\n"),
     {},
     1,
     "",
     {QStringLiteral("DemoLib.dproj (64-bit): Invalid resource file \"G/DemoLib-64.res\": The "
                     "data is not a 32-bit resource file")}},
    {"OneOlderThanItsScript",
     {},
     {},
     {},
     GoodDemoFiles(),
     {QStringLiteral("Resources/Tools/DemoTool-32.rc")},
     1,
     "",
     {QStringLiteral("Tools\\DemoTool.dproj (32-bit): resource file \"G/Tools/DemoTool-32.res\" "
                     "is older than its script \"G/Resources/Tools/DemoTool-32.rc\""),
      QStringLiteral("Tools\\DemoTool.dproj (32-bit): outdated script "
                     "\"G/Resources/Tools/DemoTool-32.rc\": line 1 is \"1 VERSIONINFO\", a build "
                     "now writes \"// Version information of one project and platform. "
                     "Quorvel fills in the\"")}},
    // A project a build skips for a part a version resource cannot hold is
    // named with the build's reason, not as "differs".
    {"NegativePart",
     {},
     {},
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvMajor=1"), QStringLiteral("fvMinor=2"),
      QStringLiteral("fvBuild=-1"), QStringLiteral("Status=3")},
     GoodDemoFiles(),
     {},
     1,
     "",
     {QStringLiteral("DemoApp.dproj: file version 1.2.0.-1 has a part outside 0 to 65535, "
                     "which a VERSIONINFO cannot hold")}},
    {"UncheckedProjectsAreNotRead",
     {},
     {},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvMajor=2"), QStringLiteral("fvBuild=3"),
      QStringLiteral("Status=6")},
     Without(Without(GoodDemoFiles(), "DemoLib-32.res"), "DemoLib-64.res"),
     {},
     0,
     "3 resource files carry their projects' file versions\n",
     {}},
    {"SavedVersionsCount",
     {},
     {},
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvMajor=1"), QStringLiteral("fvMinor=2"),
      QStringLiteral("fvBuild=16"), QStringLiteral("Status=3")},
     GoodDemoFiles(),
     {},
     1,
     "",
     {QStringLiteral("DemoApp.dproj (32-bit): resource file \"G/DemoApp-32.res\": FILEVERSION "
                     "1.2.0.15 differs from the project's file version 1.2.0.16"),
      QStringLiteral("DemoApp.dproj (32-bit): resource file \"G/DemoApp-32.res\": the "
                     "FileVersion text \"1.2.0.15\" differs from the project's file version "
                     "1.2.0.16")}},
    // A newer script outside the resources folder given is not the files' script.
    {"SuffixesAndScriptFolderGiven",
     {QStringLiteral("--suffix32"), QStringLiteral("_x86"), QStringLiteral("--suffix64=_x64"),
      QStringLiteral("--resource-path"), QStringLiteral("rc")},
     {},
     {},
     {{"DemoApp_x86.res", ResFor(1, 2, 0, 15)},
      {"DemoApp_x64.res", ResFor(1, 2, 0, 15)},
      {"Tools/DemoTool_x86.res", ResFor(1, 0, 1, 7)},
      {"DemoLib_x86.res", ResFor(2, 0, 0, 3)},
      {"DemoLib_x64.res", ResFor(2, 0, 0, 3)}},
     {QStringLiteral("Resources/DemoApp_x86.rc")},
     0,
     AllGood,
     {}},
    {"SuffixesFromTheConfiguration",
     {QStringLiteral("--suffix32="), QStringLiteral("--resource-path"), QStringLiteral("")},
     {QStringLiteral("Win64Suffix=.64")},
     {},
     GoodDemoFiles(),
     {},
     1,
     "",
     {QStringLiteral("DemoApp.dproj (32-bit): resource file \"G/DemoApp.res\" is missing"),
      QStringLiteral("DemoApp.dproj (64-bit): resource file \"G/DemoApp.64.res\" is missing"),
      QStringLiteral("Tools\\DemoTool.dproj (32-bit): resource file \"G/Tools/DemoTool.res\" "
                     "is missing"),
      QStringLiteral("DemoLib.dproj (32-bit): resource file \"G/DemoLib.res\" is missing"),
      QStringLiteral("DemoLib.dproj (64-bit): resource file \"G/DemoLib.64.res\" is missing")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, VerifyCommandTest, testing::ValuesIn(VerifyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VerifyCommand, UsageErrors)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    struct {
        QStringList Arguments;
        int ExitCode;
        const char* Err;
    } const cases[] = {
        {{QStringLiteral("verify")}, 2, "quorvel-cli: no group file given"},
        {{QStringLiteral("verify"), group, QStringLiteral("--suffix32")},
         2,
         "quorvel-cli: --suffix32 needs a value"},
        {{QStringLiteral("verify"), group, QStringLiteral("--compiler"), QStringLiteral("x")},
         2,
         "quorvel-cli: unknown option --compiler"},
        {{QStringLiteral("verify"), group, QStringLiteral("--template"),
          copy.Path(QStringLiteral("none.trc"))},
         1,
         "Cannot open file"},
        {{QStringLiteral("verify"), copy.Path(QStringLiteral("none.groupproj"))},
         1,
         "Cannot open file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Err);
        const TGroupCopy::TRun r = copy.Run(c.Arguments);
        EXPECT_EQ(r.ExitCode, c.ExitCode);
        EXPECT_TRUE(r.Err.startsWith(U(c.Err))) << r.Err.toStdString();
    }
}

// A value changed after the build: the .res files still carry the right file
// versions, but the scripts are no longer what a build writes.
TEST(VerifyCommand, ChangedValueWithoutRebuildIsAnOutdatedScript)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString folder = copy.Path(QStringLiteral("demo/"));
    TGroupCopy::TRun r = copy.Run({QStringLiteral("build"), group},
                                  {{QStringLiteral("FAKERC_WRITE_RES"), QStringLiteral("script")}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    r = copy.Run({QStringLiteral("verify"), group});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();

    r = copy.Run({QStringLiteral("set"), group, QStringLiteral("--project"),
                  QStringLiteral("DemoLib.dproj"), QStringLiteral("Description=Core library")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    r = copy.Run({QStringLiteral("verify"), group});
    EXPECT_EQ(r.ExitCode, 1);
    QStringList expected;
    for (const char* platform : {"32", "64"})
        expected << TestFiles::NativeQuoted(
            QStringLiteral("DemoLib.dproj (%1-bit): outdated script "
                           "\"%2Resources/DemoLib-%1.rc\": line 20 is \"            VALUE "
                           "\"FileDescription\", L\"Demo library\\0\"\", a build now "
                           "writes \"            VALUE \"FileDescription\", L\"Core "
                           "library\\0\"\"")
                .arg(U(platform), folder));
    EXPECT_EQ(r.Err.split(u'\n', Qt::SkipEmptyParts), expected);
}

// A build's own options count for the checks after it: a plain check and
// verify judge the scripts that build --escape-values wrote.
TEST(VerifyCommand, TakesTheOptionsTheBuildRecorded)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    TGroupCopy::TRun r =
        copy.Run({QStringLiteral("set"), group, QStringLiteral("Copyright=C:\\Tools")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    r = copy.Run({QStringLiteral("build"), group, QStringLiteral("--escape-values")},
                 {{QStringLiteral("FAKERC_WRITE_RES"), QStringLiteral("script")}});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QString note =
        QStringLiteral("Using the options the last build recorded in %1: --escape-values\n")
            .arg(QDir::toNativeSeparators(
                copy.Path(QStringLiteral("demo/Resources/quorvel-build.ini"))));
    for (const char* command : {"check", "verify"}) {
        r = copy.Run({QLatin1String(command), group});
        EXPECT_EQ(r.ExitCode, 0) << command << ": " << r.Err.toStdString();
        EXPECT_EQ(r.Err, note) << command;
    }
}

// ---- The pipeline with a real resource compiler ------------------------------------

const char* const LlvmRc = "/usr/bin/llvm-rc";

// bump, build and verify as a build pipeline runs them, with llvm-rc making
// the .res files from the demo's template.
TEST(VerifyCommand, BumpBuildVerifyPipelineWithLlvmRc)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the build machine's llvm-rc is a Linux program; this pipeline runs on Linux";
#endif
    if (!QFileInfo::exists(QLatin1String(LlvmRc)))
        GTEST_SKIP() << LlvmRc << " is not installed (Debian package llvm-14); the pipeline with "
                     << "real .res files is not run";
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString folder = copy.Path(QStringLiteral("demo/"));
    // The demo's values are not ASCII: the template's L"..." strings take them escaped.
    copy.WriteConfig({QStringLiteral("EscapeValues=1")}, QLatin1String(LlvmRc));

    TGroupCopy::TRun r = copy.Run({QStringLiteral("verify"), group});
    ASSERT_EQ(r.ExitCode, 1) << "nothing is built yet";

    r = copy.Run({QStringLiteral("bump"), group, QStringLiteral("--build")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    r = copy.Run({QStringLiteral("build"), group});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString() << r.Out.toStdString();
    const QStringList versionLines =
        r.Out.split(u'\n').filter(QStringLiteral("Version resource: "));
    EXPECT_EQ(versionLines,
              (QStringList{
                  U("Version resource: 1.2.0.16, 1.2.0.0, Müller & Söhne, Demo application"),
                  U("Version resource: 1.2.0.16, 1.2.0.0, Müller & Söhne, Demo application"),
                  U("Version resource: 1.0.1.8, 1.2.0.0, Müller & Söhne, Demo command-line tool"),
                  U("Version resource: 2.0.0.4, 1.2.0.0, Müller & Söhne, Demo library"),
                  U("Version resource: 2.0.0.4, 1.2.0.0, Müller & Söhne, Demo library")}))
        << r.Out.toStdString();
    r = copy.Run({QStringLiteral("verify"), group});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QLatin1String(AllGood));

    // A bump without a build leaves the resource files behind.
    r = copy.Run({QStringLiteral("bump"), group, QStringLiteral("--minor"),
                  QStringLiteral("--project"), QStringLiteral("DemoLib.dproj")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("DemoLib.dproj: 2.0.0.4 -> 2.1.0.0\n"));
    r = copy.Run({QStringLiteral("verify"), group});
    EXPECT_EQ(r.ExitCode, 1);
    QStringList expected;
    for (const char* platform : {"32", "64"})
        expected << QStringLiteral("DemoLib.dproj (%1-bit): resource file \"%2DemoLib-%1.res\": "
                                   "FILEVERSION 2.0.0.4 differs from the project's file version "
                                   "2.1.0.0")
                        .arg(U(platform), folder)
                 << QStringLiteral("DemoLib.dproj (%1-bit): resource file \"%2DemoLib-%1.res\": "
                                   "the FileVersion text \"2.0.0.4\" differs from the project's "
                                   "file version 2.1.0.0")
                        .arg(U(platform), folder)
                 << QStringLiteral("DemoLib.dproj (%1-bit): outdated script "
                                   "\"%2Resources/DemoLib-%1.rc\": line 7 is \"FILEVERSION "
                                   "2,0,0,4\", a build now writes \"FILEVERSION 2,1,0,0\"")
                        .arg(U(platform), folder);
    EXPECT_EQ(r.Err.split(u'\n', Qt::SkipEmptyParts), expected);

    r = copy.Run({QStringLiteral("build"), group});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    r = copy.Run({QStringLiteral("verify"), group});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
}

} // namespace
