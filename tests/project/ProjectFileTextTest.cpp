// Reading a project file's elements from its whole text, as the group does to
// read each file once and without splitting it into lines: the same values as
// from the lines.

#include "project/ProjectFile.h"
#include "project/ProjectGroup.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

struct TTextCase {
    const char* Name;
    QByteArray Bytes;
    const char* VerInfoKeys;
    const char* TargetedPlatforms;
};

void PrintTo(const TTextCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ProjectFileTextTest : public testing::TestWithParam<TTextCase>
{
};

TEST_P(ProjectFileTextTest, FindsWhatTheLinesHold)
{
    const TTextCase& c = GetParam();
    TTextFormat format;
    const QString text = DecodeTextString(c.Bytes, format);
    const TTextContent content = DecodeText(c.Bytes);
    EXPECT_EQ(format, content.Format);
    const TProjectFileKeys inText = ReadProjectFileKeysInText(text);
    const TProjectFileKeys inLines = ReadProjectFileKeys(content.Lines);
    EXPECT_EQ(inText.VerInfoKeys, QString::fromUtf8(c.VerInfoKeys));
    EXPECT_EQ(inText.TargetedPlatforms, QString::fromUtf8(c.TargetedPlatforms));
    EXPECT_EQ(inLines.VerInfoKeys, inText.VerInfoKeys);
    EXPECT_EQ(inLines.TargetedPlatforms, inText.TargetedPlatforms);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectFileTextTest,
    testing::Values(
        TTextCase{"CrLf",
                  "\xEF\xBB\xBF<P>\r\n  <VerInfo_Keys>A=1;B=2</VerInfo_Keys>\r\n"
                  "  <TargetedPlatforms>3</TargetedPlatforms>\r\n",
                  "A=1;B=2", "3"},
        TTextCase{"LoneCrAndLf",
                  "<P>\r<TargetedPlatforms> 2 </TargetedPlatforms>\n<VERINFO_KEYS>X=&amp;</x>",
                  "X=&", "2"},
        // The value must close on its own line.
        TTextCase{"CloseOnNextLine", "<VerInfo_Keys>A=1\r\n</VerInfo_Keys>\r\n", "", ""},
        TTextCase{"TagAtTheVeryEnd", "x\n<TargetedPlatforms>", "", ""},
        // The first line with the tag counts, also when it has no value.
        TTextCase{"FirstOccurrenceWins", "<VerInfo_Keys>\n<VerInfo_Keys>B=1</VerInfo_Keys>\n", "",
                  ""},
        TTextCase{"Utf16",
                  QByteArray("\xFF\xFE<\0T\0a\0r\0g\0e\0t\0e\0d\0P\0l\0a\0t\0f\0o\0r\0m\0s\0>\0"
                             "1\0<\0/\0",
                             46),
                  "", "1"},
        TTextCase{"Ansi", "<VerInfo_Keys>Company=M\xFCller</VerInfo_Keys>", "Company=M\xC3\xBCller",
                  ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// A group without a settings file takes its values and every project's data
// from the project files: the same as reading each file's lines.
TEST(ProjectFileText, GroupLoadsTheProjectFilesValues)
{
    QTemporaryDir dir;
    TestFiles::Write(
        dir.filePath("A/App.dproj"),
        TestFiles::ProjectFile("CompanyName=Acme;FileVersion=2.3.4.5;FileDescription=App;"
                               "ProductVersion=7.8",
                               "2"));
    TestFiles::Write(
        dir.filePath("Lib.dproj"),
        TestFiles::ProjectFile("FileVersion=1.0.0.9;InternalName=Lib;LegalCopyright=C", "1"));
    const QString groupFile = dir.filePath("G.groupproj");
    TestFiles::Write(groupFile,
                     TestFiles::GroupFile({"A\\App.dproj", "Lib.dproj", "Missing.dproj"}));
    TProjectGroup group;
    QStringList history;
    ASSERT_TRUE(group.OpenProjectGroup(groupFile, history, TUserDefaults{"Au", "Co", "Cr"}));
    EXPECT_EQ(group.Group.Company, "Acme");
    EXPECT_EQ(group.Group.Copyright, "C");
    EXPECT_EQ(group.Group.Author, "Au");
    EXPECT_EQ(group.Group.ProdMajor, 7);
    EXPECT_EQ(group.Group.ProdMinor, 8);
    for (int i = 0; i < group.Projects.Count(); ++i) {
        SCOPED_TRACE(group.Projects[i].Text.toStdString());
        TProjectData fromLines;
        if (i < 2)
            ReadProjectFileLines(ReadTextFile(group.ProjectFileName(i)).Lines, fromLines);
        ASSERT_TRUE(group.Projects[i].Info);
        EXPECT_EQ(group.Projects[i].Info->ProjectData, fromLines);
    }
    EXPECT_EQ(group.Projects[0].Info->ProjectData.FileVersionBuild, 5);
    EXPECT_EQ(group.Projects[1].Info->ProjectData.FileDescription, "Lib");
}

} // namespace
