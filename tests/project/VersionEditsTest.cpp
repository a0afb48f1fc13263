#include "project/VersionEdits.h"
#include "project/TestPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <ostream>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// ---- Parsing and applying KEY=VALUE ----------------------------------------

// A group and a project as they stand before an assignment.
TGroupValues StartGroup()
{
    TGroupValues g;
    g.ProdMajor = 3;
    g.ProdMinor = 4;
    g.Author = QStringLiteral("Ann");
    g.Company = QStringLiteral("Acme");
    g.Copyright = QStringLiteral("(c) Acme");
    g.Product = QStringLiteral("Tool");
    return g;
}

TProjectData StartProject()
{
    TProjectData d;
    d.FileVersionMajor = 2;
    d.FileVersionMinor = 5;
    d.FileVersionRelease = 7;
    d.FileVersionBuild = 11;
    d.FileDescription = QStringLiteral("App");
    d.Status = TProjectStates{psEnabled, psWin32};
    return d;
}

struct TEditCase {
    const char* Name;
    const char* Assignment;
    bool ProjectKey;
    TGroupValues Group;   // after applying to StartGroup()
    TProjectData Project; // after applying to StartProject()
};

void PrintTo(const TEditCase& c, std::ostream* os)
{
    *os << c.Name;
}

TGroupValues GroupWith(void (*change)(TGroupValues&))
{
    TGroupValues g = StartGroup();
    change(g);
    return g;
}

TProjectData ProjectWith(void (*change)(TProjectData&))
{
    TProjectData d = StartProject();
    change(d);
    return d;
}

class VersionEditTest : public testing::TestWithParam<TEditCase>
{
};

TEST_P(VersionEditTest, ChangesOnlyItsOwnField)
{
    const TEditCase& c = GetParam();
    TVersionEdit edit;
    ASSERT_EQ(ParseVersionEdit(U(c.Assignment), edit), QString());
    EXPECT_EQ(edit.IsProjectKey(), c.ProjectKey);

    TGroupValues group = StartGroup();
    ApplyGroupEdit(group, edit);
    EXPECT_EQ(group, c.Group);

    TProjectData project = StartProject();
    ApplyProjectEdit(project, edit);
    EXPECT_EQ(project, c.Project);
}

const TEditCase EditCases[] = {
    {"ProductMajor", "pvMajor=12", false, GroupWith([](TGroupValues& g) { g.ProdMajor = 12; }),
     StartProject()},
    {"ProductMinorAnyCase", "PVMINOR=0", false, GroupWith([](TGroupValues& g) { g.ProdMinor = 0; }),
     StartProject()},
    {"LargestNumber", "pvMajor=65535", false,
     GroupWith([](TGroupValues& g) { g.ProdMajor = 65535; }), StartProject()},
    {"BlanksAroundNumber", "pvMinor= 9 ", false,
     GroupWith([](TGroupValues& g) { g.ProdMinor = 9; }), StartProject()},
    {"CompanyNonAscii", "Company=Müller & Söhne", false,
     GroupWith([](TGroupValues& g) { g.Company = U("Müller & Söhne"); }), StartProject()},
    // Only the first "=" separates key and value.
    {"CopyrightWithEquals", "Copyright=a=b", false,
     GroupWith([](TGroupValues& g) { g.Copyright = QStringLiteral("a=b"); }), StartProject()},
    {"ProductEmpty", "Product=", false, GroupWith([](TGroupValues& g) { g.Product = QString(); }),
     StartProject()},
    // Text values keep their blanks, as the window's fields do.
    {"AuthorKeepsBlanks", "author= Bo ", false,
     GroupWith([](TGroupValues& g) { g.Author = QStringLiteral(" Bo "); }), StartProject()},
    {"FileMajor", "fvMajor=0", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.FileVersionMajor = 0; })},
    {"FileMinor", "fvMinor=65535", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.FileVersionMinor = 65535; })},
    {"FileRelease", "fvRelease=3", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.FileVersionRelease = 3; })},
    {"FileBuild", "FvBuild=100", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.FileVersionBuild = 100; })},
    {"Description", "Description=Demo tool", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.FileDescription = QStringLiteral("Demo tool"); })},
    {"StatusBitMask", "Status=6", true, StartGroup(), ProjectWith([](TProjectData& d) {
         d.Status = TProjectStates{psWin32, psWin64};
     })},
    {"StatusZero", "Status=0", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.Status = TProjectStates{}; })},
    {"DisableKeepsPlatforms", "enabled=false", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.Status = TProjectStates{psWin32}; })},
    {"Win64On", "win64=TRUE", true, StartGroup(), ProjectWith([](TProjectData& d) {
         d.Status = TProjectStates{psEnabled, psWin32, psWin64};
     })},
    {"Win32Off", "Win32=false", true, StartGroup(),
     ProjectWith([](TProjectData& d) { d.Status = TProjectStates{psEnabled}; })},
    {"SwitchAlreadySet", "enabled=true", true, StartGroup(), StartProject()},
};

