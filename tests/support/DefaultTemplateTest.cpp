// Where the program finds its default template: beside itself first (the
// build tree, the Windows folder), then in share/quorvel of its installation,
// found from its own folder so that a moved installation still finds it.

#include "project/Configuration.h"
#include "support/ProgramInfo.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct TTemplateCase {
    const char* Name;
    bool Beside;
    bool Installed;
    bool ExpectInstalled;
};

class DefaultTemplate : public testing::TestWithParam<TTemplateCase>
{
};

TEST_P(DefaultTemplate, BesideTheProgramThenInTheInstallation)
{
    const TTemplateCase& c = GetParam();
#ifdef Q_OS_WIN
    if (c.Installed)
        GTEST_SKIP() << "Windows programs keep their data beside them: there is no share folder";
#endif
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin =
        TestFiles::Native(prefix.filePath(QStringLiteral("bin"))) + QDir::separator();
    const QString beside = bin + QStringLiteral("VersInfo.trc");
    const QString installed =
        TestFiles::Native(prefix.filePath(QStringLiteral("share/quorvel/VersInfo.trc")));
    QDir().mkpath(bin);
    if (c.Beside)
        TestFiles::Write(beside, "beside");
    if (c.Installed)
        TestFiles::Write(installed, "installed");
    const QString expected = c.ExpectInstalled ? installed : beside;
    EXPECT_EQ(DefaultTemplateFile(bin), expected);

    // A configuration without "TemplateName" takes it; saved, it is a full
    // path outside the program's folder and a bare name beside it.
    const QString ini = prefix.filePath(QStringLiteral("quorvel.ini"));
    TConfiguration config = LoadConfiguration(ini, bin, bin);
    EXPECT_EQ(config.TemplateName, expected);
    SaveConfiguration(ini, bin, config);
    EXPECT_TRUE(TestFiles::Read(ini).contains(
        (QStringLiteral("TemplateName=") +
         (c.ExpectInstalled ? installed : QStringLiteral("VersInfo.trc")))
            .toUtf8()));
    EXPECT_EQ(LoadConfiguration(ini, bin, bin).TemplateName, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DefaultTemplate,
    testing::Values(TTemplateCase{"BesideOnly", true, false, false},
                    TTemplateCase{"InstalledOnly", false, true, true},
                    TTemplateCase{"BothBesideWins", true, true, false},
                    TTemplateCase{"NeitherBesideForTheChooser", false, false, false}),
    [](const testing::TestParamInfo<TTemplateCase>& info) { return std::string(info.param.Name); });

} // namespace
