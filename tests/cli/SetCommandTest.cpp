#include "cli/GroupCopy.h"
#include "project/ProjectGroup.h"
#include "project/TestPrinters.h"
#include "support/IniFile.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <ostream>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A key of the settings file and the value expected in it.
struct TSetting {
    const char* Section;
    const char* Key;
    const char* Value;
};

struct TSetCase {
    const char* Name;
    QStringList Arguments;   // after "set GROUP"
    QStringList ConfigLines; // added to the configuration
    QStringList Settings;    // the settings file before; none when empty
    std::vector<TSetting> Expected;
};

void PrintTo(const TSetCase& c, std::ostream* os)
{
    *os << c.Name;
}

class SetCommandTest : public testing::TestWithParam<TSetCase>
{
};

TEST_P(SetCommandTest, SavesTheSettingsFile)
{
    const TSetCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString settings = copy.Path(QStringLiteral("demo/Demo.vprj"));
    copy.WriteConfig(c.ConfigLines);
    if (!c.Settings.isEmpty())
        TestFiles::Write(settings, TestFiles::CrLf(c.Settings));

    const TGroupCopy::TRun r = copy.Run(QStringList{QStringLiteral("set"), group} + c.Arguments);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err, QString());
    EXPECT_EQ(r.Out, QStringLiteral("Saved ") + QDir::toNativeSeparators(settings) + u'\n');

    const TIniFile ini(settings);
    for (const TSetting& s : c.Expected)
        EXPECT_EQ(ini.ReadString(U(s.Section), U(s.Key), QStringLiteral("<missing>")), U(s.Value))
            << s.Section << " " << s.Key;
}

// What opening the demo group without settings gives, as the save writes it.
const std::vector<TSetting> DemoFallBacks{
    {"Global", "pvMajor", "1"},
    {"Global", "pvMinor", "2"},
    {"Global", "Company", "Müller & Söhne"},
    {"Global", "Copyright", "© 2026 Müller & Söhne"},
    {"Global", "Product", "Quorvel Demo"},
    {"Global", "Author", ""},
    {"DemoApp.dproj", "fvMajor", "1"},
    {"DemoApp.dproj", "fvMinor", "2"},
    {"DemoApp.dproj", "fvRelease", "0"},
    {"DemoApp.dproj", "fvBuild", "15"},
    {"DemoApp.dproj", "Description", "Demo application"},
    {"DemoApp.dproj", "Status", "7"},
    {"Tools\\DemoTool.dproj", "fvRelease", "1"},
    {"Tools\\DemoTool.dproj", "fvBuild", "7"},
    {"Tools\\DemoTool.dproj", "Status", "3"},
    {"DemoLib.dproj", "fvMajor", "2"},
    {"DemoLib.dproj", "fvBuild", "3"},
    {"DemoLib.dproj", "Status", "7"},
};

// The fall-backs with some values replaced.
std::vector<TSetting> FallBacksWith(const std::vector<TSetting>& changes)
{
    std::vector<TSetting> result = DemoFallBacks;
    for (const TSetting& c : changes) {
        bool replaced = false;
        for (TSetting& s : result)
            if (QByteArray(s.Section) == c.Section && QByteArray(s.Key) == c.Key) {
                s.Value = c.Value;
                replaced = true;
            }
        if (!replaced)
            result.push_back(c);
    }
    return result;
}

