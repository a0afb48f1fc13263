// Inputs the fuzz targets found mishandled, kept as cases once fixed.

#include "resgen/PlaceholderCaret.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace
{

constexpr int MinInt = std::numeric_limits<int>::min();
constexpr int MaxInt = std::numeric_limits<int>::max();

struct TFarCaretCase {
    const char* Name;
    int Line;
    int Column;
    int Index; // CharIndexOfPosition
    int Row;   // PlaceholderRowAtCaret
};

void PrintTo(const TFarCaretCase& c, std::ostream* os)
{
    *os << c.Name;
}

class FarCaretTest : public testing::TestWithParam<TFarCaretCase>
{
};

// Positions far outside the text overflowed the index arithmetic (line - 1
// for the lowest line number, the sum of the line lengths and the column).
// The index is now clamped to the int range.
TEST_P(FarCaretTest, NeitherOverflowsNorSelects)
{
    const QStringList lines{QStringLiteral("ab"), QStringLiteral("$fvBuild x")};
    const TFarCaretCase& c = GetParam();
    EXPECT_EQ(CharIndexOfPosition(lines, c.Line, c.Column), c.Index);
    EXPECT_EQ(PlaceholderRowAtCaret(lines, c.Line, c.Column), c.Row);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FarCaretTest,
    testing::Values(TFarCaretCase{"LowestLine", MinInt, 1, 0, -1},
                    TFarCaretCase{"LowestLineHighestColumn", MinInt, MaxInt, MaxInt - 1, -1},
                    TFarCaretCase{"HighestLineAndColumn", MaxInt, MaxInt, MaxInt, -1},
                    TFarCaretCase{"LowestColumn", 1, MinInt, MinInt, -1},
                    TFarCaretCase{"SecondLineLowestColumn", 2, MinInt + 1, MinInt + 4, -1},
                    TFarCaretCase{"OnThePlaceholder", 2, 3, 6, 3}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
