#include "project/ProjectFile.h"
#include "project/ProjectGroup.h"
#include "project/TestPrinters.h"
#include "project/XmlReferences.h"
#include "support/TextFile.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace
{

// The lines of a project file as the Delphi IDE writes it.
QStringList ProjectLines(const QString& keys, const QString& platforms = QString())
{
    return DecodeText(TestFiles::ProjectFile(keys, platforms)).Lines;
}

struct TFindLineCase {
    const char* Name;
    QString Text;
    int Start;
    int Expected;
};

class FindLineTest : public testing::TestWithParam<TFindLineCase>
{
};

TEST_P(FindLineTest, Finds)
{
    const QStringList lines{"<Project>", "  <VerInfo_Keys>A=1</VerInfo_Keys>", "<verinfo_keys>B",
                            "</Project>"};
    EXPECT_EQ(FindLine(lines, GetParam().Text, GetParam().Start), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProjectFile, FindLineTest,
    testing::Values(
        TFindLineCase{"FromTop", "<VerInfo_Keys>", 0, 1},
        TFindLineCase{"OtherCase", "<VERINFO_KEYS>", 0, 1},
        TFindLineCase{"AfterStart", "<VerInfo_Keys>", 2, 2},
        TFindLineCase{"NoneAfterStart", "<VerInfo_Keys>", 3, -1},
        TFindLineCase{"StartBeyondEnd", "<Project>", 4, -1},
        TFindLineCase{"InsideLine", "A=1", 0, 1},
        TFindLineCase{"Missing", "<TargetedPlatforms>", 0, -1}),
    [](const testing::TestParamInfo<TFindLineCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(FindLine, EmptyList)
{
    EXPECT_EQ(FindLine({}, QStringLiteral("x"), 0), -1);
}

struct TElementCase {
    const char* Name;
    QStringList Lines;
    QString Expected;
};

class ReadElementTextTest : public testing::TestWithParam<TElementCase>
{
};

TEST_P(ReadElementTextTest, Reads)
{
    EXPECT_EQ(ReadElementText(GetParam().Lines, QStringLiteral("<VerInfo_Keys>")),
              GetParam().Expected);
}

QStringList Keys(const QString& value)
{
    return {"<PropertyGroup>", "  <VerInfo_Keys>" + value + "</VerInfo_Keys>", "</PropertyGroup>"};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProjectFile, ReadElementTextTest,
    testing::Values(
        TElementCase{"Value", Keys("A=1;B=2"), "A=1;B=2"},
        TElementCase{"Trimmed", Keys("  A=1 \t"), "A=1"},
        TElementCase{"LowerCaseTags", {"<verinfo_keys>A=1</verinfo_keys>"}, "A=1"},
        TElementCase{"CloseOnNextLine", {"<VerInfo_Keys>A=1", "</VerInfo_Keys>"}, ""},
        TElementCase{"TagAtLineEnd", {"<VerInfo_Keys>", "A=1", "</VerInfo_Keys>"}, ""},
        TElementCase{"FirstLineWins", {"<VerInfo_Keys>A=1</VerInfo_Keys>", "<VerInfo_Keys>A=2</VerInfo_Keys>"}, "A=1"},
        // The first line holding the tag is taken even when it has no value.
        TElementCase{"FirstLineWinsEvenEmpty", {"<VerInfo_Keys>A=1", "<VerInfo_Keys>A=2</VerInfo_Keys>"}, ""},
        TElementCase{"FirstTagInLine", {"<VerInfo_Keys>1</VerInfo_Keys><VerInfo_Keys>2</VerInfo_Keys>"}, "1"},
        TElementCase{"UpToAnyClosingTag", {"<VerInfo_Keys>A=1</x>B=2</VerInfo_Keys>"}, "A=1"},
        TElementCase{"Missing", {"<Project>", "</Project>"}, ""},
        TElementCase{"Amp", Keys("A=x &amp; y"), "A=x & y"},
        TElementCase{"Apos", Keys("A=Apple&apos;s"), "A=Apple's"},
        TElementCase{"LtGtQuot", Keys("&lt;&gt;&quot;"), "<>\""},
        TElementCase{"Decimal", Keys("A=f&#252;r"), "A=für"},
        TElementCase{"Hex", Keys("A=f&#xFC;r"), "A=für"},
        TElementCase{"NonBmp", Keys("&#x1F600;"), QString::fromUtf8("\xF0\x9F\x98\x80")},
        TElementCase{"DecodedOnce", Keys("&amp;amp;"), "&amp;"},
        TElementCase{"NoSemicolon", Keys("A=&amp B"), "A=&amp B"},
        TElementCase{"UnknownEntity", Keys("A=&nbsp;x"), "A=&nbsp;x"},
        TElementCase{"EmptyNumber", Keys("A=&#;x"), "A=&#;x"},
        TElementCase{"BadHex", Keys("A=&#xZZ;"), "A=&#xZZ;"},
        TElementCase{"Zero", Keys("A=&#0;"), "A=&#0;"},
        TElementCase{"Surrogate", Keys("A=&#xD800;"), "A=&#xD800;"},
        TElementCase{"LoneAmp", Keys("A=x & y"), "A=x & y"}),
    [](const testing::TestParamInfo<TElementCase>& info) { return std::string(info.param.Name); });
// clang-format on

struct TKeyCase {
    const char* Name;
    QString KeyList;
    QString Key;
    QString Expected;
};

class ReadKeyValueTest : public testing::TestWithParam<TKeyCase>
{
};

TEST_P(ReadKeyValueTest, Reads)
{
    EXPECT_EQ(ReadKeyValue(GetParam().KeyList, GetParam().Key), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProjectFile, ReadKeyValueTest,
    testing::Values(
        TKeyCase{"Middle", "CompanyName=Acme;FileVersion=1.0.4.0;X=1", "FileVersion=", "1.0.4.0"},
        TKeyCase{"Last", "CompanyName=Acme;FileVersion=1.0.4.0", "FileVersion=", "1.0.4.0"},
        TKeyCase{"First", "CompanyName=Acme;FileVersion=1", "CompanyName=", "Acme"},
        TKeyCase{"OtherCase", "COMPANYNAME=Acme", "CompanyName=", "Acme"},
        TKeyCase{"InsideLongerKey", "CoAuthor=Ann;X=1", "Author=", "Ann"},
        TKeyCase{"FirstOccurrence", "CoAuthor=Ann;Author=Bob", "Author=", "Ann"},
        TKeyCase{"Trimmed", "A=  x y \t;B=2", "A=", "x y"},
        TKeyCase{"PresentEmpty", "A=;B=2", "A=", ""},
        TKeyCase{"Missing", "A=1;B=2", "C=", ""},
        TKeyCase{"EmptyList", "", "A=", ""},
        TKeyCase{"ValueWithEquals", "A=x=y;B=2", "A=", "x=y"}),
    [](const testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(ProjectFile, ReferencesDoNotCutTheKeyList)
{
    const QStringList lines = ProjectLines(
        "UIDeviceFamily=iPhone &amp; iPad;NSSpeechRecognitionUsageDescription=Sent to Apple&apos;s "
        "servers;FileDescription=Caf&#xE9;;FileVersion=2.1.0.0");
    const QString keys = ReadElementText(lines, QStringLiteral("<VerInfo_Keys>"));
    EXPECT_EQ(ReadKeyValue(keys, "UIDeviceFamily="), "iPhone & iPad");
    EXPECT_EQ(ReadKeyValue(keys, "NSSpeechRecognitionUsageDescription="),
              "Sent to Apple's servers");
    TProjectData data;
    ReadProjectFileLines(lines, data);
    EXPECT_EQ(data.FileDescription, "Café");
    EXPECT_EQ(data.FileVersionMajor, 2);
    EXPECT_EQ(data.FileVersionMinor, 1);
}

struct TProjectCase {
    const char* Name;
    QStringList Lines;
    TProjectStates Status; // the caller's status before reading
    TProjectData Expected;
};

class ReadProjectFileLinesTest : public testing::TestWithParam<TProjectCase>
{
};

TEST_P(ReadProjectFileLinesTest, Reads)
{
    // The caller's values, so that it shows what the file leaves untouched.
    TProjectData data{1, 0, 0, 0, QStringLiteral("caller"), GetParam().Status};
    ReadProjectFileLines(GetParam().Lines, data);
    const TProjectData& e = GetParam().Expected;
    EXPECT_EQ(data.FileVersionMajor, e.FileVersionMajor);
    EXPECT_EQ(data.FileVersionMinor, e.FileVersionMinor);
    EXPECT_EQ(data.FileVersionRelease, e.FileVersionRelease);
    EXPECT_EQ(data.FileVersionBuild, e.FileVersionBuild);
    EXPECT_EQ(data.FileDescription, e.FileDescription);
    EXPECT_EQ(StatesToInt(data.Status), StatesToInt(e.Status));
}

const TProjectStates All{psEnabled, psWin32, psWin64};
const QString Caller = QStringLiteral("caller");

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProjectFile, ReadProjectFileLinesTest,
    testing::Values(
        TProjectCase{"FourParts", ProjectLines("FileVersion=1.0.4.0"), All, {1, 0, 4, 0, "", All}},
        TProjectCase{"TwoParts", ProjectLines("FileVersion=2.3"), All, {2, 3, 1, 1, "", All}},
        TProjectCase{"EmptyPart", ProjectLines("FileVersion=1..5.6"), All, {1, 1, 5, 6, "", All}},
        TProjectCase{"NotANumber", ProjectLines("FileVersion=x"), All, {1, 1, 1, 1, "", All}},
        TProjectCase{"EmptyVersion", ProjectLines("FileVersion=;FileDescription=Tool"), All, {1, 0, 0, 0, "Tool", All}},
        TProjectCase{"NoVersionKey", ProjectLines("FileDescription=Tool"), All, {1, 0, 0, 0, "Tool", All}},
        TProjectCase{"Low32Bits", ProjectLines("FileVersion=4294967298.-1.0.7"), All, {2, -1, 0, 7, "", All}},
        TProjectCase{"InternalNameFallback", ProjectLines("FileDescription=;InternalName=MyTool"), All, {1, 0, 0, 0, "MyTool", All}},
        TProjectCase{"DescriptionBeforeInternalName", ProjectLines("FileDescription=Main;InternalName=MyTool"), All, {1, 0, 0, 0, "Main", All}},
        // A key list without a description still replaces the caller's.
        TProjectCase{"BothEmpty", ProjectLines("FileDescription=;InternalName="), All, {1, 0, 0, 0, "", All}},
        TProjectCase{"NoKeyList", ProjectLines(QString()), All, {1, 0, 0, 0, Caller, All}},
        TProjectCase{"EmptyKeyList", ProjectLines(""), All, {1, 0, 0, 0, Caller, All}},
        TProjectCase{"KeysCloseOnNextLine", {"<VerInfo_Keys>FileVersion=3.0.0.0;FileDescription=X", "</VerInfo_Keys>"}, All, {1, 0, 0, 0, Caller, All}},
        TProjectCase{"LowerCaseTags", {"<verinfo_keys>fileversion=3.4.5.6</verinfo_keys>", "<targetedplatforms>2</targetedplatforms>"}, All, {3, 4, 5, 6, "", {psEnabled, psWin64}}},
        TProjectCase{"FirstKeyListWins", {"<VerInfo_Keys>FileVersion=7.2.0.1350</VerInfo_Keys>", "<VerInfo_Keys>FileVersion=8.2.0.1462;FileDescription=X</VerInfo_Keys>"}, All, {7, 2, 0, 1350, "", All}},
        TProjectCase{"Platforms3", ProjectLines(QString(), "3"), {psEnabled}, {1, 0, 0, 0, Caller, All}},
        TProjectCase{"Platforms1", ProjectLines(QString(), "1"), All, {1, 0, 0, 0, Caller, {psEnabled, psWin32}}},
        TProjectCase{"Platforms2", ProjectLines(QString(), "2"), All, {1, 0, 0, 0, Caller, {psEnabled, psWin64}}},
        TProjectCase{"Platforms0", ProjectLines(QString(), "0"), All, {1, 0, 0, 0, Caller, {psEnabled}}},
        TProjectCase{"PlatformsNotANumber", ProjectLines(QString(), "abc"), All, {1, 0, 0, 0, Caller, {psEnabled, psWin32}}},
        TProjectCase{"PlatformsHigherBits7", ProjectLines(QString(), "7"), {psEnabled}, {1, 0, 0, 0, Caller, All}},
        TProjectCase{"PlatformsHigherBits4", ProjectLines(QString(), "4"), All, {1, 0, 0, 0, Caller, {psEnabled}}},
        TProjectCase{"PlatformsMobile", ProjectLines(QString(), "693377"), All, {1, 0, 0, 0, Caller, {psEnabled, psWin32}}},
        TProjectCase{"PlatformsLeaveEnabled", ProjectLines(QString(), "1"), {psWin64}, {1, 0, 0, 0, Caller, {psWin32}}},
        TProjectCase{"PlatformsEmpty", ProjectLines(QString(), ""), {psWin64}, {1, 0, 0, 0, Caller, {psWin64}}},
        TProjectCase{"PlatformsCloseOnNextLine", {"<TargetedPlatforms>2", "</TargetedPlatforms>"}, All, {1, 0, 0, 0, Caller, All}}),
    [](const testing::TestParamInfo<TProjectCase>& info) { return std::string(info.param.Name); });
// clang-format on

// What ReadGroupDefaults makes of the project files of a group: each project
// has a key list (a null text for a file without one) or no file at all.
struct TGroupDefaultsCase {
    const char* Name;
    std::vector<std::optional<QString>> Projects;
    TGroupValues Expected;
};

class ReadGroupDefaultsTest : public testing::TestWithParam<TGroupDefaultsCase>
{
};

TEST_P(ReadGroupDefaultsTest, Fills)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TProjectGroup group;
    group.LastGroupFile = QDir::toNativeSeparators(dir.filePath("Group.vprj"));
    int n = 0;
    for (const std::optional<QString>& keys : GetParam().Projects) {
        const QString entry = QStringLiteral("sub\\P%1.dproj").arg(++n);
        group.Projects.Add(entry);
        if (keys)
            TestFiles::Write(dir.filePath(QStringLiteral("sub/P%1.dproj").arg(n)),
                             TestFiles::ProjectFile(*keys, "3"));
    }
    group.ReadGroupDefaults();
    const TGroupValues& e = GetParam().Expected;
    EXPECT_EQ(group.Group.ProdMajor, e.ProdMajor);
    EXPECT_EQ(group.Group.ProdMinor, e.ProdMinor);
    EXPECT_EQ(group.Group.Author, e.Author);
    EXPECT_EQ(group.Group.Company, e.Company);
    EXPECT_EQ(group.Group.Copyright, e.Copyright);
    EXPECT_EQ(group.Group.Product, e.Product);
}

const std::optional<QString> NoFile;
const QString NoKeys;

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProjectFile, ReadGroupDefaultsTest,
    testing::Values(
        TGroupDefaultsCase{"AllFields", {"ProductName=P;LegalCopyright=C;CompanyName=Co;Author=A;ProductVersion=3.2.0.0"}, {3, 2, "A", "Co", "C", "P"}},
        TGroupDefaultsCase{"EmptyKeyLeavesFieldForNext", {"CompanyName=;ProductVersion=1.0", "CompanyName=Acme"}, {1, 0, "", "Acme", "", ""}},
        TGroupDefaultsCase{"FirstProjectWins", {"ProductName=P1;LegalCopyright=C1;ProductVersion=3.2.0.0", "ProductName=P2;CompanyName=Co2;LegalCopyright=C2;ProductVersion=4.0.0.0"}, {3, 2, "", "Co2", "C1", "P1"}},
        TGroupDefaultsCase{"NoProductVersionKey", {"CompanyName=X", "ProductVersion=4.5"}, {1, 1, "", "X", "", ""}},
        TGroupDefaultsCase{"OnePartProductVersion", {"ProductVersion=7"}, {7, 1, "", "", "", ""}},
        TGroupDefaultsCase{"FileWithoutKeysSkipped", {NoKeys, "ProductVersion=4.5"}, {4, 5, "", "", "", ""}},
        TGroupDefaultsCase{"MissingFileSkipped", {NoFile, "ProductVersion=4.5;CompanyName=B"}, {4, 5, "", "B", "", ""}},
        TGroupDefaultsCase{"NegativeMajorCountsAsNone", {"ProductVersion=-3.2", "ProductVersion=4.5"}, {4, 2, "", "", "", ""}},
        TGroupDefaultsCase{"NothingFound", {NoFile, NoKeys}, {1, 0, "", "", "", ""}},
        TGroupDefaultsCase{"AuthorInsideCoAuthor", {"CoAuthor=Ann"}, {1, 1, "Ann", "", "", ""}},
        TGroupDefaultsCase{"Programmierer", {"Author=;Programmierer=Hans"}, {1, 1, "Hans", "", "", ""}},
        TGroupDefaultsCase{"ProgrammiererOfFirstProject", {"Programmierer=Hans", "Author=Eve"}, {1, 1, "Hans", "", "", ""}},
        TGroupDefaultsCase{"ReferencesDecoded", {"CompanyName=A &amp; B;LegalCopyright=&#169; 2024"}, {1, 1, "", "A & B", "© 2024", ""}}),
    [](const testing::TestParamInfo<TGroupDefaultsCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
