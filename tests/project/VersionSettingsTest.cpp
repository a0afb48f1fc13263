#include "project/ProjectGroup.h"
#include "project/TestPrinters.h"
#include "support/IniFile.h"
#include "support/QuorvelError.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const TUserDefaults UserDefaults{"Def Author", "Def Company", "Def Copyright"};

// A group folder with two projects: App.dproj beside the group file and
// sub\Lib.dproj in a sub-folder.
class GroupFolder
{
public:
    GroupFolder()
    {
        EXPECT_TRUE(Dir.isValid());
        TestFiles::Write(
            File("App.dproj"),
            TestFiles::ProjectFile(
                "CompanyName=Acme;FileVersion=2.3.4.5;FileDescription=App tool;ProductVersion=3.1",
                "2"));
        TestFiles::Write(File("sub/Lib.dproj"),
                         TestFiles::ProjectFile(
                             "FileVersion=5.0.0.7;InternalName=Lib;LegalCopyright=Lib Copy", "1"));
    }
    QString File(const QString& name) const { return QDir::toNativeSeparators(Dir.filePath(name)); }
    QString Group(const QStringList& entries = {"App.dproj", "sub\\Lib.dproj"},
                  const QString& name = "Group")
    {
        const QString fileName = File(name + ".groupproj");
        TestFiles::Write(fileName, TestFiles::GroupFile(entries));
        return fileName;
    }
    QStringList Listing() const
    {
        return QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir Dir;
};

void ExpectData(const TProjectEntry& entry, const TProjectData& expected, bool checked)
{
    SCOPED_TRACE(entry.Text.toStdString());
    ASSERT_TRUE(entry.Info);
    const TProjectData& d = entry.Info->ProjectData;
    EXPECT_EQ(d.FileVersionMajor, expected.FileVersionMajor);
    EXPECT_EQ(d.FileVersionMinor, expected.FileVersionMinor);
    EXPECT_EQ(d.FileVersionRelease, expected.FileVersionRelease);
    EXPECT_EQ(d.FileVersionBuild, expected.FileVersionBuild);
    EXPECT_EQ(d.FileDescription, expected.FileDescription);
    EXPECT_EQ(StatesToInt(d.Status), StatesToInt(expected.Status));
    EXPECT_EQ(entry.Checked, checked);
}

void ExpectGroup(const TGroupValues& g, const TGroupValues& expected)
{
    EXPECT_EQ(g.ProdMajor, expected.ProdMajor);
    EXPECT_EQ(g.ProdMinor, expected.ProdMinor);
    EXPECT_EQ(g.Author, expected.Author);
    EXPECT_EQ(g.Company, expected.Company);
    EXPECT_EQ(g.Copyright, expected.Copyright);
    EXPECT_EQ(g.Product, expected.Product);
}

// What the project files and the user's defaults give.
const TGroupValues FromFiles{3, 1, "Def Author", "Acme", "Lib Copy", ""};
const TProjectData AppFromFile{2, 3, 4, 5, "App tool", {psEnabled, psWin64}};
const TProjectData LibFromFile{5, 0, 0, 7, "Lib", {psEnabled, psWin32}};

struct TLoadCase {
    const char* Name;
    QByteArray Settings; // null: no settings file
    TGroupValues Group;
    TProjectData App;
    bool AppChecked;
    TProjectData Lib;
};

class LoadVersionSettingsTest : public testing::TestWithParam<TLoadCase>
{
};

TEST_P(LoadVersionSettingsTest, Loads)
{
    const TLoadCase& c = GetParam();
    GroupFolder folder;
    const QString groupFile = folder.Group();
    if (!c.Settings.isNull())
        TestFiles::Write(folder.File("Group.vprj"), c.Settings);
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(groupFile, history, UserDefaults));
    EXPECT_EQ(group.LastGroupFile, folder.File("Group.vprj"));
    ExpectGroup(group.Group, c.Group);
    ASSERT_EQ(group.Projects.Count(), 2);
    ExpectData(group.Projects[0], c.App, c.AppChecked);
    ExpectData(group.Projects[1], c.Lib, true);
}

