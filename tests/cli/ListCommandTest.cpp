#include "project/TestPrinters.h"

#include "testsupport/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using TRun = TestFiles::TCliRun;

class ListCommand : public testing::Test
{
protected:
    ListCommand()
    {
        EXPECT_TRUE(Dir.isValid());
        TestFiles::Write(
            File("App.dproj"),
            TestFiles::ProjectFile(
                "CompanyName=Acme;FileVersion=2.3.4.5;FileDescription=App tool;ProductVersion=3.1",
                "2"));
        TestFiles::Write(
            File("sub/Lib.dproj"),
            TestFiles::ProjectFile("FileVersion=5.0.0.7;LegalCopyright=Lib Copy", "1"));
        TestFiles::Write(Config(), TestFiles::CrLf({"[Config]", "DefaultAuthor=Def Author",
                                                    "DefaultCompany=Def Company"}));
    }

    QString File(const QString& name) const { return QDir::toNativeSeparators(Dir.filePath(name)); }
    QString Config() const { return File("cfg/quorvel.ini"); }
    QString Group(const QStringList& entries, const QString& name = "Group")
    {
        TestFiles::Write(File(name + ".groupproj"), TestFiles::GroupFile(entries));
        return File(name + ".groupproj");
    }

    TRun Run(const QStringList& arguments, const QString& workingDirectory = QString()) const
    {
        return TestFiles::RunCli(
            arguments, workingDirectory.isEmpty() ? Dir.path() : workingDirectory, File("home"));
    }

    QJsonObject ListJson(const QString& group) const
    {
        const TRun r = Run({"--config", Config(), "list", group, "--json"});
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.Out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.Out.toStdString();
        return doc.object();
    }

    // Every file and folder below the test folder with its size and time.
    QStringList Listing() const { return TestFiles::Listing(Dir.path()); }

    QTemporaryDir Dir;
};

void ExpectProject(const QJsonValue& value, const QJsonObject& expected)
{
    const QJsonObject actual = value.toObject();
    SCOPED_TRACE(expected["entry"].toString().toStdString());
    EXPECT_EQ(actual.keys(), expected.keys());
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(actual[it.key()], it.value()) << it.key().toStdString();
}

TEST_F(ListCommand, JsonOfASmallGroup)
{
    const QString group = Group({"App.dproj", "sub\\Lib.dproj", "Missing.dproj"});
    TestFiles::Write(File("Group.vprj"),
                     TestFiles::CrLf({"[sub\\Lib.dproj]", "fvMajor=9", "Description=From settings",
                                      "Status=2"}));
    const QJsonObject json = ListJson(group);
    EXPECT_EQ(json.keys(), (QStringList{"global", "group", "projects", "settingsFile"}));
    EXPECT_EQ(json["group"].toString(), group);
    EXPECT_EQ(json["settingsFile"].toString(), File("Group.vprj"));
    // No "Global" section: the project files and the user's defaults fill it.
    const QJsonObject global = json["global"].toObject();
    EXPECT_EQ(global, (QJsonObject{{"pvMajor", 3},
                                   {"pvMinor", 1},
                                   {"Company", "Acme"},
                                   {"Copyright", "Lib Copy"},
                                   {"Product", ""},
                                   {"Author", "Def Author"}}));
    const QJsonArray projects = json["projects"].toArray();
    ASSERT_EQ(projects.size(), 3);
    ExpectProject(projects[0], {{"entry", "App.dproj"},
                                {"path", File("App.dproj")},
                                {"exists", true},
                                {"fvMajor", 2},
                                {"fvMinor", 3},
                                {"fvRelease", 4},
                                {"fvBuild", 5},
                                {"Description", "App tool"},
                                {"Status", 5},
                                {"checked", true},
                                {"win32", false},
                                {"win64", true}});
    ExpectProject(projects[1], {{"entry", "sub\\Lib.dproj"},
                                {"path", File("sub/Lib.dproj")},
                                {"exists", true},
                                {"fvMajor", 9},
                                {"fvMinor", 0},
                                {"fvRelease", 0},
                                {"fvBuild", 0},
                                {"Description", "From settings"},
                                {"Status", 2},
                                {"checked", false},
                                {"win32", true},
                                {"win64", false}});
    ExpectProject(projects[2], {{"entry", "Missing.dproj"},
                                {"path", File("Missing.dproj")},
                                {"exists", false},
                                {"fvMajor", 1},
                                {"fvMinor", 0},
                                {"fvRelease", 0},
                                {"fvBuild", 0},
                                {"Description", ""},
                                {"Status", 7},
                                {"checked", true},
                                {"win32", true},
                                {"win64", true}});
}