const TSetCase SetCases[] = {
    {"GroupKeysOnAGroupWithoutSettings",
     {QStringLiteral("pvMajor=3"), QStringLiteral("Company=Acme Ltd")},
     {},
     {},
     FallBacksWith({{"Global", "pvMajor", "3"}, {"Global", "Company", "Acme Ltd"}})},
    // The user's defaults fill what the project files leave empty, and only that.
    {"ConfiguredDefaultsFillTheGaps",
     {QStringLiteral("Product=New name")},
     {QStringLiteral("DefaultAuthor=Jane"), QStringLiteral("DefaultCompany=Other Co")},
     {},
     FallBacksWith({{"Global", "Product", "New name"}, {"Global", "Author", "Jane"}})},
    {"OneProjectNamedWithSlashes",
     {QStringLiteral("--project"), QStringLiteral("Tools/DemoTool.dproj"),
      QStringLiteral("fvBuild=99"), QStringLiteral("Description=Converter")},
     {},
     {},
     FallBacksWith({{"Tools\\DemoTool.dproj", "fvBuild", "99"},
                    {"Tools\\DemoTool.dproj", "Description", "Converter"}})},
    {"EveryProjectLosesWin64",
     {QStringLiteral("--all"), QStringLiteral("win64=false")},
     {},
     {},
     FallBacksWith({{"DemoApp.dproj", "Status", "3"},
                    {"Tools\\DemoTool.dproj", "Status", "3"},
                    {"DemoLib.dproj", "Status", "3"}})},
    {"UncheckOneProject",
     {QStringLiteral("--project=demolib.dproj"), QStringLiteral("enabled=false")},
     {},
     {},
     FallBacksWith({{"DemoLib.dproj", "Status", "6"}})},
    {"GroupAndProjectKeysTogether",
     {QStringLiteral("--project"), QStringLiteral("DemoApp.dproj"), QStringLiteral("--project"),
      QStringLiteral("DemoLib.dproj"), QStringLiteral("fvMinor=4"), QStringLiteral("pvMinor=7"),
      QStringLiteral("Status=5")},
     {},
     {},
     FallBacksWith({{"Global", "pvMinor", "7"},
                    {"DemoApp.dproj", "fvMinor", "4"},
                    {"DemoApp.dproj", "Status", "5"},
                    {"DemoLib.dproj", "fvMinor", "4"},
                    {"DemoLib.dproj", "Status", "5"}})},
    // Saved values win over the project files; what is not set stays.
    {"ExistingSettingsKeepTheirValues",
     {QStringLiteral("--project"), QStringLiteral("DemoApp.dproj"), QStringLiteral("fvRelease=2"),
      QStringLiteral("Author=")},
     {},
     {QStringLiteral("[Global]"), QStringLiteral("pvMajor=5"), QStringLiteral("Author=Bob"),
      QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvBuild=40"), QStringLiteral("Status=3")},
     {{"Global", "pvMajor", "5"},
      {"Global", "pvMinor", "0"},
      {"Global", "Company", ""},
      {"Global", "Author", ""},
      {"DemoApp.dproj", "fvMajor", "1"},
      {"DemoApp.dproj", "fvMinor", "0"},
      {"DemoApp.dproj", "fvRelease", "2"},
      {"DemoApp.dproj", "fvBuild", "40"},
      {"DemoApp.dproj", "Description", ""},
      {"DemoApp.dproj", "Status", "3"},
      {"DemoLib.dproj", "fvBuild", "3"}}},
    {"LargestPartsAreStoredAsGiven",
     {QStringLiteral("--all"), QStringLiteral("fvBuild=65535"), QStringLiteral("pvMajor=65535")},
     {},
     {},
     FallBacksWith({{"Global", "pvMajor", "65535"},
                    {"DemoApp.dproj", "fvBuild", "65535"},
                    {"Tools\\DemoTool.dproj", "fvBuild", "65535"},
                    {"DemoLib.dproj", "fvBuild", "65535"}})},
};

INSTANTIATE_TEST_SUITE_P(Cases, SetCommandTest, testing::ValuesIn(SetCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A settings file as a save writes it, with sections and keys the program
// does not know: a save changes the one value and keeps everything else.
TEST(SetCommand, KeepsUnknownSectionsKeysAndLines)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString settings = copy.Path(QStringLiteral("demo/Demo.vprj"));
    QStringList lines{QStringLiteral("; written by hand"),
                      QStringLiteral("[Global]"),
                      QStringLiteral("pvMajor=1"),
                      QStringLiteral("pvMinor=2"),
                      QStringLiteral("Company=Acme"),
                      QStringLiteral("Copyright=(c) Acme"),
                      QStringLiteral("Product=Demo"),
                      QStringLiteral("Author=Ann"),
                      QStringLiteral("[Gone.dproj]"),
                      QStringLiteral("fvMajor=9"),
                      QStringLiteral("")};
    for (const char* entry : {"DemoApp.dproj", "Tools\\DemoTool.dproj", "DemoLib.dproj"}) {
        lines << QStringLiteral("[%1]").arg(U(entry)) << QStringLiteral("fvMajor=1")
              << QStringLiteral("fvMinor=0") << QStringLiteral("fvRelease=0")
              << QStringLiteral("fvBuild=40") << QStringLiteral("Description=Thing")
              << QStringLiteral("Status=7") << QStringLiteral("Note=kept");
    }
    lines << QStringLiteral("[Extra]") << QStringLiteral("Key=Value");
    TestFiles::Write(settings, TestFiles::CrLf(lines));

    const TGroupCopy::TRun r =
        copy.Run({QStringLiteral("set"), group, QStringLiteral("--project"),
                  QStringLiteral("Tools\\DemoTool.dproj"), QStringLiteral("fvBuild=41")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();

    QStringList expected = lines;
    const int toolSection = int(expected.indexOf(QStringLiteral("[Tools\\DemoTool.dproj]")));
    ASSERT_GT(toolSection, 0);
    expected[toolSection + 4] = QStringLiteral("fvBuild=41");
    EXPECT_EQ(QString::fromUtf8(TestFiles::Read(settings)).split(QStringLiteral("\r\n")),
              expected + QStringList{QString()});
}

#ifndef Q_OS_WIN
// Run as root (a build under sudo), set leaves a user's file the user's.
TEST(SetCommand, KeepsOwnerGroupAndMode)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString settings = copy.Path(QStringLiteral("demo/Demo.vprj"));
    TestFiles::Write(settings,
                     TestFiles::CrLf({QStringLiteral("[Global]"), QStringLiteral("pvMajor=4")}));
    const QByteArray name = QFile::encodeName(settings);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    }
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(name.constData(), &before), 0);
    ASSERT_EQ(copy.Run({QStringLiteral("set"), group, QStringLiteral("pvMajor=5")}).ExitCode, 0);
    ASSERT_EQ(::stat(name.constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_TRUE(TestFiles::Read(settings).contains("pvMajor=5"));
}
#endif

// ---- Usage errors and failures change nothing -----------------------------------------

struct TRefusedCase {
    const char* Name;
    QStringList Arguments; // after "set"; "GROUP" stands for the demo group, "T/" for the folder
    int ExitCode;
    const char* ErrBegins;
    // The settings file's bytes in the pass with one; the row has no pass
    // without one.
    QByteArray SettingsBytes = QByteArray();
};

void PrintTo(const TRefusedCase& c, std::ostream* os)
{
    *os << c.Name;
}

class SetRefusedTest : public testing::TestWithParam<TRefusedCase>
{
};

TEST_P(SetRefusedTest, ChangesNothing)
{
    const TRefusedCase& c = GetParam();
    // Once for a group without a settings file, once for one with it.
    for (bool withSettings : {false, true}) {
        if (!withSettings && !c.SettingsBytes.isEmpty())
            continue;
        SCOPED_TRACE(withSettings ? "with settings" : "without settings");
        TGroupCopy copy;
        const QString group = copy.CopyDemo();
        TestFiles::Write(copy.Path(QStringLiteral("empty.groupproj")), TestFiles::GroupFile({}));
        if (!c.SettingsBytes.isEmpty()) {
            TestFiles::Write(copy.Path(QStringLiteral("demo/Demo.vprj")), c.SettingsBytes);
        } else if (withSettings) {
            TestFiles::Write(
                copy.Path(QStringLiteral("demo/Demo.vprj")),
                TestFiles::CrLf({QStringLiteral("[Global]"), QStringLiteral("pvMajor=4"),
                                 QStringLiteral("[DemoApp.dproj]"), QStringLiteral("fvBuild=3")}));
        }
        QStringList args{QStringLiteral("set")};
        for (const QString& a : c.Arguments)
            args << (a == QLatin1String("GROUP")
                         ? group
                         : QString(a).replace(QLatin1String("T/"), copy.Dir.path() + u'/'));
        const QStringList listing = copy.Listing();

        const TGroupCopy::TRun r = copy.Run(args);
        EXPECT_EQ(r.ExitCode, c.ExitCode);
        EXPECT_TRUE(r.Err.startsWith(U(c.ErrBegins))) << r.Err.toStdString();
        EXPECT_EQ(r.Out, QString());
        EXPECT_EQ(copy.Listing(), listing);
    }
}

const TRefusedCase RefusedCases[] = {
    {"NoGroup", {}, 2, "quorvel-cli: no group file given\nusage: "},
    {"NoAssignment", {QStringLiteral("GROUP")}, 2, "quorvel-cli: no KEY=VALUE given\nusage: "},
    {"UnknownKey",
     {QStringLiteral("GROUP"), QStringLiteral("pvMajor=2"), QStringLiteral("Version=2")},
     2,
     "quorvel-cli: unknown key Version\n"},
    {"NotANumber",
     {QStringLiteral("GROUP"), QStringLiteral("--all"), QStringLiteral("fvBuild=x")},
     2,
     "quorvel-cli: fvBuild needs a number from 0 to 65535, not \"x\"\n"},
    // A version resource would hold 65536 as 0.
    {"FilePartAboveTheLimit",
     {QStringLiteral("GROUP"), QStringLiteral("--all"), QStringLiteral("fvBuild=65536")},
     2,
     "quorvel-cli: fvBuild needs a number from 0 to 65535, not \"65536\"\n"},
    {"ProductPartAboveTheLimit",
     {QStringLiteral("GROUP"), QStringLiteral("pvMajor=70000")},
     2,
     "quorvel-cli: pvMajor needs a number from 0 to 65535, not \"70000\"\n"},
    {"NegativeNumber",
     {QStringLiteral("GROUP"), QStringLiteral("pvMinor=-1")},
     2,
     "quorvel-cli: pvMinor needs a number"},
    {"NotASwitchValue",
     {QStringLiteral("GROUP"), QStringLiteral("--all"), QStringLiteral("win32=yes")},
     2,
     "quorvel-cli: win32 needs true or false, not \"yes\"\n"},
    {"ProjectKeyWithoutProjects",
     {QStringLiteral("GROUP"), QStringLiteral("pvMajor=2"), QStringLiteral("fvBuild=3")},
     2,
     "quorvel-cli: fvBuild is a project key: name the projects with --project ENTRY or --all\n"},
    {"EntryNotInTheGroup",
     {QStringLiteral("GROUP"), QStringLiteral("--project"), QStringLiteral("DemoApp.dproj"),
      QStringLiteral("--project"), QStringLiteral("Nope.dproj"), QStringLiteral("pvMajor=9"),
      QStringLiteral("fvBuild=3")},
     2,
     "quorvel-cli: Nope.dproj is not a project of the group\n"},
    {"EntryWithoutItsFolder",
     {QStringLiteral("GROUP"), QStringLiteral("--project"), QStringLiteral("DemoTool.dproj"),
      QStringLiteral("fvBuild=3")},
     2,
     "quorvel-cli: DemoTool.dproj is not a project of the group\n"},
    {"AllAndProject",
     {QStringLiteral("GROUP"), QStringLiteral("--all"), QStringLiteral("--project"),
      QStringLiteral("DemoApp.dproj"), QStringLiteral("fvBuild=3")},
     2,
     "quorvel-cli: --all and --project exclude each other\n"},
    {"UnknownOption",
     {QStringLiteral("GROUP"), QStringLiteral("--force"), QStringLiteral("pvMajor=1")},
     2,
     "quorvel-cli: unknown option --force\n"},
    {"ProjectWithoutValue",
     {QStringLiteral("GROUP"), QStringLiteral("pvMajor=1"), QStringLiteral("--project")},
     2,
     "quorvel-cli: --project needs a value\n"},
    {"MissingGroupFile",
     {QStringLiteral("T/none.groupproj"), QStringLiteral("pvMajor=1")},
     1,
     "Cannot open file"},
    {"GroupWithoutProjects",
     {QStringLiteral("T/empty.groupproj"), QStringLiteral("pvMajor=1")},
     1,
     "The group \""},
    // The settings file reads text values up to 2047 characters: a longer one
    // would come back cut, and the next save would keep the cut value.
    {"ValueLongerThanTheFileReadsBack",
     {QStringLiteral("GROUP"), QStringLiteral("Author=") + QString(2048, u'x')},
     2,
     "quorvel-cli: Author holds 2048 characters; a value holds at most 2047\n"},
    // Read as empty, the file would get a second copy of its keys.
    {"SettingsFileInUtf16WithoutMark",
     {QStringLiteral("GROUP"), QStringLiteral("pvMajor=1")},
     1,
     "Cannot open file \"",
     QByteArray("[\0G\0l\0o\0b\0a\0l\0]\0\r\0\n\0p\0v\0M\0a\0j\0o\0r\0=\0004\0", 38)},
};

INSTANTIATE_TEST_SUITE_P(Cases, SetRefusedTest, testing::ValuesIn(RefusedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- A real group ----------------------------------------------------------------------

// Setting one key on every project of a corpus group keeps every other value
// as opening the group gave it.
TEST(SetCommand, CorpusGroupRoundTrip)
{
    TGroupCopy copy;
    const QString group = QDir::toNativeSeparators(
        copy.CopyCorpusGroup(QStringLiteral("HashLoad__horse/samples/delphi/Samples.groupproj")));
    QStringList history;
    TProjectGroup before;
    ASSERT_TRUE(before.OpenProjectGroup(group, history, {}));
    ASSERT_GE(before.Projects.Count(), 5);

    const TGroupCopy::TRun r =
        copy.Run({QStringLiteral("set"), group, QStringLiteral("--all"),
                  QStringLiteral("fvBuild=77"), QStringLiteral("Copyright=(c) Horse")});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    ASSERT_TRUE(QFileInfo::exists(before.LastGroupFile));

    TProjectGroup after;
    ASSERT_TRUE(after.OpenProjectGroup(group, history, {}));
    TGroupValues expectedGroup = before.Group;
    expectedGroup.Copyright = QStringLiteral("(c) Horse");
    EXPECT_EQ(after.Group, expectedGroup);
    ASSERT_EQ(after.Projects.Count(), before.Projects.Count());
    for (int i = 0; i < before.Projects.Count(); ++i) {
        SCOPED_TRACE(before.Projects[i].Text.toStdString());
        TProjectData expected = before.Projects[i].Info->ProjectData;
        expected.FileVersionBuild = 77;
        EXPECT_EQ(after.Projects[i].Info->ProjectData, expected);
        EXPECT_EQ(after.Projects[i].Checked, before.Projects[i].Checked);
    }
}

// ---- Help -------------------------------------------------------------------------------

TEST(SetCommand, EveryNewCommandHasItsHelp)
{
    TGroupCopy copy;
    for (const char* command : {"set", "bump", "check", "verify"}) {
        SCOPED_TRACE(command);
        const TGroupCopy::TRun r = copy.Run({U(command), QStringLiteral("--help")});
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_TRUE(r.Out.startsWith(
            QStringLiteral("usage: quorvel-cli [--config FILE] %1 GROUP").arg(U(command))))
            << r.Out.toStdString();
        EXPECT_EQ(r.Err, QString());
        const TGroupCopy::TRun all = copy.Run({QStringLiteral("--help")});
        EXPECT_TRUE(all.Out.contains(QStringLiteral("\n  %1 ").arg(U(command))));
    }
}

} // namespace