QByteArray Utf16LE(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

const QString LongValue(10000, u'x');
const TProjectStates All{psEnabled, psWin32, psWin64};

// clang-format off
INSTANTIATE_TEST_SUITE_P(VersionSettings, LoadVersionSettingsTest,
    testing::Values(
        TLoadCase{"NoSettingsFile", QByteArray(), FromFiles, AppFromFile, true, LibFromFile},
        TLoadCase{"EmptyGlobalCountsAsAbsent", "[Global]\r\n", FromFiles, AppFromFile, true, LibFromFile},
        TLoadCase{"GlobalWithEmptyCompany", "[Global]\r\nCompany=\r\n", {1, 0, "", "", "", ""}, AppFromFile, true, LibFromFile},
        TLoadCase{"GlobalFull", "[Global]\r\npvMajor=4\r\npvMinor=2\r\nCompany=Co\r\nCopyright=Cr\r\nProduct=Pr\r\nAuthor=Au\r\n", {4, 2, "Au", "Co", "Cr", "Pr"}, AppFromFile, true, LibFromFile},
        TLoadCase{"StatusOnly5", "[App.dproj]\r\nStatus=5\r\n", FromFiles, {1, 0, 0, 0, "", {psEnabled, psWin64}}, true, LibFromFile},
        TLoadCase{"Status0", "[App.dproj]\r\nStatus=0\r\n", FromFiles, {1, 0, 0, 0, "", {}}, false, LibFromFile},
        TLoadCase{"Status263", "[App.dproj]\r\nStatus=263\r\n", FromFiles, {1, 0, 0, 0, "", All}, true, LibFromFile},
        TLoadCase{"StatusHex", "[App.dproj]\r\nStatus=0x6\r\n", FromFiles, {1, 0, 0, 0, "", {psWin32, psWin64}}, false, LibFromFile},
        TLoadCase{"StatusNotANumber", "[App.dproj]\r\nStatus=abc\r\nfvMajor=1.5\r\n", FromFiles, {1, 0, 0, 0, "", All}, true, LibFromFile},
        TLoadCase{"FullSection", "[App.dproj]\r\nfvMajor=9\r\nfvMinor=8\r\nfvRelease=7\r\nfvBuild=6\r\nDescription=Desc\r\nStatus=3\r\n", FromFiles, {9, 8, 7, 6, "Desc", {psEnabled, psWin32}}, true, LibFromFile},
        TLoadCase{"SectionNameCase", "[SUB\\lib.DPROJ]\r\nfvMajor=9\r\n", FromFiles, AppFromFile, true, {9, 0, 0, 0, "", All}},
        TLoadCase{"MovedProjectReadAfresh", "[old\\App.dproj]\r\nfvMajor=9\r\nStatus=0\r\n", FromFiles, AppFromFile, true, LibFromFile},
        TLoadCase{"ValuesAbove100", "[Global]\r\npvMajor=250\r\n[App.dproj]\r\nfvBuild=250\r\n", {250, 0, "", "", "", ""}, {1, 0, 0, 250, "", All}, true, LibFromFile},
        TLoadCase{"LongValueCut", "[Global]\r\nCompany=" + LongValue.toUtf8() + "\r\n", {1, 0, "", LongValue.left(2047), "", ""}, AppFromFile, true, LibFromFile},
        TLoadCase{"NoSections", "just text\r\nStatus=0\r\n", FromFiles, AppFromFile, true, LibFromFile},
        TLoadCase{"Empty", "", FromFiles, AppFromFile, true, LibFromFile}),
    [](const testing::TestParamInfo<TLoadCase>& info) { return std::string(info.param.Name); });
// clang-format on

// Read as empty, a binary settings file would be saved as defaults with a
// second copy of the keys after what it holds: it is refused and kept.
TEST(VersionSettings, CorruptSettingsFileIsRefused)
{
    GroupFolder folder;
    const QString groupFile = folder.Group();
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37) % 256);
    TestFiles::Write(folder.File("Group.vprj"), binary);
    TProjectGroup group;
    QStringList history;
    try {
        group.OpenProjectGroup(groupFile, history, UserDefaults);
        ADD_FAILURE() << "opened";
    } catch (const TQuorvelError& e) {
        EXPECT_TRUE(e.Message().endsWith("Group.vprj\". It is not text: it holds zero bytes, as "
                                         "binary data or UTF-16 without a byte-order mark do"))
            << e.what();
    }
    EXPECT_EQ(TestFiles::Read(folder.File("Group.vprj")), binary);
}