// A path as the listing writes it: this system's delimiters, "\\" escaped.
QString JsonPath(const QString& path)
{
    return TestFiles::Native(path).replace(u'\\', QLatin1String("\\\\"));
}

TEST_F(ListCommand, GlobalSectionAndSpecialCharacters)
{
    const QString group = Group({"App.dproj"});
    TestFiles::Write(
        File("Group.vprj"),
        TestFiles::CrLf({"[Global]", "pvMajor=250", "Company=\"Quoted\" \\ Co", "Product=Prödukt",
                         "[App.dproj]", "fvBuild=250", "Description=Tab\there"}));
    const QJsonObject json = ListJson(group);
    EXPECT_EQ(json["global"].toObject(), (QJsonObject{{"pvMajor", 250},
                                                      {"pvMinor", 0},
                                                      {"Company", "\"Quoted\" \\ Co"},
                                                      {"Copyright", ""},
                                                      {"Product", "Prödukt"},
                                                      {"Author", ""}}));
    const QJsonObject app = json["projects"].toArray()[0].toObject();
    EXPECT_EQ(app["fvBuild"].toInt(), 250);
    EXPECT_EQ(app["Description"].toString(), "Tab\there");
    // The listing's own layout, which scripts may read line by line.
    const TRun r = Run({"--config", Config(), "list", group, "--json"});
    EXPECT_EQ(r.Out,
              QStringLiteral("{\"group\": \"%1\",\n"
                             " \"settingsFile\": \"%2\",\n"
                             " \"global\": {\"pvMajor\": 250, \"pvMinor\": 0, \"Company\": "
                             "\"\\\"Quoted\\\" \\\\ Co\", \"Copyright\": \"\", \"Product\": "
                             "\"Prödukt\", \"Author\": \"\"},\n"
                             " \"projects\": [{\"entry\": \"App.dproj\", \"path\": \"%3\", "
                             "\"exists\": true, \"fvMajor\": 1, \"fvMinor\": 0, \"fvRelease\": 0, "
                             "\"fvBuild\": 250, \"Description\": \"Tab\\there\", \"Status\": 7, "
                             "\"checked\": true, \"win32\": true, \"win64\": true}]}\n")
                  .arg(JsonPath(group), JsonPath(File("Group.vprj")), JsonPath(File("App.dproj"))));
}

// Delphi's defaults write "FileDescription=$(MSBuildProjectName)"; the IDE puts
// the project's name there when it builds. A saved value stays as it is, and
// check names a macro that is left.
TEST_F(ListCommand, ProjectNameMacrosFromTheProjectFile)
{
    TestFiles::Write(
        File("sub/My.Tool.dproj"),
        TestFiles::ProjectFile("FileDescription=$(MSBuildProjectName) for $(msbuildprojectname);"
                               "ProductName=$(MODULENAME);CompanyName=$(Company)",
                               "1"));
    const QString group = Group({"sub\\My.Tool.dproj", "App.dproj"});
    TestFiles::Write(File("Group.vprj"),
                     TestFiles::CrLf({"[App.dproj]", "Description=$(ModuleName)"}));
    const QJsonObject json = ListJson(group);
    EXPECT_EQ(json["global"].toObject()["Product"].toString(), "My.Tool");
    EXPECT_EQ(json["global"].toObject()["Company"].toString(), "$(Company)");
    const QJsonArray projects = json["projects"].toArray();
    EXPECT_EQ(projects[0].toObject()["Description"].toString(), "My.Tool for My.Tool");
    EXPECT_EQ(projects[1].toObject()["Description"].toString(), "$(ModuleName)");

    const TRun r = Run({"--config", Config(), "check", group});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.startsWith(
        "Group.groupproj: Company \"$(Company)\" holds the MSBuild macro $(Company), which goes "
        "into the version resource as it stands\n"))
        << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("App.dproj: Description \"$(ModuleName)\" holds the MSBuild macro"))
        << r.Err.toStdString();
    EXPECT_FALSE(r.Err.contains("My.Tool.dproj: Description")) << r.Err.toStdString();
}

