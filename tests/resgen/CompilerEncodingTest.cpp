// End to end: the default template filled with non-ASCII group values, written
// as scripts and compiled by real resource compilers, must give back exactly the
// text the user typed. Each compiler reads scripts in its own code page, so
// every row names the template form and setting that one compiler needs.
#include "resgen/ErrorReporter.h"
#include "resgen/ResFile.h"
#include "resgen/ResourceCompiler.h"
#include "resgen/ResourceGenerator.h"
#include "support/CodePage.h"
#include "support/TextFile.h"
#include "testsupport/TestCompiler.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TextLog.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::string S(const QString& text)
{
    return text.toStdString();
}

const char* const Company = "Müller & Söhne";
const char* const Copyright = "© 2026 Müller";

// A compiler as the tests find it on this machine.
struct TCompilerTool {
    const char* Program;
    // Another program the compiler runs and cannot work without.
    const char* Helper;
    const char* Packages; // what to install when it is missing
};

const TCompilerTool LlvmRc{"/usr/bin/llvm-rc", nullptr, "llvm-14"};
// windres runs the C preprocessor of its own target on every script.
const TCompilerTool MingwWindres{"/usr/bin/x86_64-w64-mingw32-windres", "x86_64-w64-mingw32-gcc",
                                 "binutils-mingw-w64-x86-64 and g++-mingw-w64-x86-64"};

// The forms of the shipped template a row compiles.
enum class TTemplateForm {
    // VersInfo.trc as shipped: UTF-8 with byte-order mark, text values in
    // L"..." strings.
    AsShipped,
    // As shipped, but the text values in narrow "..." strings: windres
    // garbles a non-ASCII byte inside L"..." whatever its code page, and
    // converts narrow strings from its code page correctly.
    Narrow,
    // Narrow, with "#pragma code_page(65001)" as its first line.
    NarrowWithUtf8Pragma,
    // Narrow, in Windows-1252 without byte-order mark; a comment holds "©" so
    // that the bytes are no valid UTF-8 and the template is read as 1252.
    NarrowWindows1252,
};

struct TEncodingCase {
    const char* Name;
    const TCompilerTool* Compiler;
    const char* Options; // the "Compiler options" setting
    bool EscapeValues;
    TTemplateForm Form;
    // The copyright as its bytes must stand in the written script.
    QByteArray ScriptCopyright;
};

void PrintTo(const TEncodingCase& c, std::ostream* os)
{
    *os << c.Name;
}

// The reason a compiler cannot be run here; empty when it can.
QString MissingCompiler(const TCompilerTool& tool)
{
    const QString program = QLatin1String(tool.Program);
    if (!QFileInfo(program).isExecutable())
        return program;
    if (tool.Helper && QStandardPaths::findExecutable(QLatin1String(tool.Helper)).isEmpty())
        return QLatin1String(tool.Helper);
    return QString();
}

// The bytes of the shipped template turned into the form a row needs.
QByteArray TemplateBytes(TTemplateForm form)
{
    const TTextContent shipped =
        ReadTextFile(TestFiles::ExamplesDir() + QStringLiteral("/VersInfo.trc"));
    QStringList lines = shipped.Lines;
    if (form != TTemplateForm::AsShipped)
        for (QString& line : lines)
            line.replace(QLatin1String("L\""), QLatin1String("\""));
    if (form == TTemplateForm::NarrowWithUtf8Pragma)
        lines.prepend(QStringLiteral("#pragma code_page(65001)"));
    if (form == TTemplateForm::NarrowWindows1252) {
        lines.prepend(U("// Windows-1252, for compilers that read © as one byte."));
        return EncodeCodePage(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"),
                              cpWindows1252);
    }
    return QByteArray("\xEF\xBB\xBF") + TestFiles::CrLf(lines);
}

class TCollectErrors : public IErrorReporter
{
public:
    void ShowError(const QString& text) override { Text += text + u'\n'; }
    QString Text;
};

class CompilerEncodingTest : public testing::TestWithParam<TEncodingCase>
{
};

