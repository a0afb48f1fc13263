#include "project/ProjectGroup.h"
#include "project/TestPrinters.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

// Opens the real Delphi project groups of the corpus as the window does, with
// no settings file beside them (so every value comes from the project files)
// and no user defaults. Nothing is written: without projects to save nothing
// is saved, and the test never calls a save.
namespace
{

struct TCorpusGroup {
    const char* Name;
    const char* File;    // below the corpus folder
    int Entries;         // "<Projects Include=" lines, counted by reading the file
    QStringList Missing; // entries naming a file the corpus does not hold
};

class CorpusGroupTest : public testing::TestWithParam<TCorpusGroup>
{
protected:
    void SetUp() override
    {
        const QString file = QDir(TestFiles::CorpusDir()).filePath(GetParam().File);
        if (!QFileInfo(file).isFile())
            GTEST_SKIP() << "corpus not available: " << file.toStdString();
        GroupFile = QDir::toNativeSeparators(file);
        // The test relies on the fall-backs: no settings file may lie beside the group.
        ASSERT_FALSE(QFileInfo::exists(SettingsFileName(GroupFile)));
        QStringList history;
        Opened = Group.OpenProjectGroup(GroupFile, history, TUserDefaults{});
    }

    QString GroupFile;
    TProjectGroup Group;
    bool Opened = false;
};

TEST_P(CorpusGroupTest, EntriesAndFiles)
{
    EXPECT_TRUE(Opened);
    EXPECT_EQ(Group.Projects.Count(), GetParam().Entries);
    EXPECT_EQ(Group.LastGroupFile, SettingsFileName(GroupFile));
    QStringList missing;
    for (int i = 0; i < Group.Projects.Count(); ++i) {
        const TProjectEntry& e = Group.Projects[i];
        EXPECT_TRUE(e.Info) << e.Text.toStdString();
        if (!QFileInfo(Group.ProjectFileName(i)).isFile())
            missing << e.Text;
    }
    EXPECT_EQ(missing, GetParam().Missing);
    EXPECT_FALSE(QFileInfo::exists(SettingsFileName(GroupFile)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Corpus, CorpusGroupTest,
    testing::Values(
        TCorpusGroup{"OrgaMon", "Andreas-Filsinger__OrgaMon/OrgaMon/OrgaMonProjGrp.groupproj", 2, {}},
        TCorpusGroup{"Kastri", "DelphiWorlds__Kastri/Demos/KastriDemosGroup.groupproj", 31, {}},
        TCorpusGroup{"OneShotTools", "DeveloppeurPascal__one-shot-tools/SampleProjectGroup.groupproj", 22, {}},
        TCorpusGroup{"Horse", "HashLoad__horse/samples/delphi/Samples.groupproj", 10, {"console_route_middlewares\\ConsoleRouteMiddlewares.dproj", "console_error_handler\\ConsoleErrorHandler.dproj"}},
        TCorpusGroup{"HeidiSQL", "HeidiSQL__HeidiSQL/packages/Delphi12.1/heidisql.groupproj", 6, {"..\\..\\components\\synedit\\Packages\\Delphi11.2\\SynEdit_R.dproj", "..\\..\\components\\synedit\\Packages\\Delphi11.2\\SynEdit_D.dproj"}},
        TCorpusGroup{"VkApi", "HemulGM__VK_API/Samples/OpenAPIAuth/ProjectGroup6.groupproj", 3, {"..\\..\\..\\MiniWebServer\\MiniWebServer.dproj"}},
        TCorpusGroup{"DEC", "MHumm__DelphiEncryptionCompendium/Source/DEC60Complete.groupproj", 15, {}},
        TCorpusGroup{"DUnitX", "VSoftTechnologies__DUnitX/DUnitX_XE7.groupproj", 4, {}},
        TCorpusGroup{"DelphiMvc", "danieleteti__delphimvcframework/packages/d120/dmvcframework_group.groupproj", 4, {}},
        TCorpusGroup{"WiRL", "delphi-blocks__WiRL/Setup/AllPackages/10.3Rio/WiRLGroup.groupproj", 5, {}},
        TCorpusGroup{"Omni2007", "gabr42__OmniThreadLibrary/tests/Tests.2007.groupproj", 36, {}},
        TCorpusGroup{"OmniXE2", "gabr42__OmniThreadLibrary/tests/Tests.XE2.groupproj", 55, {}},
        TCorpusGroup{"Graphics32", "graphics32__graphics32/Examples/GR32_Examples.groupproj", 53, {}}),
    [](const testing::TestParamInfo<TCorpusGroup>& info) { return std::string(info.param.Name); });
// clang-format on

// Every group file of the corpus is in the table above.
TEST(Corpus, EveryGroupListed)
{
    const QStringList files = TestFiles::FindFiles(TestFiles::CorpusDir(), {".groupproj"});
    if (files.isEmpty())
        GTEST_SKIP() << "corpus not available";
    EXPECT_EQ(files.size(), 13);
}

const TProjectData* FindProject(const TProjectGroup& group, const QString& entry)
{
    for (int i = 0; i < group.Projects.Count(); ++i)
        if (group.Projects[i].Text == entry && group.Projects[i].Info)
            return &group.Projects[i].Info->ProjectData;
    return nullptr;
}

// Opens a corpus group; false when the corpus is not there.
bool OpenCorpusGroup(const char* file, TProjectGroup& group)
{
    const QString fileName = QDir::toNativeSeparators(QDir(TestFiles::CorpusDir()).filePath(file));
    if (!QFileInfo(fileName).isFile())
        return false;
    QStringList history;
    group.OpenProjectGroup(fileName, history, TUserDefaults{});
    return true;
}

QString Version(const TProjectData& d)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(d.FileVersionMajor)
        .arg(d.FileVersionMinor)
        .arg(d.FileVersionRelease)
        .arg(d.FileVersionBuild);
}

TEST(CorpusValues, OrgaMon)
{
    TProjectGroup g;
    if (!OpenCorpusGroup("Andreas-Filsinger__OrgaMon/OrgaMon/OrgaMonProjGrp.groupproj", g))
        GTEST_SKIP() << "corpus not available";
    // The first <VerInfo_Keys> line (the Base group) wins over Cfg_2_Win32's 8.2.0.1462.
    const TProjectData* d = FindProject(g, "OrgaMon.dproj");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->FileDescription, "OrgaMon Unternehmenssoftware");
    EXPECT_EQ(Version(*d), "7.2.0.1350");
    EXPECT_EQ(StatesToInt(d->Status), StatesToInt({psEnabled, psWin32})); // TargetedPlatforms 1
    EXPECT_EQ(g.Group.Company, "Andreas Filsinger");
    EXPECT_EQ(g.Group.Product, "OrgaMon");
    EXPECT_EQ(g.Group.Copyright, "GPLv3");
    EXPECT_EQ(g.Group.ProdMajor, 7); // ProductVersion=7.0
    EXPECT_EQ(g.Group.ProdMinor, 0);
}

TEST(CorpusValues, FrenchDescription)
{
    TProjectGroup g;
    if (!OpenCorpusGroup("DeveloppeurPascal__one-shot-tools/SampleProjectGroup.groupproj", g))
        GTEST_SKIP() << "corpus not available";
    const TProjectData* d = FindProject(g, "tirages_au_sort\\src\\tirages_au_sort.dproj");
    ASSERT_TRUE(d);
    // Written "d&apos;albums" in the file.
    EXPECT_EQ(d->FileDescription, "générateur HTML d'albums de photographies");
    EXPECT_EQ(Version(*d), "1.1.1.2");
    EXPECT_EQ(StatesToInt(d->Status),
              StatesToInt({psEnabled, psWin32})); // TargetedPlatforms 693377
}

TEST(CorpusValues, EntryWithReference)
{
    TProjectGroup g;
    if (!OpenCorpusGroup("graphics32__graphics32/Examples/GR32_Examples.groupproj", g))
        GTEST_SKIP() << "corpus not available";
    const int i = g.Projects.Texts().indexOf("General\\Pan &amp; Zoom\\PanAndZoom.dproj");
    ASSERT_GE(i, 0);
    EXPECT_TRUE(g.ProjectFileName(i).endsWith(
        QDir::toNativeSeparators("/General/Pan & Zoom/PanAndZoom.dproj")));
    EXPECT_TRUE(QFileInfo(g.ProjectFileName(i)).isFile());
}

TEST(CorpusValues, PlatformsAndMissingProject)
{
    TProjectGroup g;
    if (!OpenCorpusGroup("HeidiSQL__HeidiSQL/packages/Delphi12.1/heidisql.groupproj", g))
        GTEST_SKIP() << "corpus not available";
    const TProjectData* d = FindProject(g, "..\\..\\res\\updater\\updater.dproj");
    ASSERT_TRUE(d);
    EXPECT_EQ(StatesToInt(d->Status), StatesToInt({psEnabled, psWin64})); // TargetedPlatforms 2
    // A missing project keeps the values a new project starts with.
    d = FindProject(g, "..\\..\\components\\synedit\\Packages\\Delphi11.2\\SynEdit_R.dproj");
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, TProjectData());
}

TEST(CorpusValues, Delphi2007GroupHasNoKeys)
{
    TProjectGroup g;
    if (!OpenCorpusGroup("gabr42__OmniThreadLibrary/tests/Tests.2007.groupproj", g))
        GTEST_SKIP() << "corpus not available";
    // Delphi 2007 project files hold neither <VerInfo_Keys> nor <TargetedPlatforms>.
    for (int i = 0; i < g.Projects.Count(); ++i)
        EXPECT_EQ(g.Projects[i].Info->ProjectData, TProjectData())
            << g.Projects[i].Text.toStdString();
    EXPECT_EQ(g.Group, TGroupValues());
}

} // namespace
