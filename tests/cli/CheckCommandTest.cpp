#include "cli/GroupCopy.h"
#include "project/GroupFile.h"
#include "project/TestPrinters.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const char* const IncludeWarning =
    "the project file still has the IDE's own version information switched on "
    "(<VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>): the program would carry two "
    "version resources";

// A change to one of the demo's project files: the n-th occurrence (from 1) of
// a text replaced.
struct TEdit {
    const char* File;
    const char* From;
    const char* To;
    int Occurrence;
};

struct TCheckCase {
    const char* Name;
    QStringList Settings; // the settings file; none when empty
    std::vector<TEdit> Edits;
    QStringList Removed;  // project files deleted, relative to the group folder
    QStringList Warnings; // standard error's lines; "G/" stands for the group folder
};

void PrintTo(const TCheckCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CheckCommandTest : public testing::TestWithParam<TCheckCase>
{
};

TEST_P(CheckCommandTest, WarnsOneLineEach)
{
    const TCheckCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString folder = copy.Path(QStringLiteral("demo/"));
    if (!c.Settings.isEmpty())
        TestFiles::Write(folder + QStringLiteral("Demo.vprj"), TestFiles::CrLf(c.Settings));
    for (const TEdit& e : c.Edits) {
        const QString file = folder + U(e.File);
        QByteArray bytes = TestFiles::Read(file);
        qsizetype at = -1;
        for (int n = 0; n < e.Occurrence; ++n)
            at = bytes.indexOf(e.From, at + 1);
        ASSERT_GE(at, 0) << e.From;
        bytes.replace(at, qsizetype(qstrlen(e.From)), e.To);
        TestFiles::Write(file, bytes);
    }
    for (const QString& removed : c.Removed)
        ASSERT_TRUE(QFile::remove(folder + removed));
    const QStringList listing = copy.Listing();

    const TGroupCopy::TRun r = copy.Run({QStringLiteral("check"), group});
    QStringList expected;
    for (const QString& w : c.Warnings)
        expected << QString(w).replace(QLatin1String("G/"), QDir::toNativeSeparators(folder));
    if (expected.isEmpty()) {
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Err, QString());
        EXPECT_EQ(r.Out, QStringLiteral("No warnings for 3 projects\n"));
    } else {
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_EQ(r.Err, expected.join(u'\n') + u'\n');
        EXPECT_EQ(r.Out, QString());
    }
    EXPECT_EQ(copy.Listing(), listing) << "check writes nothing";
}

