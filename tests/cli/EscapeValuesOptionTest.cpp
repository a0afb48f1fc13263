// "build" with --escape-values and --no-escape-values against the
// configuration's "EscapeValues": the option given last wins, and without one
// the configuration decides.
#include "testsupport/TestFiles.h"

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

struct TEscapeOptionCase {
    const char* Name;
    const char* ConfiguredEscape; // the configuration's EscapeValues
    QStringList Options;
    bool Escaped;
};

void PrintTo(const TEscapeOptionCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EscapeValuesOptionTest : public testing::TestWithParam<TEscapeOptionCase>
{
};

TEST_P(EscapeValuesOptionTest, DecidesHowTextValuesGoIn)
{
    const TEscapeOptionCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto path = [&dir](const char* relative) { return dir.filePath(U(relative)); };
    TestFiles::Write(path("Group/Group.groupproj"),
                     TestFiles::GroupFile({QStringLiteral("App.dproj")}));
    TestFiles::Write(path("Group/App.dproj"),
                     TestFiles::ProjectFile(U("CompanyName=Müller &amp; Söhne;FileVersion=1.0.0.1"),
                                            QStringLiteral("1")));
    TestFiles::Write(path("Company.trc"), "\xEF\xBB\xBF"
                                          "Company=$Company\r\n");
    TestFiles::Write(
        path("cfg/quorvel.ini"),
        TestFiles::CrLf({QStringLiteral("[Config]"),
                         QStringLiteral("EscapeValues=") + U(c.ConfiguredEscape),
                         QStringLiteral("TemplateName=") + path("Company.trc"),
                         QStringLiteral("ResourceCompiler=") + TestFiles::FakeCompiler()}));

    const TestFiles::TCliRun r = TestFiles::RunCli(
        QStringList{QStringLiteral("--config"), path("cfg/quorvel.ini"), QStringLiteral("build"),
                    path("Group/Group.groupproj"), QStringLiteral("--dry-run")} +
            c.Options,
        dir.path(), path("home"));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QString& out = r.Out;
    const QString expected = c.Escaped ? QStringLiteral("Company=M\\x00FCller & S\\x00F6hne")
                                       : U("Company=Müller & Söhne");
    // The script's own line break; the text mode of Windows output gives it as "\n".
    const QString lineEnd = TestFiles::ProgramOutput("\r\n");
    EXPECT_TRUE(out.contains(expected + lineEnd)) << out.toStdString();
}

const TEscapeOptionCase EscapeOptionCases[] = {
    {"ConfigurationOff", "0", {}, false},
    {"ConfigurationOn", "1", {}, true},
    // Hand-edited configurations say it in words.
    {"ConfigurationSaysYes", "yes", {}, true},
    {"OptionSwitchesOn", "0", {QStringLiteral("--escape-values")}, true},
    {"OptionSwitchesOff", "1", {QStringLiteral("--no-escape-values")}, false},
    {"LastOptionWinsOff",
     "0",
     {QStringLiteral("--escape-values"), QStringLiteral("--no-escape-values")},
     false},
    {"LastOptionWinsOn",
     "1",
     {QStringLiteral("--no-escape-values"), QStringLiteral("--escape-values")},
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, EscapeValuesOptionTest, testing::ValuesIn(EscapeOptionCases),
                         [](const testing::TestParamInfo<TEscapeOptionCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