TEST(VersionSettings, SaveKeepsWhatItDidNotChange)
{
    GroupFolder folder;
    const QString groupFile = folder.Group();
    const QByteArray settings = "; kept comment\r\n"
                                "[Global]\r\npvMajor=250\r\npvMinor=0\r\nCompany=Co\r\nCopyright="
                                "Cr\r\nProduct=Pr\r\nAuthor=Au\r\n"
                                "Extra=" +
                                QByteArray(10000, 'y') +
                                "\r\n"
                                "[Gone.dproj]\r\nfvMajor=3\r\n"
                                "[App.dproj]\r\nfvMajor=1\r\nfvMinor=0\r\nfvRelease=0\r\nfvBuild="
                                "250\r\nDescription=D\r\nStatus=263\r\nUnknown=u\r\n"
                                "[sub\\Lib.dproj]\r\nfvMajor=5\r\nfvMinor=0\r\nfvRelease="
                                "0\r\nfvBuild=7\r\nDescription=Lib\r\nStatus=3\r\n";
    TestFiles::Write(folder.File("Group.vprj"), settings);
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(groupFile, history, UserDefaults));
    group.SaveVersionSettings(group.LastGroupFile);
    // Status 263 reads as 7: the one value that changes on a save.
    QByteArray expected = settings;
    expected.replace("Status=263", "Status=7");
    EXPECT_EQ(TestFiles::Read(group.LastGroupFile), expected);
}

TEST(VersionSettings, FreshFileInTableOrder)
{
    GroupFolder folder;
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(folder.Group(), history, UserDefaults));
    group.SaveVersionSettings(group.LastGroupFile);
    QStringList lines = QString::fromUtf8(TestFiles::Read(group.LastGroupFile))
                            .split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{"[Global]",
                                  "pvMajor=3",
                                  "pvMinor=1",
                                  "Company=Acme",
                                  "Copyright=Lib Copy",
                                  "Product=",
                                  "Author=Def Author",
                                  "[App.dproj]",
                                  "fvMajor=2",
                                  "fvMinor=3",
                                  "fvRelease=4",
                                  "fvBuild=5",
                                  "Description=App tool",
                                  "Status=5",
                                  "[sub\\Lib.dproj]",
                                  "fvMajor=5",
                                  "fvMinor=0",
                                  "fvRelease=0",
                                  "fvBuild=7",
                                  "Description=Lib",
                                  "Status=3"}));
}

TEST(VersionSettings, EntriesSharingASectionLaterWins)
{
    GroupFolder folder;
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(folder.Group({"App.dproj", "sub\\Lib.dproj", "App.dproj"}),
                                       history, UserDefaults));
    ASSERT_EQ(group.Projects.Count(), 3);
    ExpectData(group.Projects[2], AppFromFile, true);
    group.Projects[0].Info->ProjectData.FileVersionMajor = 8;
    group.Projects[2].Info->ProjectData.FileVersionMajor = 9;
    group.SaveVersionSettings(group.LastGroupFile);
    const TIniFile ini(group.LastGroupFile);
    EXPECT_EQ(ini.ReadInteger("App.dproj", "fvMajor", 0), 9);
    EXPECT_EQ(ini.ReadSections().count("App.dproj"), 1);
}

TEST(VersionSettings, SaveWithoutSettingsFileNameWritesNothing)
{
    GroupFolder folder;
    TProjectGroup group;
    QStringList history;
    // A group without projects loads no settings.
    EXPECT_FALSE(group.OpenProjectGroup(folder.Group({}), history, UserDefaults));
    EXPECT_TRUE(group.LastGroupFile.isEmpty());
    const QStringList before = folder.Listing();
    group.SaveVersionSettings(group.LastGroupFile);
    EXPECT_EQ(folder.Listing(), before);
}

TEST(VersionSettings, FailedOpenKeepsTheGroupShown)
{
    GroupFolder folder;
    TProjectGroup group;
    QStringList history{"/elsewhere/Other.groupproj"};
    // The window drops its selection when, and only when, the list is replaced.
    int replaced = 0;
    const auto listReplaced = [&replaced] { ++replaced; };
    ASSERT_TRUE(group.OpenProjectGroup(folder.Group(), history, UserDefaults, listReplaced));
    EXPECT_EQ(replaced, 1);
    const QString missing = folder.File("Missing.groupproj");
    try {
        group.OpenProjectGroup(missing, history, UserDefaults, listReplaced);
        FAIL() << "no error for a missing group file";
    } catch (const TQuorvelError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot open file \"" + missing + "\". ")) << e.what();
    }
    EXPECT_EQ(history,
              (QStringList{missing, folder.File("Group.groupproj"), "/elsewhere/Other.groupproj"}));
    EXPECT_EQ(group.LastProjectGrp, missing);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(group.LastGroupFile, folder.File("Group.vprj"));
    EXPECT_EQ(group.Projects.Texts(), (QStringList{"App.dproj", "sub\\Lib.dproj"}));
    ExpectGroup(group.Group, FromFiles);
    ExpectData(group.Projects[0], AppFromFile, true);
}