const TCheckCase CheckCases[] = {
    {"DemoIsClean", {}, {}, {}, {}},
    {"SavedValuesAgreeing",
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=1"), QStringLiteral("pvMinor=2"),
      U("Company=Müller & Söhne")},
     {},
     {},
     {}},
    {"ProductVersionDrift",
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=1"), QStringLiteral("pvMinor=3"),
      U("Company=Müller & Söhne")},
     {},
     {},
     {QStringLiteral("DemoApp.dproj: product version 1.2.0.0 in the project file differs from "
                     "the group's 1.3"),
      QStringLiteral("Tools\\DemoTool.dproj: product version 1.2.0.0 in the project file "
                     "differs from the group's 1.3"),
      QStringLiteral("DemoLib.dproj: product version 1.2.0.0 in the project file differs from "
                     "the group's 1.3")}},
    {"CompanyDriftInOneProject",
     {},
     {{"DemoLib.dproj", "CompanyName=M\xC3\xBCller", "CompanyName=Mueller", 1}},
     {},
     {U("DemoLib.dproj: company \"Mueller & Söhne\" in the project file differs from the "
        "group's \"Müller & Söhne\"")}},
    {"IdeVersionInfoSwitchedOn",
     {},
     {{"Tools/DemoTool.dproj", "<VerInfo_IncludeVerInfo>false", "<VerInfo_IncludeVerInfo>true", 1}},
     {},
     {QStringLiteral("Tools\\DemoTool.dproj: ") + U(IncludeWarning)}},
    // Only the first line holding the element counts.
    {"IdeVersionInfoOnInALaterLine",
     {},
     {{"DemoApp.dproj", "<VerInfo_IncludeVerInfo>false", "<VerInfo_IncludeVerInfo>true", 2}},
     {},
     {}},
    {"ProjectFileMissing",
     {},
     {},
     {QStringLiteral("DemoLib.dproj")},
     {QStringLiteral("DemoLib.dproj: project file \"G/DemoLib.dproj\" is missing")}},
    {"CheckedWithoutPlatform",
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvMajor=1"), QStringLiteral("Status=1")},
     {},
     {},
     {QStringLiteral("DemoApp.dproj: checked, but built for neither Win32 nor Win64")}},
    {"BackslashWithoutEscaping",
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=1"), QStringLiteral("pvMinor=2"),
      U("Company=Müller & Söhne"), QStringLiteral("Copyright=C:\\Tools")},
     {},
     {},
     {QStringLiteral("Demo.groupproj: Copyright holds a backslash or a control character, which "
                     "the compiler reads as an escape or a break while \"Escape text values\" "
                     "is off: switch it on on the settings page, or build with --escape-values")}},
    // Written by another tool: the line reader takes only lines that begin
    // with the element and its Include.
    {"ProjectTheReaderSkips",
     {},
     {{"Demo.groupproj", "<Projects Include=\"DemoLib.dproj\">",
       "<Projects\r\n      Include=\"DemoLib.dproj\">", 1}},
     {},
     {QStringLiteral("Demo.groupproj: the group file lists the project \"DemoLib.dproj\" in a "
                     "form this program does not read (Delphi writes <Projects Include=\"...\"> "
                     "at the start of a line): it is left out")}},
    {"UncheckedWithoutPlatform",
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("Status=0")},
     {},
     {},
     {}},
    {"BuildAbove16Bits",
     {QStringLiteral("[Tools\\DemoTool.dproj]"), QStringLiteral("fvBuild=65536"),
      QStringLiteral("Status=3")},
     {},
     {},
     {QStringLiteral("Tools\\DemoTool.dproj: file version 1.0.0.65536 has a part outside 0 to "
                     "65535, which a VERSIONINFO cannot hold")}},
    {"ProductVersionAbove16Bits",
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=70000"), QStringLiteral("pvMinor=2"),
      U("Company=Müller & Söhne")},
     {},
     {},
     {QStringLiteral("Demo.groupproj: product version 70000.2 has a part outside 0 to 65535, "
                     "which a VERSIONINFO cannot hold"),
      QStringLiteral("DemoApp.dproj: product version 1.2.0.0 in the project file differs from "
                     "the group's 70000.2"),
      QStringLiteral("Tools\\DemoTool.dproj: product version 1.2.0.0 in the project file "
                     "differs from the group's 70000.2"),
      QStringLiteral("DemoLib.dproj: product version 1.2.0.0 in the project file differs from "
                     "the group's 70000.2")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CheckCommandTest, testing::ValuesIn(CheckCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- A real group -----------------------------------------------------------------

// In the corpus group most projects still have the IDE's own version
// information switched on in their first such line; the others have not, and
// one project file is not there.
TEST(CheckCommand, CorpusGroupIdeVersionInfo)
{
    TGroupCopy copy;
    const QString group =
        copy.CopyCorpusGroup(QStringLiteral("HashLoad__horse/samples/delphi/Samples.groupproj"));
    const QString folder = copy.Path(QStringLiteral("corpus/"));
    const TGroupCopy::TRun r = copy.Run({QStringLiteral("check"), group});
    const QStringList lines = r.Err.split(u'\n', Qt::SkipEmptyParts);

    int switchedOn = 0;
    for (const QString& entry : ReadProjectEntries(ReadTextFile(group).Lines)) {
        SCOPED_TRACE(entry.toStdString());
        const QString file = folder + QString(entry).replace(u'\\', u'/');
        if (!QFileInfo::exists(file)) {
            EXPECT_EQ(lines.filter(entry + QStringLiteral(": ")),
                      QStringList{entry + QStringLiteral(": project file \"%1\" is missing")
                                              .arg(QDir::toNativeSeparators(file))});
            continue;
        }
        const QStringList projectLines = ReadTextFile(file).Lines;
        bool on = false;
        for (const QString& line : projectLines)
            if (line.contains(QLatin1String("<VerInfo_IncludeVerInfo>"))) {
                on = line.contains(QLatin1String("<VerInfo_IncludeVerInfo>true<"));
                break;
            }
        switchedOn += on;
        EXPECT_EQ(lines.contains(entry + QStringLiteral(": ") + U(IncludeWarning)), on);
    }
    ASSERT_GT(switchedOn, 0);
    EXPECT_EQ(r.ExitCode, 1);
    for (const QString& line : lines)
        EXPECT_TRUE(line.contains(QLatin1String(".dproj: "))) << line.toStdString();
}

TEST(CheckCommand, UsageErrors)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    struct {
        QStringList Arguments;
        int ExitCode;
        const char* Err;
    } const cases[] = {
        {{QStringLiteral("check")}, 2, "quorvel-cli: no group file given"},
        {{QStringLiteral("check"), group, group}, 2, "quorvel-cli: more than one group given"},
        {{QStringLiteral("check"), group, QStringLiteral("--strict")},
         2,
         "quorvel-cli: unknown option --strict"},
        {{QStringLiteral("check"), copy.Path(QStringLiteral("none.groupproj"))},
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

// A file that names no project is no group to build or check: a pipeline with
// a wrong path must not pass. Listing it stays harmless.
TEST(CheckCommand, FileWithoutProjects)
{
    TGroupCopy copy;
    const QString demo = copy.CopyDemo();
    TestFiles::Write(copy.Path(QStringLiteral("empty.groupproj")), QByteArray());
    TestFiles::Write(copy.Path(QStringLiteral("README.md")), "# Demo\n\nNo group here.\n");
    const QString project = copy.Path(QStringLiteral("demo/DemoApp.dproj"));
    struct {
        const char* Command;
        QString File;
        int ExitCode;
        const char* Out;
    } const cases[] = {
        {"build", copy.Path(QStringLiteral("empty.groupproj")), 1, ""},
        {"check", copy.Path(QStringLiteral("README.md")), 1, ""},
        {"verify", project, 1, ""},
        {"build", project, 1, ""},
        {"list", copy.Path(QStringLiteral("empty.groupproj")), 0, "No projects.\n"},
    };
    const QStringList listing = copy.Listing();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        const TGroupCopy::TRun r = copy.Run({QLatin1String(c.Command), c.File});
        EXPECT_EQ(r.ExitCode, c.ExitCode);
        if (c.ExitCode)
            EXPECT_TRUE(r.Out.isEmpty()) << r.Out.toStdString();
        else
            EXPECT_TRUE(r.Out.endsWith(U(c.Out))) << r.Out.toStdString();
        EXPECT_EQ(r.Err, c.ExitCode
                             ? QStringLiteral("No projects in %1\n").arg(TestFiles::Native(c.File))
                             : QString());
    }
    EXPECT_EQ(copy.Listing(), listing);
    Q_UNUSED(demo);
}

} // namespace
