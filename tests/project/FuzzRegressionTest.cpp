// Inputs the fuzz targets found mishandled, kept as cases once fixed.

#include "project/GroupFile.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{

struct TEntryCase {
    const char* Name;
    const char* Line;
    const char* Entry; // nullptr: not a project line
};

void PrintTo(const TEntryCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ProjectLineTest : public testing::TestWithParam<TEntryCase>
{
};

// A project line whose entry is empty because the ">" follows the "=" at
// once gave the null string, which stands for a line that is no project line.
TEST_P(ProjectLineTest, IsNullOnlyWhenNoProjectLine)
{
    const TEntryCase& c = GetParam();
    const QString entry = ExtractProjectEntry(QString::fromUtf8(c.Line));
    EXPECT_EQ(entry.isNull(), c.Entry == nullptr);
    if (c.Entry) {
        EXPECT_EQ(entry, QString::fromUtf8(c.Entry));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectLineTest,
    testing::Values(TEntryCase{"BracketRightAfterEquals", "  <Projects Include=>A.dproj\">", ""},
                    TEntryCase{"EmptyQuotes", "<Projects Include=\"\">", ""},
                    TEntryCase{"NoBracket", "<Projects Include=\"A.dproj\"", ""},
                    TEntryCase{"Entry", "<projects include=\"A.dproj\">", "A.dproj"},
                    TEntryCase{"OtherElement", "<Dependencies/>", nullptr}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
