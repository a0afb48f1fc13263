#include "support/Translation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <ostream>

namespace
{

// Which catalog folders exist around the program folder "prefix/bin".
struct TLayoutCase {
    const char* Name;
    bool BesideProgram;   // prefix/bin/locale
    bool BelowPrefix;     // prefix/share/locale
    const char* Expected; // relative to the prefix; nullptr: the built-in folder
};

void PrintTo(const TLayoutCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CatalogFolderTest : public testing::TestWithParam<TLayoutCase>
{
};

TEST_P(CatalogFolderTest, FindsTheCatalogsOfTheLayout)
{
    const TLayoutCase& c = GetParam();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString program = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(program));
    if (c.BesideProgram) {
        ASSERT_TRUE(QDir().mkpath(prefix.filePath(QStringLiteral("bin/locale/de/LC_MESSAGES"))));
    }
    if (c.BelowPrefix) {
        ASSERT_TRUE(QDir().mkpath(prefix.filePath(QStringLiteral("share/locale/de/LC_MESSAGES"))));
    }

    const QString expected = c.Expected
                                 ? QDir::cleanPath(prefix.filePath(QLatin1String(c.Expected)))
                                 : QStringLiteral(QUORVEL_LOCALE_INSTALL_DIR);
    EXPECT_EQ(CatalogFolder(program).toStdString(), expected.toStdString());
    // A trailing delimiter, as the program's own folder carries it, changes nothing.
    EXPECT_EQ(CatalogFolder(program + u'/').toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Layouts, CatalogFolderTest,
                         testing::Values(TLayoutCase{"build tree", true, false, "bin/locale"},
                                         TLayoutCase{"installed", false, true, "share/locale"},
                                         TLayoutCase{"build tree wins", true, true, "bin/locale"},
                                         TLayoutCase{"none", false, false, nullptr}),
                         [](const testing::TestParamInfo<TLayoutCase>& info) {
                             std::string name = info.param.Name;
                             for (char& ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

} // namespace
