#include "project/Configuration.h"
#include "QuorvelVersion.h"
#include "project/TestPrinters.h"
#include "support/IniFile.h"
#include "support/PathHelpers.h"
#include "support/ProgramInfo.h"
#include "support/QuorvelError.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class Configuration : public testing::Test
{
protected:
    // The configuration folder exists: the program creates it at start.
    Configuration() { QDir().mkpath(File("cfg")); }
    QString File(const QString& name) const { return QDir::toNativeSeparators(Dir.filePath(name)); }
    // The program's folder, with its trailing delimiter.
    QString ExePath() const { return WithTrailingDelimiter(File("prog")); }
    QString UserPath() const { return WithTrailingDelimiter(File("docs")); }
    QString Ini() const { return File("cfg/quorvel.ini"); }
    QString Stored(const QString& key) const
    {
        return TIniFile(Ini()).ReadString("Config", key, "<missing>");
    }
    TConfiguration Load() const { return LoadConfiguration(Ini(), ExePath(), UserPath()); }
    QString NewGroup(const QString& name) const
    {
        const QString f = File(name);
        TestFiles::Write(f, TestFiles::GroupFile({"App.dproj"}));
        return f;
    }
    void WriteIni(const QStringList& lines) const
    {
        TestFiles::Write(Ini(), TestFiles::CrLf(lines));
    }

    QTemporaryDir Dir;
};

TEST_F(Configuration, FirstRunDefaults)
{
    const TConfiguration c = Load();
    EXPECT_EQ(c.LastPath, UserPath());
    EXPECT_EQ(c.TemplateName, ExePath() + "VersInfo.trc");
    EXPECT_EQ(c.ResourceCompiler, "");
    EXPECT_EQ(c.ResourcePath, "Resources");
    EXPECT_EQ(c.Win32Suffix, "-32");
    EXPECT_EQ(c.Win64Suffix, "-64");
    EXPECT_EQ(c.DefaultAuthor, "");
    EXPECT_EQ(c.DefaultCompany, "");
    EXPECT_EQ(c.DefaultCopyright, "");
    EXPECT_EQ(c.LastProjGroup, "");
    EXPECT_TRUE(c.ProjGroups.isEmpty());
    EXPECT_FALSE(QFile::exists(Ini()));
}

TEST_F(Configuration, PresentEmptyKeysStayEmpty)
{
    WriteIni({"[Config]", "ResourcePath=", "Win32Suffix=", "LastPath="});
    const TConfiguration c = Load();
    EXPECT_EQ(c.ResourcePath, "");
    EXPECT_EQ(c.Win32Suffix, "");
    EXPECT_EQ(c.LastPath, "");
    EXPECT_EQ(c.Win64Suffix, "-64");
}

TEST_F(Configuration, SavedValuesLoadBack)
{
    TConfiguration c = Load();
    c.LastPath = File("last") + "/";
    c.ResourceCompiler = "/opt/rc/brcc32.exe";
    c.ResourcePath = "Res";
    c.Win32Suffix = "_x86";
    c.Win64Suffix = "_x64";
    c.DefaultAuthor = "Ann";
    c.DefaultCompany = "Acme & Söhne";
    c.DefaultCopyright = "© 2026";
    c.LastProjGroup = NewGroup("g/Last.groupproj");
    c.ProjGroups = {c.LastProjGroup, NewGroup("g/Other.groupproj")};
    SaveConfiguration(Ini(), ExePath(), c);
    const TConfiguration r = Load();
    const QStringList saved{
        c.LastPath,    c.TemplateName,  c.ResourceCompiler, c.ResourcePath,     c.Win32Suffix,
        c.Win64Suffix, c.DefaultAuthor, c.DefaultCompany,   c.DefaultCopyright, c.LastProjGroup};
    const QStringList loaded{
        r.LastPath,    r.TemplateName,  r.ResourceCompiler, r.ResourcePath,     r.Win32Suffix,
        r.Win64Suffix, r.DefaultAuthor, r.DefaultCompany,   r.DefaultCopyright, r.LastProjGroup};
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(r.ProjGroups, c.ProjGroups);
}

struct TTemplateCase {
    const char* Name;
    const char* Template; // below the test folder; "prog" is the program's folder
    const char* Stored;   // null: the full path
};

class TemplateNameTest : public Configuration, public testing::WithParamInterface<TTemplateCase>
{
};

