#include "resgen/ResourceGenerator.h"

#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

// Shows texts readably in failure messages.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toUtf8().replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Lines each ended by CR LF.
QString CrLfText(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    return text;
}

// Text in UTF-16 with its byte-order mark.
QByteArray Utf16(bool littleEndian, const QString& text)
{
    QStringEncoder encoder(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    const QByteArray body = encoder(text);
    return QByteArray(littleEndian ? "\xFF\xFE" : "\xFE\xFF") + body;
}

QByteArray Utf8WithBom(const QStringList& lines)
{
    return Utf8Bom + CrLfText(lines).toUtf8();
}

TGenerationProject Entry(const char* text, bool checked, TProjectStates status, qint32 build = 4,
                         const char* description = "Calculator")
{
    TGenerationProject p;
    p.Text = U(text);
    p.Checked = checked;
    p.Data.FileVersionMajor = 1;
    p.Data.FileVersionMinor = 2;
    p.Data.FileVersionRelease = 3;
    p.Data.FileVersionBuild = build;
    p.Data.FileDescription = U(description);
    p.Data.Status = status;
    return p;
}

const TProjectStates Both{psEnabled, psWin32, psWin64};
const TProjectStates Only32{psEnabled, psWin32};
const TProjectStates Only64{psEnabled, psWin64};

// The template most cases use: UTF-8 with byte-order mark, CR LF.
const QByteArray PlainTemplate =
    Utf8WithBom({QStringLiteral("FILEVERSION $fvMajor,$fvMinor,$fvRelease,$fvBuild"),
                 QStringLiteral("VALUE \"FileDescription\", \"$Description\""),
                 QStringLiteral("VALUE \"Comments\", \"$Platform\"")});

QByteArray PlainScript(qint32 build, const char* description, const char* platform)
{
    return Utf8WithBom({QStringLiteral("FILEVERSION 1,2,3,%1").arg(build),
                        QStringLiteral("VALUE \"FileDescription\", \"%1\"").arg(U(description)),
                        QStringLiteral("VALUE \"Comments\", \"%1\"").arg(U(platform))});
}

struct TGenerateCase {
    const char* Name;
    QByteArray Template;
    std::vector<TGenerationProject> Projects;
    const char* ResourcePath;
    QStringList Folders;       // created below the group folder before the run
    QStringList BlockingFiles; // files created below the group folder before the run
    // Expected: every script below the group folder with its bytes, and the
    // compiler calls as "resource path|script name", in order.
    std::vector<std::pair<const char*, QByteArray>> Scripts;
    QStringList Compiles;
    bool Failed;
};

void PrintTo(const TGenerateCase& c, std::ostream* os)
{
    *os << c.Name;
}

class GenerateResourcesTest : public testing::TestWithParam<TGenerateCase>
{
};

TEST_P(GenerateResourcesTest, WritesAndCompilesTheScripts)
{
    const TGenerateCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The group folder does not exist yet: the run creates it.
    const QString g = dir.path() + QStringLiteral("/Work Grp/");
    for (const QString& f : c.Folders)
        ASSERT_TRUE(QDir().mkpath(g + f));
    for (const QString& f : c.BlockingFiles)
        TestFiles::Write(g + f, "in the way");
    TestFiles::Write(dir.path() + QStringLiteral("/T.trc"), c.Template);
    const TTextContent templ = ReadTextFile(dir.path() + QStringLiteral("/T.trc"));

    TGenerationInput input;
    input.GroupFolder = g;
    // "G/" stands for the group folder: an absolute resource path.
    input.ResourcePath = TestFiles::Native(U(c.ResourcePath).replace(QLatin1String("G/"), g));
    input.Suffix32 = QStringLiteral("-32");
    input.Suffix64 = QStringLiteral("-64");
    input.TemplateLines = templ.Lines;
    input.TemplateFormat = templ.Format;
    input.Projects = c.Projects;
    input.Group.ProdMajor = 5;
    input.Group.Company = QStringLiteral("ACME");
    input.Group.Copyright = U("© ACME");

    QStringList compiles;
    TGenerationActions actions;
    actions.Compile = [&](const TCompileJob& job) {
        const QString &group = job.GroupFolder, &path = job.ResourcePath, &name = job.ScriptName;
        EXPECT_EQ(group, TestFiles::Native(g));
        // The script is on disk when its compiler runs.
        const QString script = QDir(QDir(group).filePath(path)).filePath(name);
        EXPECT_TRUE(QFileInfo(script).isFile()) << script.toStdString();
        compiles << QString(path).replace(TestFiles::Native(g),
                                          TestFiles::Native(QStringLiteral("G/"))) +
                        u'|' + name;
    };
    const TGenerationResult result = GenerateResources(input, actions);

    EXPECT_EQ(result.Failed, c.Failed);
    EXPECT_EQ(result.Message,
              c.Failed ? QStringLiteral("Could not write to %1").arg(TestFiles::Native(g))
                       : QString());
    QStringList expectedCompiles;
    for (const QString& compile : c.Compiles)
        expectedCompiles << TestFiles::Native(compile);
    EXPECT_EQ(compiles, expectedCompiles);
    QStringList expectedFiles;
    for (const auto& [name, bytes] : c.Scripts) {
        const QString file = g + U(name);
        expectedFiles << file;
        ASSERT_TRUE(QFileInfo(file).isFile()) << name;
        EXPECT_EQ(TestFiles::Read(file), bytes) << name;
    }
    expectedFiles.sort();
    EXPECT_EQ(TestFiles::FindFiles(g, {QStringLiteral(".rc")}), expectedFiles);
}

const TGenerateCase GenerateCases[] = {
    // The check mark decides, not psEnabled in the status.
    {"NoEntryChecked",
     PlainTemplate,
     {Entry("Calc.dproj", false, Both), Entry("Other.dproj", false, Both)},
     "Resources",
     {},
     {},
     {},
     {},
     false},
    {"NoPlatform",
     PlainTemplate,
     {Entry("Calc.dproj", true, TProjectStates{psEnabled})},
     "Resources",
     {},
     {},
     {},
     {},
     false},
    {"BothPlatforms",
     PlainTemplate,
     {Entry("Calc.dproj", true, Both)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", PlainScript(4, "Calculator", "32-bit")},
      {"Resources/Calc-64.rc", PlainScript(4, "Calculator", "64-bit")}},
     {QStringLiteral("Resources|Calc-32.rc"), QStringLiteral("Resources|Calc-64.rc")},
     false},
    {"Only64",
     PlainTemplate,
     {Entry("Calc.dproj", true, Only64)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-64.rc", PlainScript(4, "Calculator", "64-bit")}},
     {QStringLiteral("Resources|Calc-64.rc")},
     false},
    {"DottedName",
     PlainTemplate,
     {Entry("App.Core.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/App.Core-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|App.Core-32.rc")},
     false},
    {"ListOrderAndUncheckedSkipped",
     PlainTemplate,
     {Entry("B.dproj", true, Only32, 1, "first"), Entry("Skip.dproj", false, Both),
      Entry("A.dproj", true, Only64, 2, "second")},
     "Resources",
     {},
     {},
     {{"Resources/B-32.rc", PlainScript(1, "first", "32-bit")},
      {"Resources/A-64.rc", PlainScript(2, "second", "64-bit")}},
     {QStringLiteral("Resources|B-32.rc"), QStringLiteral("Resources|A-64.rc")},
     false},
    {"SubFolderPresent",
     PlainTemplate,
     {Entry("Tools\\Conv.dproj", true, Only32)},
     "Resources",
     {QStringLiteral("Resources/Tools")},
     {},
     {{"Resources/Tools/Conv-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|Tools/Conv-32.rc")},
     false},
    // A script's folder inside the resources folder is created.
    {"SubFolderMissingIsCreated",
     PlainTemplate,
     {Entry("Source\\Deep\\App.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Source/Deep/App-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|Source/Deep/App-32.rc")},
     false},
    // An entry that climbs out of the group folder: its script stays inside.
    {"FolderOutsideStaysInside",
     PlainTemplate,
     {Entry("..\\..\\Other\\App.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/@up/@up/Other/App-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|@up/@up/Other/App-32.rc")},
     false},
    // An absolute resources folder is used as it is, not put below the group.
    {"AbsoluteResourcePath",
     PlainTemplate,
     {Entry("Calc.dproj", true, Only32)},
     "G/Abs",
     {},
     {},
     {{"Abs/Calc-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("G/Abs|Calc-32.rc")},
     false},
    // A script that cannot be written stops the run with the message, the
    // 64-bit script is not written, and no later project is processed.
    {"ScriptFolderBlockedStopsTheRun",
     PlainTemplate,
     {Entry("Calc.dproj", true, Both), Entry("Tools\\Conv.dproj", true, Both),
      Entry("Later.dproj", true, Both)},
     "Resources",
     {},
     {QStringLiteral("Resources/Tools")},
     {{"Resources/Calc-32.rc", PlainScript(4, "Calculator", "32-bit")},
      {"Resources/Calc-64.rc", PlainScript(4, "Calculator", "64-bit")}},
     {QStringLiteral("Resources|Calc-32.rc"), QStringLiteral("Resources|Calc-64.rc")},
     true},
    {"SixtyFourOnlyBlockedFolder",
     PlainTemplate,
     {Entry("Tools\\Conv.dproj", true, Only64), Entry("Later.dproj", true, Both)},
     "Resources",
     {},
     {QStringLiteral("Resources/Tools")},
     {},
     {},
     true},
    {"EmptyResourcePath",
     PlainTemplate,
     {Entry("Calc.dproj", true, Only32)},
     "",
     {},
     {},
     {{"Calc-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("|Calc-32.rc")},
     false},
    {"NestedResourcePathCreated",
     PlainTemplate,
     {Entry("Calc.dproj", true, Only32)},
     "out/res",
     {},
     {},
     {{"out/res/Calc-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("out/res|Calc-32.rc")},
     false},
    {"ResourceFolderBlockedByFile",
     PlainTemplate,
     {Entry("Calc.dproj", true, Both)},
     "Resources",
     {},
     {QStringLiteral("Resources")},
     {},
     {},
     true},
    {"ExistingScriptReplaced",
     PlainTemplate,
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {QStringLiteral("Resources/Calc-32.rc")},
     {{"Resources/Calc-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    // An entry is a path in XML: "&amp;" in the group file is "&" on disk.
    {"XmlReferenceInEntry",
     PlainTemplate,
     {Entry("R&amp;D.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/R&D-32.rc", PlainScript(4, "Calculator", "32-bit")}},
     {QStringLiteral("Resources|R&D-32.rc")},
     false},
    {"LfTemplateLastLineWithoutBreak",
     QByteArray("A $fvMajor\nB $Platform"),
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", QByteArray("A 1\r\nB 32-bit\r\n")}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    {"LowerCaseAndUnknownPlaceholders",
     Utf8WithBom({QStringLiteral("$fvmajor.$FVMINOR $Version $Description")}),
     {Entry("Calc.dproj", true, Only32, 4, "about $Company")},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", Utf8WithBom({QStringLiteral("1.2 $Version about ACME")})}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    {"Utf8WithBom",
     Utf8WithBom({QStringLiteral("Ä $Copyright $Platform")}),
     {Entry("Calc.dproj", true, Only64)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-64.rc", Utf8WithBom({U("Ä © ACME 64-bit")})}},
     {QStringLiteral("Resources|Calc-64.rc")},
     false},
    {"Utf16LE",
     Utf16(true, U("Ä $Copyright\n")),
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", Utf16(true, U("Ä © ACME\r\n"))}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    {"Utf16BE",
     Utf16(false, U("Ä $Copyright\r\n")),
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", Utf16(false, U("Ä © ACME\r\n"))}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    // Without a byte-order mark the script has none either; bytes that are no
    // UTF-8 are read in Windows-1252 off Windows, and "Ω" has no place there.
    {"AnsiWithoutBom",
     QByteArray("\xA9 $Description\r\n"),
     {Entry("Calc.dproj", true, Only32, 4, "\xCE\xA9 \xC3\xA4")},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", QByteArray("\xA9 ? \xE4\r\n")}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    {"Utf8WithoutBom",
     QByteArray("\xC3\x84 $Copyright\r\n"),
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", QByteArray("\xC3\x84 \xC2\xA9 ACME\r\n")}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
    {"EmptyTemplate",
     Utf8Bom,
     {Entry("Calc.dproj", true, Only32)},
     "Resources",
     {},
     {},
     {{"Resources/Calc-32.rc", Utf8Bom}},
     {QStringLiteral("Resources|Calc-32.rc")},
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, GenerateResourcesTest, testing::ValuesIn(GenerateCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Script names ----------------------------------------------------------

struct TScriptNameCase {
    const char* Entry;
    const char* Suffix;
    const char* Expected; // on this platform
};

class ScriptNameTest : public testing::TestWithParam<TScriptNameCase>
{
};

TEST_P(ScriptNameTest, KeepsTheFolderPart)
{
    const TScriptNameCase& c = GetParam();
    QString expected = U(c.Expected);
#ifdef Q_OS_WIN
    expected.replace(u'/', u'\\');
#endif
    EXPECT_EQ(ScriptName(U(c.Entry), U(c.Suffix)), expected);
}

const TScriptNameCase ScriptNameCases[] = {
    {"Calc.dproj", "-32", "Calc-32.rc"},
    {"App.Core.dproj", "-32", "App.Core-32.rc"},
    {"Tools\\Conv.dproj", "-64", "Tools/Conv-64.rc"},
    {"..\\Shared\\Lib.dproj", "_x64", "@up/Shared/Lib_x64.rc"},
    // Each step out of the folder, a root or a drive stays inside; a folder of
    // the entry's own named like those steps is told apart.
    {"..\\..\\.\\Lib.dproj", "", "@up/@up/Lib.rc"},
    {"@up\\Lib.dproj", "", "@@up/Lib.rc"},
    {"C:\\Dev\\Lib.dproj", "", "@drive-C/Dev/Lib.rc"},
    {"\\\\server\\share\\Lib.dproj", "", "@root/server/share/Lib.rc"},
    {"NoExtension", "-32", "NoExtension-32.rc"},
    {"Dir.v2\\Prog", "", "Dir.v2/Prog.rc"},
    {"A&amp;B.dproj", "-32", "A&B-32.rc"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScriptNameTest, testing::ValuesIn(ScriptNameCases));

// ---- The writer and the folder maker are the caller's ----------------------

TEST(GenerateResourcesActions, DryRunWriterSeesEveryScriptAndNothingIsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString g = dir.path() + QStringLiteral("/G/");
    TGenerationInput input;
    input.GroupFolder = g;
    input.ResourcePath = QStringLiteral("Resources");
    input.Suffix32 = QStringLiteral("-32");
    input.Suffix64 = QStringLiteral("-64");
    input.TemplateLines = {QStringLiteral("$Platform")};
    input.TemplateFormat.Encoding = TTextEncoding::Utf16LE;
    input.TemplateFormat.HasBom = true;
    input.Projects = {Entry("Tools\\Conv.dproj", true, Both)};

    std::vector<TResourceScript> seen;
    TGenerationActions actions;
    actions.MakeFolder = [](const QString&) { return true; };
    actions.WriteScript = [&](const TResourceScript& s) {
        seen.push_back(s);
        return true;
    };
    const TGenerationResult result = GenerateResources(input, actions);
    EXPECT_FALSE(result.Failed);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].FileName,
              TestFiles::Native(g + QStringLiteral("Resources/Tools/Conv-32.rc")));
    EXPECT_EQ(seen[0].Text, QStringLiteral("32-bit\r\n"));
    EXPECT_EQ(seen[1].Text, QStringLiteral("64-bit\r\n"));
    EXPECT_EQ(seen[1].Bytes, Utf16(true, QStringLiteral("64-bit\r\n")));
    EXPECT_FALSE(QFileInfo::exists(g));
}

} // namespace
