// The --json summaries of build, check and verify: standard output holds the
// summary alone, so that a pipeline can read it.
#include "cli/GroupCopy.h"
#include "testsupport/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

struct TJsonCase {
    const char* Name;
    QStringList Arguments; // "GROUP" stands for the demo group
    QStringList Settings;  // the group's settings file, when not empty
    const char* FakeExit;  // the fake compiler's exit code
    int ExitCode;
    QJsonObject Counts;
    // project, platform, reason; "G/" stands for the group folder
    QList<QStringList> Failures;
};

void PrintTo(const TJsonCase& c, std::ostream* os)
{
    *os << c.Name;
}

class JsonSummaryTest : public testing::TestWithParam<TJsonCase>
{
};

TEST_P(JsonSummaryTest, SummaryOnStandardOutput)
{
    const TJsonCase& c = GetParam();
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString folder = copy.Path(QStringLiteral("demo/"));
    if (!c.Settings.isEmpty())
        TestFiles::Write(folder + QStringLiteral("Demo.vprj"), TestFiles::CrLf(c.Settings));
    // Whole arguments only: a temporary folder's random name may end in "G".
    QStringList args = c.Arguments;
    for (QString& arg : args)
        if (arg == QLatin1String("GROUP"))
            arg = group;
        else if (arg.startsWith(QLatin1String("G/")))
            arg = folder + arg.mid(2);
    const TGroupCopy::TRun r =
        copy.Run(args, {{QStringLiteral("FAKERC_WRITE_RES"), QStringLiteral("script")},
                        {QStringLiteral("FAKERC_EXIT"), QLatin1String(c.FakeExit)}});
    EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(r.Out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.Out.toStdString();
    QJsonObject expected = c.Counts;
    // A run that ends before its summary: the message and the exit code.
    if (expected.contains(QStringLiteral("error"))) {
        expected.insert(
            QStringLiteral("error"),
            TestFiles::NativeQuoted(expected.value(QStringLiteral("error"))
                                        .toString()
                                        .replace(QStringLiteral("G/"), folder))
                .replace(QLatin1String("No such file or directory"), TestFiles::NotFoundText()));
        EXPECT_EQ(json, expected) << r.Out.toStdString();
        return;
    }
    QJsonArray failures;
    for (const QStringList& f : c.Failures)
        failures.append(QJsonObject{
            {QStringLiteral("project"), f[0]},
            {QStringLiteral("platform"), f[1]},
            {QStringLiteral("reason"),
             TestFiles::NativeQuoted(QString(f[2]).replace(QStringLiteral("G/"), folder))}});
    // check lists warnings, build and verify failures.
    expected.insert(c.Arguments.first() == QLatin1String("check") ? QStringLiteral("warnings")
                                                                  : QStringLiteral("failures"),
                    failures);
    EXPECT_EQ(json, expected) << r.Out.toStdString();
}

const QString RangeWarning = QStringLiteral(
    "file version 2.0.0.65536 has a part outside 0 to 65535, which a VERSIONINFO cannot hold");

const TJsonCase JsonCases[] = {
    {"BuildSucceeds",
     {QStringLiteral("build"), QStringLiteral("GROUP"), QStringLiteral("--json")},
     {},
     "0",
     0,
     {{QStringLiteral("scriptsWritten"), 5}, {QStringLiteral("compilesRun"), 5}},
     {}},
    {"BuildWithAFailingCompilerAndASkippedProject",
     {QStringLiteral("build"), QStringLiteral("GROUP"), QStringLiteral("--json")},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvMajor=2"),
      QStringLiteral("fvBuild=65536"), QStringLiteral("Status=7")},
     "2",
     1,
     {{QStringLiteral("scriptsWritten"), 3}, {QStringLiteral("compilesRun"), 3}},
     {{QStringLiteral("DemoApp.dproj"), QStringLiteral("32-bit"), QStringLiteral("exit code 2")},
      {QStringLiteral("DemoApp.dproj"), QStringLiteral("64-bit"), QStringLiteral("exit code 2")},
      {QStringLiteral("Tools\\DemoTool.dproj"), QStringLiteral("32-bit"),
       QStringLiteral("exit code 2")},
      {QStringLiteral("DemoLib.dproj"), QString(), RangeWarning}}},
    {"CheckWarns",
     {QStringLiteral("check"), QStringLiteral("--json"), QStringLiteral("GROUP")},
     {QStringLiteral("[DemoLib.dproj]"), QStringLiteral("fvMajor=2"),
      QStringLiteral("fvBuild=65536"), QStringLiteral("Status=7")},
     "0",
     1,
     {{QStringLiteral("projects"), 3}},
     {{QStringLiteral("DemoLib.dproj"), QString(), RangeWarning}}},
    {"VerifyNothingBuilt",
     {QStringLiteral("verify"), QStringLiteral("GROUP"), QStringLiteral("--json"),
      QStringLiteral("--suffix64=_64")},
     {QStringLiteral("[DemoApp.dproj]"), QStringLiteral("Status=3"),
      QStringLiteral("[Tools\\DemoTool.dproj]"), QStringLiteral("Status=0"),
      QStringLiteral("[DemoLib.dproj]"), QStringLiteral("Status=4")},
     "0",
     1,
     {{QStringLiteral("resourceFiles"), 1}},
     {{QStringLiteral("DemoApp.dproj"), QStringLiteral("32-bit"),
       QStringLiteral("resource file \"G/DemoApp-32.res\" is missing")}}},
    {"MissingGroup",
     {QStringLiteral("build"), QStringLiteral("G/missing.groupproj"), QStringLiteral("--json")},
     {},
     "0",
     1,
     {{QStringLiteral("error"),
       QStringLiteral("Cannot open file \"G/missing.groupproj\". No such file or directory")},
      {QStringLiteral("exitCode"), 1}},
     {}},
    {"UsageError",
     {QStringLiteral("verify"), QStringLiteral("GROUP"), QStringLiteral("--json"),
      QStringLiteral("--bogus")},
     {},
     "0",
     2,
     {{QStringLiteral("error"), QStringLiteral("unknown option --bogus")},
      {QStringLiteral("exitCode"), 2}},
     {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, JsonSummaryTest, testing::ValuesIn(JsonCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
