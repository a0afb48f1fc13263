#include "cli/GroupCopy.h"
#include "project/TestPrinters.h"
#include "support/IniFile.h"
#include "testsupport/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const char* const Entries[] = {"DemoApp.dproj", "Tools\\DemoTool.dproj", "DemoLib.dproj"};

// The file versions of the demo's three projects as the settings file holds them.
QStringList SavedVersions(const QString& settings)
{
    const TIniFile ini(settings);
    QStringList result;
    for (const char* entry : Entries) {
        QStringList parts;
        for (const char* key : {"fvMajor", "fvMinor", "fvRelease", "fvBuild"})
            parts << ini.ReadString(U(entry), U(key), QStringLiteral("?"));
        result << parts.join(u'.');
    }
    return result;
}

struct TBumpCase {
    const char* Name;
    QStringList Arguments; // after "bump GROUP"
    QStringList Settings;  // the settings file before; none when empty
    const char* Out;
    QStringList Versions; // of the three projects afterwards
};

void PrintTo(const TBumpCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BumpCommandTest : public testing::TestWithParam<TBumpCase>
{
};

TEST_P(BumpCommandTest, RaisesPrintsAndSaves)
{
    const TBumpCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString settings = copy.Path(QStringLiteral("demo/Demo.vprj"));
    if (!c.Settings.isEmpty())
        TestFiles::Write(settings, TestFiles::CrLf(c.Settings));

    const TGroupCopy::TRun r = copy.Run(QStringList{QStringLiteral("bump"), group} + c.Arguments);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err, QString());
    EXPECT_EQ(r.Out, U(c.Out));
    EXPECT_EQ(SavedVersions(settings), c.Versions);
}

const TBumpCase BumpCases[] = {
    {"BuildOfTheCheckedProjects",
     {QStringLiteral("--build")},
     {},
     "DemoApp.dproj: 1.2.0.15 -> 1.2.0.16\n"
     "Tools\\DemoTool.dproj: 1.0.1.7 -> 1.0.1.8\n"
     "DemoLib.dproj: 2.0.0.3 -> 2.0.0.4\n",
     {QStringLiteral("1.2.0.16"), QStringLiteral("1.0.1.8"), QStringLiteral("2.0.0.4")}},
    {"ReleaseResetsBuild",
     {QStringLiteral("--release"), QStringLiteral("--project"),
      QStringLiteral("Tools/DemoTool.dproj")},
     {},
     "Tools\\DemoTool.dproj: 1.0.1.7 -> 1.0.2.0\n",
     {QStringLiteral("1.2.0.15"), QStringLiteral("1.0.2.0"), QStringLiteral("2.0.0.3")}},
    {"MinorResetsReleaseAndBuild",
     {QStringLiteral("--project=DemoLib.dproj"), QStringLiteral("--minor")},
     {},
     "DemoLib.dproj: 2.0.0.3 -> 2.1.0.0\n",
     {QStringLiteral("1.2.0.15"), QStringLiteral("1.0.1.7"), QStringLiteral("2.1.0.0")}},
    // The projects are bumped and printed in list order, whatever order names them.
    {"MajorOfTwoNamedProjects",
     {QStringLiteral("--major"), QStringLiteral("--project"), QStringLiteral("DemoLib.dproj"),
      QStringLiteral("--project"), QStringLiteral("DemoApp.dproj")},
     {},
     "DemoApp.dproj: 1.2.0.15 -> 2.0.0.0\n"
     "DemoLib.dproj: 2.0.0.3 -> 3.0.0.0\n",
     {QStringLiteral("2.0.0.0"), QStringLiteral("1.0.1.7"), QStringLiteral("3.0.0.0")}},
    {"UncheckedProjectsStay",
     {QStringLiteral("--build")},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvMajor=2"), QStringLiteral("fvBuild=9"),
      QStringLiteral("Status=6")},
     "DemoApp.dproj: 1.2.0.15 -> 1.2.0.16\n"
     "Tools\\DemoTool.dproj: 1.0.1.7 -> 1.0.1.8\n",
     {QStringLiteral("1.2.0.16"), QStringLiteral("1.0.1.8"), QStringLiteral("2.0.0.9")}},
    {"AllTakesUncheckedOnes",
     {QStringLiteral("--all"), QStringLiteral("--build")},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvMajor=2"), QStringLiteral("fvBuild=9"),
      QStringLiteral("Status=0")},
     "DemoApp.dproj: 1.2.0.15 -> 1.2.0.16\n"
     "Tools\\DemoTool.dproj: 1.0.1.7 -> 1.0.1.8\n"
     "DemoLib.dproj: 2.0.0.9 -> 2.0.0.10\n",
     {QStringLiteral("1.2.0.16"), QStringLiteral("1.0.1.8"), QStringLiteral("2.0.0.10")}},
    {"SavedValuesAreBumped",
     {QStringLiteral("--build"), QStringLiteral("--project"), QStringLiteral("DemoApp.dproj")},
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=1"), QStringLiteral("[DemoApp.dproj]"),
      QStringLiteral("fvMajor=3"), QStringLiteral("fvMinor=1"), QStringLiteral("fvBuild=65534")},
     "DemoApp.dproj: 3.1.0.65534 -> 3.1.0.65535\n",
     {QStringLiteral("3.1.0.65535"), QStringLiteral("1.0.1.7"), QStringLiteral("2.0.0.3")}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BumpCommandTest, testing::ValuesIn(BumpCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BumpCommand, EachRunStartsFromTheSavedVersion)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QStringList args{QStringLiteral("bump"), group, QStringLiteral("--build"),
                           QStringLiteral("--project"), QStringLiteral("DemoApp.dproj")};
    for (int build = 16; build <= 18; ++build) {
        const TGroupCopy::TRun r = copy.Run(args);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_EQ(
            r.Out,
            QStringLiteral("DemoApp.dproj: 1.2.0.%1 -> 1.2.0.%2\n").arg(build - 1).arg(build));
    }
    // The settings file the first run created keeps the group's fall-backs.
    const TIniFile ini(copy.Path(QStringLiteral("demo/Demo.vprj")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Global"), QStringLiteral("Product"), QString()),
              QStringLiteral("Quorvel Demo"));
    EXPECT_EQ(SavedVersions(ini.FileName()),
              (QStringList{QStringLiteral("1.2.0.18"), QStringLiteral("1.0.1.7"),
                           QStringLiteral("2.0.0.3")}));
}