TEST_P(CompilerEncodingTest, ResourceHoldsTheTypedText)
{
    const TEncodingCase& c = GetParam();
    const QString missing = MissingCompiler(*c.Compiler);
    if (!missing.isEmpty())
        GTEST_SKIP() << S(missing) << " is not installed (Debian packages: " << c.Compiler->Packages
                     << "); this compiler's row is not checked";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString templateFile = dir.filePath(QStringLiteral("VersInfo.trc"));
    TestFiles::Write(templateFile, TemplateBytes(c.Form));
    const TTextContent templ = ReadTextFile(templateFile);
    if (c.Form == TTemplateForm::NarrowWindows1252) {
        ASSERT_EQ(templ.Format.Encoding, TTextEncoding::Ansi) << "the template must read as 1252";
        ASSERT_EQ(templ.Format.CodePage, cpWindows1252);
    }

    TGenerationInput input;
    input.GroupFolder = dir.path() + QStringLiteral("/Group/");
    input.ResourcePath = QStringLiteral("Resources");
    input.Suffix32 = QStringLiteral("-32");
    input.Suffix64 = QStringLiteral("-64");
    input.TemplateLines = templ.Lines;
    input.TemplateFormat = templ.Format;
    input.Group.ProdMajor = 3;
    input.Group.ProdMinor = 1;
    input.Group.Author = QStringLiteral("Ann");
    input.Group.Company = U(Company);
    input.Group.Copyright = U(Copyright);
    input.Group.Product = QStringLiteral("Demo");
    input.EscapeValues = c.EscapeValues;
    TGenerationProject project;
    project.Text = QStringLiteral("App.dproj");
    project.Checked = true;
    project.Data.FileVersionMajor = 3;
    project.Data.FileVersionMinor = 1;
    project.Data.FileVersionRelease = 4;
    project.Data.FileVersionBuild = 159;
    project.Data.FileDescription = QStringLiteral("Demo application");
    project.Data.Status = TProjectStates{psEnabled, psWin32, psWin64};
    input.Projects.push_back(project);

    TTextLog log;
    TCollectErrors errors;
    TTestCompiler compiler(log, errors);
    compiler.Compiler = QLatin1String(c.Compiler->Program);
    compiler.Options = QLatin1String(c.Options);
    // windres starts a preprocessor per script; a busy machine must not turn
    // that into a time-out.
    compiler.TimeoutMs = 120000;
    QStringList resourceFiles;
    TGenerationActions actions;
    actions.Compile = [&](const TCompileJob& job) {
        const QString &g = job.GroupFolder, &p = job.ResourcePath, &n = job.ScriptName;
        const TCompileOutcome outcome = compiler.CompileResource(g, p, n);
        EXPECT_TRUE(outcome.Succeeded()) << S(n) << ":\n" << S(log.Text()) << S(errors.Text);
        resourceFiles << CompileResourcePath(g, n);
    };
    const TGenerationResult result = GenerateResources(input, actions);
    ASSERT_FALSE(result.Failed) << S(result.Message);
    ASSERT_EQ(resourceFiles.size(), 2);

    for (const QString& script : result.Written) {
        const QByteArray bytes = TestFiles::Read(script);
        EXPECT_TRUE(bytes.contains(c.ScriptCopyright)) << S(script);
        if (c.EscapeValues) {
            const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
            for (const char b : body)
                ASSERT_EQ(b & 0x80, 0) << "an escaped script is ASCII after its byte-order mark";
        }
    }

    const char* const platforms[] = {"Windows 32-bit", "Windows 64-bit"};
    for (int i = 0; i < resourceFiles.size(); ++i) {
        SCOPED_TRACE(S(resourceFiles[i]));
        const TVersionResource v = ReadVersionResourceFile(resourceFiles[i]);
        EXPECT_EQ(S(v.StringValue(QStringLiteral("CompanyName"))), Company);
        EXPECT_EQ(S(v.StringValue(QStringLiteral("LegalCopyright"))), Copyright);
        EXPECT_EQ(S(v.StringValue(QStringLiteral("FileVersion"))), "3.1.4.159");
        EXPECT_EQ(S(v.FileVersionText()), "3.1.4.159");
        EXPECT_EQ(S(v.ProductVersionText()), "3.1.0.0");
        EXPECT_EQ(S(v.StringValue(QStringLiteral("FileDescription"))), "Demo application");
        EXPECT_EQ(S(v.StringValue(QStringLiteral("Comments"))), platforms[i]);
        const QList<QPair<quint16, quint16>> unicodeUs{{0x0409, 1200}};
        EXPECT_EQ(v.Translations, unicodeUs);
    }
}

// The copyright's bytes in the script: escaped, UTF-8, Windows-1252.
const QByteArray EscapedCopyright("L\"\\x00A9 2026 M\\x00FCller\\0\"");
const QByteArray Utf8WideCopyright("L\"\xC2\xA9 2026 M\xC3\xBCller\\0\"");
const QByteArray Utf8NarrowCopyright(", \"\xC2\xA9 2026 M\xC3\xBCller\\0\"");
const QByteArray AnsiNarrowCopyright(", \"\xA9 2026 M\xFCller\\0\"");

const TEncodingCase EncodingCases[] = {
    {"LlvmRcEscaped", &LlvmRc, "", true, TTemplateForm::AsShipped, EscapedCopyright},
    {"LlvmRcUtf8CodePageOption", &LlvmRc, "-c 65001", false, TTemplateForm::AsShipped,
     Utf8WideCopyright},
    {"LlvmRcWindows1252CodePageOption", &LlvmRc, "-c 1252", false, TTemplateForm::NarrowWindows1252,
     AnsiNarrowCopyright},
    {"WindresEscaped", &MingwWindres, "", true, TTemplateForm::AsShipped, EscapedCopyright},
    {"WindresUtf8Pragma", &MingwWindres, "", false, TTemplateForm::NarrowWithUtf8Pragma,
     Utf8NarrowCopyright},
    {"WindresUtf8CodePageOption", &MingwWindres, "-c 65001", false, TTemplateForm::Narrow,
     Utf8NarrowCopyright},
    {"WindresWindows1252Default", &MingwWindres, "", false, TTemplateForm::NarrowWindows1252,
     AnsiNarrowCopyright},
};

INSTANTIATE_TEST_SUITE_P(Compilers, CompilerEncodingTest, testing::ValuesIn(EncodingCases),
                         [](const testing::TestParamInfo<TEncodingCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