TEST_P(TemplateNameTest, StoredRelativeWherePossible)
{
    const TTemplateCase& p = GetParam();
    TConfiguration c = Load();
    c.TemplateName = File(p.Template);
    SaveConfiguration(Ini(), ExePath(), c);
    EXPECT_EQ(Stored("TemplateName"),
              p.Stored ? QDir::toNativeSeparators(p.Stored) : c.TemplateName);
    EXPECT_EQ(Load().TemplateName, c.TemplateName);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Configuration, TemplateNameTest,
    testing::Values(
        TTemplateCase{"InProgramFolder", "prog/VersInfo.trc", "VersInfo.trc"},
        TTemplateCase{"InSubFolder", "prog/tpl/My.trc", "tpl/My.trc"},
        TTemplateCase{"Elsewhere", "other/My.trc", nullptr},
        TTemplateCase{"SiblingWithSamePrefix", "program/My.trc", nullptr}),
    [](const testing::TestParamInfo<TTemplateCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST_F(Configuration, MissingRecentGroupDroppedStaleKeyKept)
{
    const QString g1 = NewGroup("G1.groupproj"), g2 = NewGroup("G2.groupproj"),
                  g3 = NewGroup("G3.groupproj");
    WriteIni({"[Config]", "ProjGroupCount=3", "ProjGroups01=" + g1, "ProjGroups02=" + g2,
              "ProjGroups03=" + g3});
    ASSERT_TRUE(QFile::remove(g2));
    const TConfiguration c = Load();
    EXPECT_EQ(c.ProjGroups, (QStringList{g1, g3}));
    SaveConfiguration(Ini(), ExePath(), c);
    EXPECT_EQ(Stored("ProjGroupCount"), "2");
    EXPECT_EQ(Stored("ProjGroups01"), g1);
    EXPECT_EQ(Stored("ProjGroups02"), g3);
    EXPECT_EQ(Stored("ProjGroups03"), g3);
    EXPECT_EQ(Load().ProjGroups, (QStringList{g1, g3}));
}

TEST_F(Configuration, EmptyAndMissingRecentGroupsDropped)
{
    const QString g1 = NewGroup("G1.groupproj");
    WriteIni({"[Config]", "ProjGroupCount=4", "ProjGroups01=", "ProjGroups02=" + g1,
              "ProjGroups04=" + File("none.groupproj"), "ProjGroups05=" + g1});
    EXPECT_EQ(Load().ProjGroups, QStringList{g1});
}

TEST_F(Configuration, HundredAndMoreRecentGroups)
{
    TConfiguration c = Load();
    for (int i = 1; i <= 101; ++i)
        c.ProjGroups.append(NewGroup(QStringLiteral("g/G%1.groupproj").arg(i)));
    SaveConfiguration(Ini(), ExePath(), c);
    EXPECT_EQ(Stored("ProjGroups09"), c.ProjGroups[8]);
    EXPECT_EQ(Stored("ProjGroups99"), c.ProjGroups[98]);
    EXPECT_EQ(Stored("ProjGroups100"), c.ProjGroups[99]);
    EXPECT_EQ(Stored("ProjGroups101"), c.ProjGroups[100]);
    EXPECT_EQ(Stored("ProjGroups001"), "<missing>");
    EXPECT_EQ(Load().ProjGroups, c.ProjGroups);
}

struct TCountCase {
    const char* Name;
    const char* Count;
    int Expected;
};

class ProjGroupCountTest : public Configuration, public testing::WithParamInterface<TCountCase>
{
};

TEST_P(ProjGroupCountTest, CountsEntries)
{
    QStringList lines{"[Config]", QStringLiteral("ProjGroupCount=") + GetParam().Count};
    for (int i = 1; i <= 3; ++i)
        lines << QStringLiteral("ProjGroups%1=").arg(i, 2, 10, QLatin1Char('0')) +
                     NewGroup(QStringLiteral("G%1.groupproj").arg(i));
    WriteIni(lines);
    EXPECT_EQ(Load().ProjGroups.size(), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Configuration, ProjGroupCountTest,
    testing::Values(
        TCountCase{"Decimal", "2", 2},
        TCountCase{"Hex", "0x3", 3},
        TCountCase{"Dollar", "$1", 1},
        TCountCase{"NotANumber", "two", 0},
        TCountCase{"Fraction", "2.5", 0},
        TCountCase{"Negative", "-1", 0},
        TCountCase{"Empty", "", 0},
        TCountCase{"Huge", "2147483647", 3}),
    [](const testing::TestParamInfo<TCountCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(ConfigurationKeys, ProjGroupsKey)
{
    EXPECT_EQ(ProjGroupsKey(1), "ProjGroups01");
    EXPECT_EQ(ProjGroupsKey(12), "ProjGroups12");
    EXPECT_EQ(ProjGroupsKey(100), "ProjGroups100");
}

TEST_F(Configuration, RefusedWriteRaisesError)
{
    TestFiles::Write(File("plain"), "x");
    const QString ini = File("plain/quorvel.ini");
    try {
        SaveConfiguration(ini, ExePath(), Load());
        FAIL() << "no error";
    } catch (const TQuorvelError& e) {
        EXPECT_TRUE(e.Message().startsWith("Unable to write to " + ini)) << e.what();
    }
}

struct TCutCase {
    const char* Version;
    int Components;
    const char* Expected;
};

class CutVersionTest : public testing::TestWithParam<TCutCase>
{
};

TEST_P(CutVersionTest, Cuts)
{
    EXPECT_EQ(CutVersion(GetParam().Version, GetParam().Components), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProgramIdentity, CutVersionTest,
    testing::Values(
        TCutCase{"1.0.4.0", 3, "1.0.4"},
        TCutCase{"1.0.4.0", 4, "1.0.4.0"},
        TCutCase{"1.0.4.0", 2, "1.0"},
        TCutCase{"1.0.4.0", 1, "1"},
        TCutCase{" - Vers. 1.0", 3, " - Vers. 1"},
        TCutCase{" - Vers. 1.0", 2, " - Vers"},
        TCutCase{"7", 3, "7"},
        TCutCase{"", 3, ""}));
// clang-format on

TEST(ProgramIdentity, NoVersionInformationGivesDefaults)
{
    QString name, version, date;
    TFileVersionInfo info;
    GetProgramIdentity("/nonexistent/quorvel", "Fallback", " - Vers. 1.0", 3, name, version, date,
                       info);
    EXPECT_EQ(name, "Fallback");
    EXPECT_EQ(version, " (Version  - Vers. 1)");
    EXPECT_EQ(info.Version, " - Vers. 1.0");
}

// Windows programs carry their version information in a version resource,
// read through the system; a file without one gives false and empty fields.
TEST(ProgramIdentity, WindowsProgramsCarryTheirVersionResource)
{
#ifndef Q_OS_WIN
    GTEST_SKIP() << "ELF programs carry no version resource";
#else
    const QString window = TestFiles::WindowProgram();
    for (const auto& [file, internalName] :
         {std::pair{TestFiles::CliProgram(), QString("quorvel-cli")},
          std::pair{window, QString("Quorvel")}}) {
        if (file.isEmpty())
            continue;
        TFileVersionInfo info;
        ASSERT_TRUE(ReadVersionInfo(file, info)) << file.toStdString();
        EXPECT_EQ(info.InternalName, internalName);
        EXPECT_EQ(info.Version, QUORVEL_VERSION_TEXT);
        EXPECT_EQ(info.Company, QUORVEL_COMPANY);
        EXPECT_EQ(info.Description, QUORVEL_DESCRIPTION);
        EXPECT_EQ(info.Copyright, QUORVEL_COPYRIGHT);
        EXPECT_EQ(info.Comments, QString());
    }
    if (!window.isEmpty()) {
        QString name, version, date;
        TFileVersionInfo info;
        GetProgramIdentity(window, QString(), " - Vers. 1.0", 3, name, version, date, info);
        EXPECT_EQ(name + version, "Quorvel (Version " + CutVersion(QUORVEL_VERSION_TEXT, 3) + ")");
    }
    TFileVersionInfo info;
    info.Company = "left over";
    EXPECT_FALSE(ReadVersionInfo(TestFiles::FakeCompiler(), info));
    EXPECT_EQ(info.Company, QString());
#endif
}

TEST(ProgramIdentity, ConfigurationFileName)
{
    EXPECT_EQ(BuildFileName("/home/u/.config/", "quorvel", "ini", TPathStyle::Posix),
              "/home/u/.config/quorvel.ini");
    EXPECT_EQ(BuildFileName("/home/u/.config/", "quorvel.beta", "ini", TPathStyle::Posix),
              "/home/u/.config/quorvel.beta");
    EXPECT_EQ(
        BuildFileName("C:\\Users\\u\\AppData\\Roaming\\", "Quorvel", "ini", TPathStyle::Windows),
        "C:\\Users\\u\\AppData\\Roaming\\Quorvel.ini");
}

} // namespace