INSTANTIATE_TEST_SUITE_P(Cases, VersionEditTest, testing::ValuesIn(EditCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TBadEditCase {
    const char* Name;
    const char* Assignment;
    const char* Error;
};

void PrintTo(const TBadEditCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BadVersionEditTest : public testing::TestWithParam<TBadEditCase>
{
};

TEST_P(BadVersionEditTest, IsRefusedWithItsReason)
{
    const TBadEditCase& c = GetParam();
    TVersionEdit edit;
    edit.Key = ekAuthor;
    edit.Text = QStringLiteral("unchanged");
    EXPECT_EQ(ParseVersionEdit(U(c.Assignment), edit), U(c.Error));
    EXPECT_EQ(edit.Key, ekAuthor) << "a refused assignment leaves the edit alone";
    EXPECT_EQ(edit.Text, QStringLiteral("unchanged"));
}

const TBadEditCase BadEditCases[] = {
    {"NoEquals", "fvBuild", "fvBuild is no KEY=VALUE assignment"},
    {"UnknownKey", "Version=1.2", "unknown key Version"},
    {"EmptyKey", "=3", "=3 is no KEY=VALUE assignment"},
    {"PlaceholderOnlyKey", "Platform=32-bit", "unknown key Platform"},
    {"NotANumber", "fvBuild=abc", "fvBuild needs a number from 0 to 65535, not \"abc\""},
    {"EmptyNumber", "pvMajor=", "pvMajor needs a number from 0 to 65535, not \"\""},
    {"Negative", "fvMinor=-1", "fvMinor needs a number from 0 to 65535, not \"-1\""},
    {"Hexadecimal", "fvMinor=0x10", "fvMinor needs a number from 0 to 65535, not \"0x10\""},
    {"DottedVersion", "fvMajor=1.2", "fvMajor needs a number from 0 to 65535, not \"1.2\""},
    {"TooLarge", "fvBuild=65536", "fvBuild needs a number from 0 to 65535, not \"65536\""},
    {"FarTooLarge", "fvBuild=99999999999999999999",
     "fvBuild needs a number from 0 to 65535, not \"99999999999999999999\""},
    {"NonAsciiDigits", "fvBuild=٣", "fvBuild needs a number from 0 to 65535, not \"٣\""},
    {"StatusAboveSeven", "Status=8", "Status needs a number from 0 to 7, not \"8\""},
    {"SwitchNumber", "win32=1", "win32 needs true or false, not \"1\""},
    {"SwitchYes", "enabled=yes", "enabled needs true or false, not \"yes\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadVersionEditTest, testing::ValuesIn(BadEditCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VersionEdits, ProjectEditsKeepTheCheckMarkInStep)
{
    struct {
        const char* Assignment;
        bool Checked;
    } const cases[] = {
        {"enabled=false", false}, {"Status=1", true}, {"Status=6", false}, {"win64=false", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Assignment);
        TVersionEdit edit;
        ASSERT_EQ(ParseVersionEdit(U(c.Assignment), edit), QString());
        TProjectEntry entry{QStringLiteral("App.dproj"), true,
                            std::make_unique<TProjectInfo>(StartProject())};
        ApplyProjectEdits(entry, {edit});
        EXPECT_EQ(entry.Checked, c.Checked);
        EXPECT_EQ(entry.Info->ProjectData.Status.Contains(psEnabled), c.Checked);
    }
}

TEST(VersionEdits, EveryKeyNameParsesBackToItsKey)
{
    for (int k = ekProdMajor; k <= ekWin64; ++k) {
        const TEditKey key = TEditKey(k);
        const bool isSwitch = key == ekEnabled || key == ekWin32 || key == ekWin64;
        TVersionEdit edit;
        ASSERT_EQ(ParseVersionEdit(EditKeyName(key) + (isSwitch ? "=true" : "=1"), edit), QString())
            << EditKeyName(key).toStdString();
        EXPECT_EQ(edit.Key, key);
    }
}

// What the settings file and the listing read from the values is what the
// same key sets, for every key.
TEST(VersionEdits, KeyValueGivesBackWhatTheKeySet)
{
    const char* const assignments[] = {
        "pvMajor=12",     "pvMinor=13", "Company=Co",    "Copyright=Cr", "Product=Pr",
        "Author=Au",      "fvMajor=21", "fvMinor=22",    "fvRelease=23", "fvBuild=24",
        "Description=De", "Status=4",   "enabled=false", "win32=false",  "win64=true"};
    for (const char* assignment : assignments) {
        SCOPED_TRACE(assignment);
        TVersionEdit edit;
        ASSERT_EQ(ParseVersionEdit(U(assignment), edit), QString());
        TGroupValues group = StartGroup();
        TProjectData project = StartProject();
        ApplyGroupEdit(group, edit);
        ApplyProjectEdit(project, edit);
        const TVersionEdit read = edit.IsProjectKey() ? ProjectKeyValue(project, edit.Key)
                                                      : GroupKeyValue(group, edit.Key);
        EXPECT_EQ(read.Key, edit.Key);
        EXPECT_EQ(IsNumberKey(edit.Key) ? QString::number(read.Number) : read.Text,
                  IsNumberKey(edit.Key) ? QString::number(edit.Number) : edit.Text);
    }
    EXPECT_EQ(GroupSettingsKeys().size() + ProjectSettingsKeys().size(), 12);
}

// ---- Finding entries ---------------------------------------------------------

struct TFindCase {
    const char* Name;
    const char* Given;
    QList<int> Found;
};

void PrintTo(const TFindCase& c, std::ostream* os)
{
    *os << c.Name;
}

class FindProjectEntriesTest : public testing::TestWithParam<TFindCase>
{
};

TEST_P(FindProjectEntriesTest, FindsEveryEntryOfThatText)
{
    TProjectList list;
    for (const char* e :
         {"App.dproj", "Tools\\Conv.dproj", "lib/Core.dproj", "APP.dproj", "R&amp;D\\Lab.dproj"})
        list.Add(U(e));
    EXPECT_EQ(FindProjectEntries(list, U(GetParam().Given)), GetParam().Found);
}

const TFindCase FindCases[] = {
    {"Exact", "Tools\\Conv.dproj", {1}},
    {"SlashForBackslash", "Tools/Conv.dproj", {1}},
    {"BackslashForSlash", "lib\\Core.dproj", {2}},
    {"BothEntriesOfEqualText", "app.dproj", {0, 3}},
    {"NameWithoutFolderIsNotTheEntry", "Conv.dproj", {}},
    {"WithoutExtension", "App", {}},
    {"Empty", "", {}},
    // The entry as the window shows it, and as the group file writes it.
    {"ReferenceDecoded", "R&D/Lab.dproj", {4}},
    {"ReferenceAsWritten", "r&amp;d\\lab.dproj", {4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindProjectEntriesTest, testing::ValuesIn(FindCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Bumping -------------------------------------------------------------------

struct TBumpCase {
    const char* Name;
    TVersionPart Part;
    qint32 Before[4];
    qint32 After[4];
    bool Bumped;
};

void PrintTo(const TBumpCase& c, std::ostream* os)
{
    *os << c.Name;
}

class BumpFileVersionTest : public testing::TestWithParam<TBumpCase>
{
};

TEST_P(BumpFileVersionTest, RaisesThePartAndResetsTheLowerOnes)
{
    const TBumpCase& c = GetParam();
    TProjectData d = StartProject();
    d.FileVersionMajor = c.Before[0];
    d.FileVersionMinor = c.Before[1];
    d.FileVersionRelease = c.Before[2];
    d.FileVersionBuild = c.Before[3];
    const TProjectData before = d;
    EXPECT_EQ(BumpFileVersion(d, c.Part), c.Bumped);
    const qint32 after[4] = {d.FileVersionMajor, d.FileVersionMinor, d.FileVersionRelease,
                             d.FileVersionBuild};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(after[k], c.After[k]) << "part " << k;
    EXPECT_EQ(d.FileDescription, before.FileDescription);
    EXPECT_EQ(d.Status, before.Status);
}

constexpr qint32 Max32 = std::numeric_limits<qint32>::max();

const TBumpCase BumpCases[] = {
    {"Build", vpBuild, {1, 2, 0, 15}, {1, 2, 0, 16}, true},
    {"ReleaseResetsBuild", vpRelease, {1, 2, 3, 15}, {1, 2, 4, 0}, true},
    {"MinorResetsReleaseAndBuild", vpMinor, {1, 2, 3, 15}, {1, 3, 0, 0}, true},
    {"MajorResetsAllLower", vpMajor, {1, 2, 3, 15}, {2, 0, 0, 0}, true},
    {"BuildUpTo16Bits", vpBuild, {1, 0, 0, 65534}, {1, 0, 0, 65535}, true},
    {"BuildBeyond16BitsStays", vpBuild, {1, 0, 0, 65535}, {1, 0, 0, 65535}, false},
    {"NegativeCountsAsZero", vpRelease, {1, 0, -4, 9}, {1, 0, 1, 0}, true},
    {"LargestBuildStays", vpBuild, {1, 2, 3, Max32}, {1, 2, 3, Max32}, false},
    {"LargestMinorStaysWithLowerParts", vpMinor, {1, Max32, 3, 4}, {1, Max32, 3, 4}, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, BumpFileVersionTest, testing::ValuesIn(BumpCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
