#include "resgen/VersionCheck.h"
#include "resgen/ResourceVerification.h"

#include "resgen/GenerationInput.h"
#include "resgen/ResFile.h"
#include "resgen/VersionResBytes.h"
#include "support/PathHelpers.h"
#include "testsupport/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

using namespace VersionResBytes;

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::string S(const QString& text)
{
    return text.toStdString();
}

TProjectData Project(qint32 major, qint32 minor, qint32 release, qint32 build)
{
    TProjectData d;
    d.FileVersionMajor = major;
    d.FileVersionMinor = minor;
    d.FileVersionRelease = release;
    d.FileVersionBuild = build;
    return d;
}

// ---- What a project file says --------------------------------------------------

const char* const IncludeWarning =
    "the project file still has the IDE's own version information switched on "
    "(<VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>): the program would carry two "
    "version resources";

struct TProjectFileCase {
    const char* Name;
    QStringList Lines;
    QStringList Warnings;
};

void PrintTo(const TProjectFileCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ProjectFileWarningsTest : public testing::TestWithParam<TProjectFileCase>
{
};

TEST_P(ProjectFileWarningsTest, FindsIncludedVersionInfoAndDrift)
{
    TGroupValues group;
    group.ProdMajor = 1;
    group.ProdMinor = 2;
    group.Company = U("Müller & Söhne");
    EXPECT_EQ(ProjectFileWarnings(GetParam().Lines, group), GetParam().Warnings);
}

QString Keys(const char* keys)
{
    return QStringLiteral("        <VerInfo_Keys>%1</VerInfo_Keys>").arg(U(keys));
}

QString Include(const char* value)
{
    return QStringLiteral("        <VerInfo_IncludeVerInfo>%1</VerInfo_IncludeVerInfo>")
        .arg(U(value));
}

const TProjectFileCase ProjectFileCases[] = {
    {"Agrees",
     {Keys("CompanyName=Müller &amp; Söhne;ProductVersion=1.2.0.0"), Include("false")},
     {}},
    {"NoKeysNoInclude", {QStringLiteral("<Project>"), QStringLiteral("</Project>")}, {}},
    {"IncludeSwitchedOn", {Include("true")}, {U(IncludeWarning)}},
    {"IncludeAnyCase", {Include("True")}, {U(IncludeWarning)}},
    // Only the first line that holds the element counts.
    {"FirstIncludeLineCounts", {Include("false"), Include("true")}, {}},
    {"FirstIncludeLineSwitchedOn", {Include("true"), Include("false")}, {U(IncludeWarning)}},
    {"ProductMinorDiffers",
     {Keys("ProductVersion=1.3.0.0")},
     {QStringLiteral("product version 1.3.0.0 in the project file differs from the group's 1.2")}},
    {"ProductMajorDiffers",
     {Keys("CompanyName=Müller &amp; Söhne;ProductVersion=2.2")},
     {QStringLiteral("product version 2.2 in the project file differs from the group's 1.2")}},
    // Without a minor part it reads as 1, as opening a group reads it.
    {"ProductWithoutMinor",
     {Keys("ProductVersion=1")},
     {QStringLiteral("product version 1 in the project file differs from the group's 1.2")}},
    {"ProductVersionEmptyIsNotCompared", {Keys("ProductVersion=;CompanyName=")}, {}},
    {"CompanyDiffers",
     {Keys("CompanyName=Mueller;ProductVersion=1.2.0.0")},
     {U("company \"Mueller\" in the project file differs from the group's \"Müller & Söhne\"")}},
    {"CompanyCaseCounts",
     {Keys("CompanyName=müller &amp; söhne")},
     {U("company \"müller & söhne\" in the project file differs from the group's \"Müller & "
        "Söhne\"")}},
    {"AllThree",
     {Include("TRUE"), Keys("CompanyName=Other;ProductVersion=4.0")},
     {U(IncludeWarning),
      QStringLiteral("product version 4.0 in the project file differs from the group's 1.2"),
      U("company \"Other\" in the project file differs from the group's \"Müller & Söhne\"")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProjectFileWarningsTest, testing::ValuesIn(ProjectFileCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- A whole group -----------------------------------------------------------------

QByteArray ProjectLines(const QStringList& lines)
{
    return "\xEF\xBB\xBF" + TestFiles::CrLf(QStringList{QStringLiteral("<Project>")} + lines +
                                            QStringList{QStringLiteral("</Project>")});
}

TEST(VersionCheck, CheckGroupReportsEveryEntryInListOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + u'/';
    TestFiles::Write(
        root + "G.groupproj",
        TestFiles::GroupFile({QStringLiteral("Good.dproj"), QStringLiteral("Gone.dproj"),
                              QStringLiteral("sub\\Twice.dproj"),
                              QStringLiteral("NoPlatform.dproj"), QStringLiteral("Off.dproj")}));
    TestFiles::Write(root + "Good.dproj",
                     ProjectLines({Keys("CompanyName=Acme;ProductVersion=3.1;FileVersion=1.0.0.1"),
                                   QStringLiteral("<TargetedPlatforms>3</TargetedPlatforms>")}));
    TestFiles::Write(
        root + "sub/Twice.dproj",
        ProjectLines(
            {Include("true"), Keys("CompanyName=Acme;ProductVersion=3.0;FileVersion=1.0.0.2")}));
    TestFiles::Write(
        root + "NoPlatform.dproj",
        ProjectLines({Keys("CompanyName=Acme;ProductVersion=3.1;FileVersion=1.0.0.3")}));
    TestFiles::Write(
        root + "Off.dproj",
        ProjectLines({Keys("CompanyName=Acme;ProductVersion=3.1;FileVersion=1.0.0.4")}));
    // The settings give the group its values and two projects theirs.
    TestFiles::Write(
        root + "G.vprj",
        TestFiles::CrLf({QStringLiteral("[Global]"), QStringLiteral("pvMajor=3"),
                         QStringLiteral("pvMinor=1"), QStringLiteral("Company=Acme"),
                         QStringLiteral("[NoPlatform.dproj]"), QStringLiteral("Status=1"),
                         QStringLiteral("[Off.dproj]"), QStringLiteral("fvBuild=70000"),
                         QStringLiteral("Status=0")}));
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(
        group.OpenProjectGroup(QDir::toNativeSeparators(root + "G.groupproj"), history, {}));

    const QList<TVersionFinding> findings = CheckGroup(group);
    QStringList lines;
    for (const TVersionFinding& f : findings)
        lines << f.Entry + QStringLiteral(": ") + f.Message;
    const QStringList expected{
        QStringLiteral("Gone.dproj: project file \"%1\" is missing")
            .arg(QDir::toNativeSeparators(root + "Gone.dproj")),
        QStringLiteral("sub\\Twice.dproj: ") + U(IncludeWarning),
        QStringLiteral("sub\\Twice.dproj: product version 3.0 in the project file differs from "
                       "the group's 3.1"),
        QStringLiteral("NoPlatform.dproj: checked, but built for neither Win32 nor Win64"),
        QStringLiteral("Off.dproj: file version 1.0.0.70000 has a part outside 0 to 65535, "
                       "which a VERSIONINFO cannot hold"),
    };
    EXPECT_EQ(lines, expected);
}

TEST(VersionCheck, ProductVersionOfTheGroupIsReportedUnderTheGroupFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + u'/';
    TestFiles::Write(root + "G.groupproj", TestFiles::GroupFile({QStringLiteral("A.dproj")}));
    TestFiles::Write(root + "A.dproj", ProjectLines({}));
    TestFiles::Write(root + "G.vprj", TestFiles::CrLf({QStringLiteral("[Global]"),
                                                       QStringLiteral("pvMajor=65536")}));
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(
        group.OpenProjectGroup(QDir::toNativeSeparators(root + "G.groupproj"), history, {}));
    const QList<TVersionFinding> findings = CheckGroup(group);
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(S(findings[0].Entry), "G.groupproj");
    EXPECT_TRUE(findings[0].Message.startsWith(QStringLiteral("product version 65536.0 ")));
}

// ---- The resource files a build makes ---------------------------------------------

TEST(VersionCheck, ResourceTargetsOfTheCompileJobs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString g = QDir::toNativeSeparators(dir.path() + u'/');
    TestFiles::Write(
        g + "G.groupproj",
        TestFiles::GroupFile({QStringLiteral("App.Core.dproj"), QStringLiteral("Tools\\Conv.dproj"),
                              QStringLiteral("Off.dproj"), QStringLiteral("Lib.dproj")}));
    TestFiles::Write(
        g + "G.vprj",
        TestFiles::CrLf({QStringLiteral("[Global]"), QStringLiteral("pvMajor=1"),
                         QStringLiteral("[App.Core.dproj]"), QStringLiteral("fvBuild=9"),
                         QStringLiteral("Status=7"), QStringLiteral("[Tools\\Conv.dproj]"),
                         QStringLiteral("Status=5"), QStringLiteral("[Off.dproj]"),
                         QStringLiteral("Status=6"), QStringLiteral("[Lib.dproj]"),
                         QStringLiteral("Status=1")}));
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(g + "G.groupproj", history, {}));

    TGenerationSettings settings;
    settings.ResourcePath = QStringLiteral("Res");
    settings.Suffix32 = QStringLiteral("_x86");
    settings.Suffix64 = QStringLiteral("_x64");
    TGenerationActions actions;
    actions.MakeFolder = [](const QString&) { return true; };
    actions.WriteScript = [](const TResourceScript&) { return true; };
    QStringList got;
    actions.Compile = [&](const TCompileJob& job) {
        const TResourceTarget t = ResourceTarget(job);
        got << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(t.Entry, t.Platform, t.ScriptFile.mid(g.size()), t.ResFile.mid(g.size()))
                   .arg(t.Data.FileVersionBuild);
    };
    GenerateResources(MakeGenerationInput(group, settings), actions);
    const QString sep = QDir::separator();
    const QStringList expected{
        "App.Core.dproj|32-bit|Res" + sep + "App.Core_x86.rc|App.Core_x86.res|9",
        "App.Core.dproj|64-bit|Res" + sep + "App.Core_x64.rc|App.Core_x64.res|9",
        "Tools\\Conv.dproj|64-bit|Res" + sep + "Tools" + sep + "Conv_x64.rc|Tools" + sep +
            "Conv_x64.res|0",
    };
    EXPECT_EQ(got, expected);
}

// ---- Comparing a resource with the project -------------------------------------------

struct TCompareCase {
    const char* Name;
    quint16 Fixed[4];
    QList<QPair<QString, QString>> Strings;
    QStringList Differences;
};

void PrintTo(const TCompareCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CompareVersionResourceTest : public testing::TestWithParam<TCompareCase>
{
};

TEST_P(CompareVersionResourceTest, ReportsWhatDiffersFromTheProject)
{
    const TCompareCase& c = GetParam();
    const TVersionResource resource =
        DecodeVersionInfo(VersionInfo(c.Fixed, {1, 2, 0, 0}, c.Strings));
    EXPECT_EQ(CompareVersionResource(resource, Project(1, 2, 0, 16)), c.Differences);
}

QPair<QString, QString> FileVersionString(const char* text)
{
    return {QStringLiteral("FileVersion"), U(text)};
}

const QString FixedDiffers =
    QStringLiteral("FILEVERSION 1.2.0.15 differs from the project's file version 1.2.0.16");

QString TextDiffers(const char* text)
{
    return QStringLiteral("the FileVersion text \"%1\" differs from the project's file version "
                          "1.2.0.16")
        .arg(U(text));
}

const TCompareCase CompareCases[] = {
    {"Agrees", {1, 2, 0, 16}, {FileVersionString("1.2.0.16")}, {}},
    {"NoFileVersionText",
     {1, 2, 0, 16},
     {{QStringLiteral("CompanyName"), QStringLiteral("A")}},
     {}},
    {"CommasAndBlanks", {1, 2, 0, 16}, {FileVersionString("1, 2, 0, 16")}, {}},
    {"LeadingPartsOnly", {1, 2, 0, 16}, {FileVersionString("1.2")}, {}},
    {"FixedDiffers", {1, 2, 0, 15}, {FileVersionString("1.2.0.16")}, {FixedDiffers}},
    {"FixedMajorDiffers",
     {2, 2, 0, 16},
     {},
     {QStringLiteral("FILEVERSION 2.2.0.16 differs from the project's file version 1.2.0.16")}},
    {"TextDiffers", {1, 2, 0, 16}, {FileVersionString("1.2.0.15")}, {TextDiffers("1.2.0.15")}},
    {"BothDiffer",
     {1, 2, 0, 15},
     {FileVersionString("1.2.0.15")},
     {FixedDiffers, TextDiffers("1.2.0.15")}},
    {"TextWithWords",
     {1, 2, 0, 16},
     {FileVersionString("1.2.0.16 beta")},
     {TextDiffers("1.2.0.16 beta")}},
    {"TextFiveParts",
     {1, 2, 0, 16},
     {FileVersionString("1.2.0.16.0")},
     {TextDiffers("1.2.0.16.0")}},
    {"TextEmpty", {1, 2, 0, 16}, {FileVersionString("")}, {TextDiffers("")}},
    {"TextNameAnyCase",
     {1, 2, 0, 16},
     {{QStringLiteral("fileversion"), QStringLiteral("9.9")}},
     {TextDiffers("9.9")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompareVersionResourceTest, testing::ValuesIn(CompareCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VersionCheck, ProjectPartsBeyond16BitsNeverMatch)
{
    // 65536 would wrap to 0 in a 16-bit field; the comparison must not wrap.
    const TVersionResource resource =
        DecodeVersionInfo(VersionInfo({1, 0, 0, 0}, {1, 0, 0, 0}, {}));
    EXPECT_EQ(CompareVersionResource(resource, Project(1, 0, 0, 65536)).size(), 1);
    EXPECT_EQ(CompareVersionResource(resource, Project(1, 0, 0, 0)).size(), 0);
}

// ---- Verifying files --------------------------------------------------------------

struct TVerifyCase {
    const char* Name;
    QByteArray Res;       // empty: no .res file
    int ScriptAgeSecs;    // the script's age against the .res file; no script when 0
    QStringList Problems; // "<R>" stands for the .res file, "<S>" for the script
};

void PrintTo(const TVerifyCase& c, std::ostream* os)
{
    *os << c.Name;
}

class VerifyResourceFileTest : public testing::TestWithParam<TVerifyCase>
{
};

TEST_P(VerifyResourceFileTest, ReportsMissingOutdatedUnreadableAndWrongFiles)
{
    const TVerifyCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TResourceTarget target{QStringLiteral("App.dproj"), QStringLiteral("32-bit"),
                           dir.filePath(QStringLiteral("Resources/App-32.rc")),
                           dir.filePath(QStringLiteral("App-32.res")), Project(1, 2, 0, 16)};
    const QDateTime now = QDateTime::currentDateTime();
    if (!c.Res.isEmpty()) {
        TestFiles::Write(target.ResFile, c.Res);
        QFile f(target.ResFile);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(now, QFileDevice::FileModificationTime));
    }
    if (c.ScriptAgeSecs != 0) {
        TestFiles::Write(target.ScriptFile, "1 VERSIONINFO\r\n");
        QFile f(target.ScriptFile);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(now.addSecs(-c.ScriptAgeSecs), QFileDevice::FileModificationTime));
    }
    QStringList expected;
    for (const QString& p : c.Problems)
        expected << QString(p)
                        .replace(QLatin1String("<R>"), target.ResFile)
                        .replace(QLatin1String("<S>"), target.ScriptFile);
    EXPECT_EQ(VerifyResourceFile(target), expected);
}

const QByteArray GoodVersion = VersionInfo(
    {1, 2, 0, 16}, {1, 2, 0, 0}, {{QStringLiteral("FileVersion"), QStringLiteral("1.2.0.16")}});
const QByteArray GoodRes = ResFile(GoodVersion);

const TVerifyCase VerifyCases[] = {
    {"Good", GoodRes, 0, {}},
    {"GoodAndNewerThanItsScript", GoodRes, 60, {}},
    {"Missing", QByteArray(), 60, {QStringLiteral("resource file \"<R>\" is missing")}},
    {"OlderThanItsScript",
     GoodRes,
     -60,
     {QStringLiteral("resource file \"<R>\" is older than its script \"<S>\"")}},
    {"WrongVersion",
     ResFile(VersionInfo({1, 2, 0, 15}, {1, 2, 0, 0}, {})),
     60,
     {QStringLiteral("resource file \"<R>\": FILEVERSION 1.2.0.15 differs from the project's file "
                     "version 1.2.0.16")}},
    {"OutdatedAndWrong",
     ResFile(VersionInfo({1, 2, 0, 15}, {1, 2, 0, 0}, {})),
     -60,
     {QStringLiteral("resource file \"<R>\" is older than its script \"<S>\""),
      QStringLiteral("resource file \"<R>\": FILEVERSION 1.2.0.15 differs from the project's file "
                     "version 1.2.0.16")}},
    {"NotAResourceFile",
     QByteArray("1 VERSIONINFO\r\nBEGIN\r\nEND\r\n"),
     0,
     {QStringLiteral("Invalid resource file \"<R>\": The data is not a 32-bit resource file")}},
    {"Truncated",
     GoodRes.left(GoodRes.size() - 40),
     0,
     {QStringLiteral("Invalid resource file \"<R>\": The resource entry at offset 32 has %1 bytes "
                     "of data, beyond the end of the file")
          .arg(GoodVersion.size())}},
    {"NoVersionResource",
     ResFile(QByteArray()).left(32),
     0,
     {QStringLiteral("The resource file \"<R>\" holds no version information")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, VerifyResourceFileTest, testing::ValuesIn(VerifyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The log line after a compiler run ----------------------------------------------

struct TLogLineCase {
    const char* Name;
    QByteArray Res;   // empty: no file
    const char* Line; // "<R>" stands for the .res file
};

void PrintTo(const TLogLineCase& c, std::ostream* os)
{
    *os << c.Name;
}

class VersionResourceLogLineTest : public testing::TestWithParam<TLogLineCase>
{
};

TEST_P(VersionResourceLogLineTest, ShowsWhatTheFileHolds)
{
    const TLogLineCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString res = dir.filePath(QStringLiteral("App-32.res"));
    if (!c.Res.isEmpty())
        TestFiles::Write(res, c.Res);
    EXPECT_EQ(VersionResourceLogLine(res),
              U(c.Line)
                  .replace(QLatin1String("<R>"), res)
                  .replace(QLatin1String("No such file or directory"), TestFiles::NotFoundText()));
}

const TLogLineCase LogLineCases[] = {
    {"AllFour",
     ResFile(VersionInfo({1, 2, 3, 4}, {2, 5, 0, 0},
                         {{QStringLiteral("CompanyName"), QStringLiteral("Acme")},
                          {QStringLiteral("FileDescription"), QStringLiteral("My tool")}})),
     "Version resource: 1.2.3.4, 2.5.0.0, Acme, My tool"},
    {"NonAsciiText",
     ResFile(VersionInfo({65535, 0, 0, 7}, {1, 0, 0, 0},
                         {{QStringLiteral("FileDescription"), U("Größe")},
                          {QStringLiteral("CompanyName"), U("Müller & Söhne")}})),
     "Version resource: 65535.0.0.7, 1.0.0.0, Müller & Söhne, Größe"},
    {"NoStrings", ResFile(VersionInfo({1, 0, 0, 0}, {1, 0, 0, 0}, {})),
     "Version resource: 1.0.0.0, 1.0.0.0, , "},
    {"Missing", QByteArray(), "*** Error: Cannot open file \"<R>\". No such file or directory"},
    {"NotAResourceFile", QByteArray("MZ\x90\x00", 4),
     "*** Error: Invalid resource file \"<R>\": The data is not a 32-bit resource file"},
};

INSTANTIATE_TEST_SUITE_P(Cases, VersionResourceLogLineTest, testing::ValuesIn(LogLineCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
