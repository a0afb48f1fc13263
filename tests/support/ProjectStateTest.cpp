#include "support/ProjectState.h"

#include <gtest/gtest.h>

namespace
{

struct TStatesCase {
    qint64 Value;
    bool Enabled, Win32, Win64;
    int Mask; // StatesToInt of the resulting set
};

void PrintTo(const TStatesCase& c, std::ostream* os)
{
    *os << "IntToStates(" << c.Value << ")";
}

class ProjectStatesTest : public testing::TestWithParam<TStatesCase>
{
};

TEST_P(ProjectStatesTest, MapsBitsZeroToTwo)
{
    const TStatesCase& c = GetParam();
    const TProjectStates states = IntToStates(c.Value);
    EXPECT_EQ(states.Contains(psEnabled), c.Enabled);
    EXPECT_EQ(states.Contains(psWin32), c.Win32);
    EXPECT_EQ(states.Contains(psWin64), c.Win64);
    EXPECT_EQ(StatesToInt(states), c.Mask);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, ProjectStatesTest,
    testing::Values(TStatesCase{0, false, false, false, 0}, TStatesCase{1, true, false, false, 1},
                    TStatesCase{2, false, true, false, 2}, TStatesCase{4, false, false, true, 4},
                    TStatesCase{5, true, false, true, 5}, TStatesCase{7, true, true, true, 7},
                    TStatesCase{8, false, false, false, 0}, TStatesCase{263, true, true, true, 7},
                    TStatesCase{-1, true, true, true, 7},
                    TStatesCase{qint64(1) << 40 | 2, false, true, false, 2}));

TEST(ProjectStates, SetLiteralGivesBitMask)
{
    EXPECT_EQ(StatesToInt({psEnabled, psWin64}), 5);
    EXPECT_EQ(StatesToInt({}), 0);
    EXPECT_EQ(StatesToInt({psWin32, psWin32}), 2);
    EXPECT_EQ(sizeof(TProjectStates), 1u);
    for (int mask = 0; mask < 8; ++mask)
        EXPECT_EQ(StatesToInt(IntToStates(mask)), mask);
}

} // namespace