TEST(VersionSettings, GroupWithoutProjectsKeepsSettingsFile)
{
    GroupFolder folder;
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(folder.Group(), history, UserDefaults));
    EXPECT_FALSE(group.OpenProjectGroup(folder.Group({}, "Empty"), history, UserDefaults));
    EXPECT_EQ(group.LastProjectGrp, folder.File("Empty.groupproj"));
    EXPECT_EQ(group.LastGroupFile, folder.File("Group.vprj"));
    EXPECT_EQ(group.Projects.Count(), 0);
    ExpectGroup(group.Group, FromFiles);
    // The next save writes the group values into the earlier group's file, and no project.
    group.SaveVersionSettings(group.LastGroupFile);
    EXPECT_EQ(TIniFile(folder.File("Group.vprj")).ReadSections(), QStringList{"Global"});
}

TEST(VersionSettings, EntryWithReferenceFindsItsFile)
{
    GroupFolder folder;
    TestFiles::Write(folder.File("General/Pan & Zoom/PanAndZoom.dproj"),
                     TestFiles::ProjectFile("FileVersion=3.1.0.0;FileDescription=Pan", "3"));
    const QString entry = "General\\Pan &amp; Zoom\\PanAndZoom.dproj";
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(folder.Group({entry}), history, UserDefaults));
    EXPECT_EQ(group.Projects[0].Text, entry);
    EXPECT_EQ(group.ProjectFileName(0), folder.File("General/Pan & Zoom/PanAndZoom.dproj"));
    ExpectData(group.Projects[0], {3, 1, 0, 0, "Pan", All}, true);
    group.SaveVersionSettings(group.LastGroupFile);
    EXPECT_EQ(TIniFile(group.LastGroupFile).ReadSections(), (QStringList{"Global", entry}));
}

// Where a settings file cannot be written, whoever runs the test.
TEST(VersionSettings, RefusedWriteRaisesError)
{
    GroupFolder folder;
    TestFiles::Write(folder.File("plain"), "x");
    QDir().mkpath(folder.File("Folder.vprj"));
    for (const QString& settings : {folder.File("plain/Group.vprj"), folder.File("Folder.vprj")}) {
        SCOPED_TRACE(settings.toStdString());
        TProjectGroup group;
        group.Projects.Add("App.dproj");
        group.LoadVersionSettings(settings, UserDefaults);
        try {
            group.SaveVersionSettings(settings);
            FAIL() << "no error";
        } catch (const TQuorvelError& e) {
            EXPECT_TRUE(e.Message().startsWith("Unable to write to " + settings)) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(folder.File("Folder.vprj")).isDir());
    EXPECT_EQ(TestFiles::Read(folder.File("plain")), "x");
}

struct TGroupBytesCase {
    const char* Name;
    QByteArray Bytes;
    QStringList Entries;
};

class GroupFileBytesTest : public testing::TestWithParam<TGroupBytesCase>
{
};

TEST_P(GroupFileBytesTest, Reads)
{
    GroupFolder folder;
    const QString groupFile = folder.File("Odd.groupproj");
    TestFiles::Write(groupFile, GetParam().Bytes);
    TProjectGroup group;
    QStringList history;
    EXPECT_EQ(group.OpenProjectGroup(groupFile, history, UserDefaults),
              !GetParam().Entries.isEmpty());
    EXPECT_EQ(group.Projects.Texts(), GetParam().Entries);
    EXPECT_EQ(history, QStringList{groupFile});
}

QByteArray Binary()
{
    QByteArray b;
    for (int i = 0; i < 3000; ++i)
        b += char((i * 131 + 7) % 256);
    return b;
}

QByteArray Utf16BE(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16BE, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

const QByteArray TwoLines =
    "<Projects Include=\"App.dproj\">\r\n<Projects Include=\"sub\\Lib.dproj\">\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(VersionSettings, GroupFileBytesTest,
    testing::Values(
        TGroupBytesCase{"Empty", "", {}},
        TGroupBytesCase{"NoProjectLines", "<Project>\r\n</Project>\r\n", {}},
        TGroupBytesCase{"Binary", Binary(), {}},
        TGroupBytesCase{"Utf16BE", Utf16BE(TwoLines), {"App.dproj", "sub\\Lib.dproj"}},
        TGroupBytesCase{"Utf16LE", Utf16LE(TwoLines), {"App.dproj", "sub\\Lib.dproj"}},
        TGroupBytesCase{"CrOnly", QByteArray(TwoLines).replace("\r\n", "\r"), {"App.dproj", "sub\\Lib.dproj"}},
        TGroupBytesCase{"AnsiUmlaut", "<Projects Include=\"M\xFCller.dproj\">\r\n", {"Müller.dproj"}}),
    [](const testing::TestParamInfo<TGroupBytesCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