TEST_F(ListCommand, EmptyGroup)
{
    const QJsonObject json = ListJson(Group({}));
    EXPECT_TRUE(json["projects"].isArray());
    EXPECT_TRUE(json["projects"].toArray().isEmpty());
    EXPECT_EQ(json["global"].toObject()["pvMajor"].toInt(), 1);
}

TEST_F(ListCommand, RelativeGroupPathListedInFull)
{
    const QString group = Group({"App.dproj"});
    QDir().mkpath(File("work"));
    const TRun r =
        Run({"--config", Config(), "list", "../Group.groupproj", "--json"}, File("work"));
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.Out.toUtf8()).object();
    EXPECT_EQ(json["group"].toString(), group);
    EXPECT_EQ(json["projects"].toArray()[0].toObject()["exists"].toBool(), true);
}

TEST_F(ListCommand, UnreadableGroupFile)
{
    QDir().mkpath(File("Folder.groupproj"));
    for (const QString& group : {File("Missing.groupproj"), File("Folder.groupproj")}) {
        const TRun r = Run({"--config", Config(), "list", group, "--json"});
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_TRUE(r.Err.startsWith("Cannot open file \"" + group + "\". "))
            << r.Err.toStdString();
        // With --json, standard output still holds one object: the error.
        EXPECT_TRUE(r.Out.contains("\"exitCode\": 1")) << r.Out.toStdString();
    }
}

// A settings file that is not text (UTF-16 without its mark) is not listed
// as empty: the values it holds would seem lost.
TEST_F(ListCommand, SettingsFileThatIsNotText)
{
    const QString group = Group({"App.dproj"});
    TestFiles::Write(File("Group.vprj"), QByteArray("[\0G\0l\0o\0b\0a\0l\0]\0", 16));
    const TRun r = Run({"--config", Config(), "list", group});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.startsWith("Cannot open file \"" + File("Group.vprj") + "\". It is not text"))
        << r.Err.toStdString();
}

TEST_F(ListCommand, PlainTable)
{
    const TRun r = Run({"list", Group({"App.dproj", "Missing.dproj"}), "--config", Config()});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains("App.dproj (App tool)")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains("2.3.4.5"));
    EXPECT_TRUE(r.Out.contains("Missing.dproj"));
}

TEST_F(ListCommand, WritesNoFile)
{
    const QString group = Group({"App.dproj", "sub\\Lib.dproj"});
    const QStringList before = Listing();
    for (const QStringList& args :
         {QStringList{"--config", Config(), "list", group, "--json"}, QStringList{"list", group}}) {
        const TRun r = Run(args);
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    }
    EXPECT_EQ(Listing(), before);
}