// ---- Refused runs change nothing ----------------------------------------------------

struct TRefusedCase {
    const char* Name;
    QStringList Arguments; // after "bump GROUP"
    QStringList Settings;
    int ExitCode;
    const char* Err; // the first line
};

void PrintTo(const TRefusedCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BumpRefusedTest : public testing::TestWithParam<TRefusedCase>
{
};

TEST_P(BumpRefusedTest, ChangesNothing)
{
    const TRefusedCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    if (!c.Settings.isEmpty())
        TestFiles::Write(copy.Path(QStringLiteral("demo/Demo.vprj")), TestFiles::CrLf(c.Settings));
    const QStringList listing = copy.Listing();
    const TGroupCopy::TRun r = copy.Run(QStringList{QStringLiteral("bump"), group} + c.Arguments);
    EXPECT_EQ(r.ExitCode, c.ExitCode);
    EXPECT_EQ(r.Err.section(u'\n', 0, 0), U(c.Err));
    // A refusal of a well-formed request is its one line, without the usage.
    if (c.ExitCode == 1) {
        EXPECT_EQ(r.Err.count(u'\n'), 1) << r.Err.toStdString();
    }
    EXPECT_EQ(r.Out, QString());
    EXPECT_EQ(copy.Listing(), listing);
}

const QStringList AllUnchecked{
    QStringLiteral("[DemoApp.dproj]"),         QStringLiteral("Status=6"),
    QStringLiteral("[Tools\\DemoTool.dproj]"), QStringLiteral("Status=2"),
    QStringLiteral("[DemoLib.dproj]"),         QStringLiteral("Status=0")};

const TRefusedCase RefusedCases[] = {
    {"NoPart", {}, {}, 2, "quorvel-cli: give exactly one of --major, --minor, --release, --build"},
    {"TwoParts",
     {QStringLiteral("--major"), QStringLiteral("--build")},
     {},
     2,
     "quorvel-cli: give exactly one of --major, --minor, --release, --build"},
    {"EntryNotInTheGroup",
     {QStringLiteral("--build"), QStringLiteral("--project"), QStringLiteral("DemoApp.dproj"),
      QStringLiteral("--project"), QStringLiteral("Other.dproj")},
     {},
     2,
     "quorvel-cli: Other.dproj is not a project of the group"},
    {"AllAndProject",
     {QStringLiteral("--build"), QStringLiteral("--all"), QStringLiteral("--project"),
      QStringLiteral("DemoApp.dproj")},
     {},
     2,
     "quorvel-cli: --all and --project exclude each other"},
    {"AssignmentIsNoGroup",
     {QStringLiteral("--build"), QStringLiteral("fvBuild=3")},
     {},
     2,
     "quorvel-cli: more than one group given"},
    {"NothingChecked",
     {QStringLiteral("--build")},
     AllUnchecked,
     1,
     "quorvel-cli: no project of the group is checked; name them with --project ENTRY or --all"},
    // One project cannot be raised: the others are not saved either. A
    // version resource wraps a part above 65535 (65536 comes out as 0).
    {"LargestBuild",
     {QStringLiteral("--build")},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvBuild=65535")},
     1,
     "quorvel-cli: DemoLib.dproj: the file version 1.0.0.65535 cannot be raised further: a version "
     "resource holds no part "
     "above 65535"},
    {"StoredMinorAboveTheLimit",
     {QStringLiteral("--minor"), QStringLiteral("--all")},
     {QStringLiteral("[Tools\\DemoTool.dproj]"), QStringLiteral("fvMinor=70000")},
     1,
     "quorvel-cli: Tools\\DemoTool.dproj: the file version 1.70000.0.0 cannot be raised further: a "
     "version resource holds no part above 65535"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BumpRefusedTest, testing::ValuesIn(RefusedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