// Output that does not reach its target fails the run, whatever printed it:
// a pipeline must not go on with a listing cut short.
TEST_F(ListCommand, OutputToAFullDiskFails)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const QString group = Group({"App.dproj"});
    for (const QStringList& args : {QStringList{"--config", Config(), "list", group},
                                    QStringList{"--config", Config(), "list", group, "--json"},
                                    QStringList{"--help"}, QStringList{"list", "--help"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const TRun r = TestFiles::RunCli(args, Dir.path(), File("home"), {}, "/dev/full");
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_TRUE(r.Err.contains("Cannot write to standard output.")) << r.Err.toStdString();
    }
}

struct TExitCase {
    const char* Name;
    QStringList Arguments; // "GROUP" stands for an existing group file
    int ExitCode;
    const char* Output; // expected in stdout (exit 0) or stderr
};

class ListCommandExit : public ListCommand, public testing::WithParamInterface<TExitCase>
{
};

TEST_P(ListCommandExit, ExitCode)
{
    QStringList args = GetParam().Arguments;
    args.replaceInStrings("GROUP", Group({"App.dproj"}));
    args.replaceInStrings("CONFIG", Config());
    const TRun r = Run(args);
    EXPECT_EQ(r.ExitCode, GetParam().ExitCode) << r.Err.toStdString();
    const QString& text = GetParam().ExitCode == 0 ? r.Out : r.Err;
    EXPECT_TRUE(text.contains(GetParam().Output)) << text.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, ListCommandExit,
    testing::Values(
        TExitCase{"NoArguments", {}, 2, "usage:"},
        TExitCase{"NoGroup", {"--config", "CONFIG", "list"}, 2, "usage:"},
        TExitCase{"TwoGroups", {"--config", "CONFIG", "list", "GROUP", "GROUP"}, 2, "usage:"},
        TExitCase{"UnknownListOption", {"--config", "CONFIG", "list", "GROUP", "--xml"}, 2, "usage:"},
        TExitCase{"UnknownOption", {"--frobnicate", "list", "GROUP"}, 2, "usage:"},
        TExitCase{"ConfigWithoutFile", {"--config"}, 2, "usage:"},
        TExitCase{"UnknownCommand", {"--config", "CONFIG", "lsit", "GROUP"}, 2, "usage:"},
        TExitCase{"Help", {"--help"}, 0, "list"},
        TExitCase{"ListHelp", {"list", "--help"}, 0, "quorvel-cli [--config FILE] list GROUP [--json]"},
        TExitCase{"Version", {"--version"}, 0, "quorvel-cli "},
        TExitCase{"VersionShort", {"-v"}, 0, "quorvel-cli "},
        TExitCase{"HelpCommand", {"help", "bump"}, 0, "quorvel-cli [--config FILE] bump GROUP"},
        TExitCase{"ConfigAfterCommand", {"list", "GROUP", "--json", "--config", "CONFIG"}, 0, "\"projects\""},
        // A named configuration must be read: a typo must not build with the defaults.
        TExitCase{"NamedConfigMissing", {"--config", "CONFIG.none", "list", "GROUP"}, 1, "Cannot open file \""},
        TExitCase{"NamedConfigIsAFolder", {"--config", ".", "list", "GROUP"}, 1, "Cannot open file \".\""},
        TExitCase{"NamedConfigEmptyName", {"--config=", "list", "GROUP"}, 1, "Cannot open file \"\""},
        TExitCase{"NamedConfigMissingAfterCommand", {"build", "GROUP", "--config", "CONFIG.none"}, 1, "Cannot open file \""},
        TExitCase{"NamedConfigMissingForSet", {"set", "GROUP", "--config", "CONFIG.none", "pvMajor=3"}, 1, "Cannot open file \""},
        TExitCase{"NoConfigTakesTheDefaults", {"list", "GROUP"}, 0, "Product version 3.1"},
        // Every command takes --config in both forms, also after its name.
        TExitCase{"ConfigJoinedAfterList", {"list", "GROUP", "--config=CONFIG"}, 0, "Author: Def Author"},
        TExitCase{"ConfigJoinedAfterBuild", {"build", "GROUP", "--config=CONFIG.none"}, 1, "Cannot open file \""},
        // A -h that is an option's value is no request for help.
        TExitCase{"DashHAsCompilerOptions", {"--config", "CONFIG", "build", "GROUP", "--dry-run", "--compiler-options", "-h"}, 0, "==> "}),
    [](const testing::TestParamInfo<TExitCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
