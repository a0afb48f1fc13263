#include "support/TextHelpers.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{

// ---- ReadNextInt: a text read field by field -------------------------------

struct TStep {
    qint64 Value;
    bool Error; // the flag after this call; it is never reset between calls
    QString Rest;
};

struct TReadCase {
    QString Text;
    QByteArray Separators;
    qint64 Def;
    std::vector<TStep> Steps;
};

void PrintTo(const TReadCase& c, std::ostream* os)
{
    *os << "\"" << CaseText(c.Text) << "\" separators \"" << c.Separators.toStdString()
        << "\" default " << c.Def;
}

constexpr qint64 Max64 = std::numeric_limits<qint64>::max();
constexpr qint64 Min64 = std::numeric_limits<qint64>::min();

std::vector<TReadCase> ReadCases()
{
    return {
        {"1.0.4.0",
         ".",
         1,
         {{1, false, "0.4.0"}, {0, false, "4.0"}, {4, false, "0"}, {0, false, ""}, {1, false, ""}}},
        {"2.3", ".", 1, {{2, false, "3"}, {3, false, ""}, {1, false, ""}, {1, false, ""}}},
        {"1..3", ".", 1, {{1, false, ".3"}, {1, true, "3"}, {3, true, ""}}},
        {"12 .5", ".", 1, {{1, true, "5"}, {5, true, ""}}},
        {"  \t7", ".", 1, {{7, false, ""}}},
        {" 7. 8", ".", 1, {{7, false, " 8"}, {8, false, ""}}},
        {"7 ", ".", -1, {{-1, true, ""}}},
        {"abc", ".", 42, {{42, true, ""}}},
        {"abc.4", ".", 42, {{42, true, "4"}, {4, true, ""}}},
        {"   ", ".", 9, {{9, false, ""}}},
        {"$1F", ".", 1, {{31, false, ""}}},
        {"x1f.X10", ".", 1, {{31, false, "X10"}, {16, false, ""}}},
        {"0x10.0Xff", ".", 1, {{16, false, "0Xff"}, {255, false, ""}}},
        {"-5.+5.-$10", ".", 1, {{-5, false, "+5.-$10"}, {5, false, "-$10"}, {-16, false, ""}}},
        {"9223372036854775807", ".", 1, {{Max64, false, ""}}},
        {"9223372036854775808", ".", 1, {{1, true, ""}}},
        {"-9223372036854775808", ".", 1, {{Min64, false, ""}}},
        {"-9223372036854775809", ".", 1, {{1, true, ""}}},
        {"$7FFFFFFFFFFFFFFF", ".", 1, {{Max64, false, ""}}},
        {"0x8000000000000000", ".", 1, {{1, true, ""}}},
        {"99999999999999999999999", ".", 1, {{1, true, ""}}},
        {"0x.$.-.+-1",
         ".",
         3,
         {{3, true, "$.-.+-1"}, {3, true, "-.+-1"}, {3, true, "+-1"}, {3, true, ""}}},
        {"0x1G", ".", 3, {{3, true, ""}}},
        {QString::fromUtf8("\u0661"), ".", 3, {{3, true, ""}}},
        {"1,2;3", ",;", 1, {{1, false, "2;3"}, {2, false, "3"}, {3, false, ""}}},
        {"1.2-3", ".", 1, {{1, false, "2-3"}, {1, true, ""}}},
    };
}

class ReadNextIntTest : public testing::TestWithParam<TReadCase>
{
};

TEST_P(ReadNextIntTest, ReadsFieldByField)
{
    const TReadCase& c = GetParam();
    QString text = c.Text;
    bool error = false;
    for (size_t i = 0; i < c.Steps.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "call " << i + 1);
        EXPECT_EQ(ReadNextInt(text, c.Separators, error, c.Def), c.Steps[i].Value);
        EXPECT_EQ(error, c.Steps[i].Error);
        EXPECT_EQ(text, c.Steps[i].Rest);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, ReadNextIntTest, testing::ValuesIn(ReadCases()));

TEST(ReadNextIntEntryPoints, ShareOneBody)
{
    QString text = "8.x.9";
    bool error = false;
    EXPECT_EQ(ReadNextInt(text, '.', error, 1), 8);
    EXPECT_EQ(ReadNextInt(text, '.', error, 1), 1);
    EXPECT_TRUE(error);
    EXPECT_EQ(ReadNextInt(text, '.', 5), 9);
    EXPECT_EQ(ReadNextInt(text, '.', 5), 5);
    EXPECT_TRUE(text.isEmpty());
}

// ---- TextPos / TextPosFrom ---------------------------------------------------

struct TPosCase {
    QString Sub;
    QString Text;
    int Offset; // 0: TextPos
    int Expected;
};

void PrintTo(const TPosCase& c, std::ostream* os)
{
    *os << "\"" << CaseText(c.Sub) << "\" in \"" << CaseText(c.Text) << "\" from " << c.Offset;
}

class TextPosTest : public testing::TestWithParam<TPosCase>
{
};

TEST_P(TextPosTest, FindsWithoutRegardToCase)
{
    const TPosCase& c = GetParam();
    const int pos = c.Offset == 0 ? TextPos(c.Sub, c.Text) : TextPosFrom(c.Sub, c.Text, c.Offset);
    EXPECT_EQ(pos, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TextPosTest,
    testing::Values(TPosCase{"b", "ABC", 0, 2}, TPosCase{"", "ABC", 0, 0}, TPosCase{"a", "", 0, 0},
                    TPosCase{"abcd", "ABC", 0, 0}, TPosCase{"VERINFO_KEYS", "<VerInfo_Keys>", 0, 2},
                    // "ß" has no one-character upper case: positions after it must not shift
                    TPosCase{"x", QString::fromUtf8("ßx"), 0, 2},
                    TPosCase{"SS", QString::fromUtf8("straße"), 0, 0},
                    TPosCase{QString::fromUtf8("äb"), QString::fromUtf8("ßÄB"), 0, 2},
                    TPosCase{QString::fromUtf8("ﬁ"), QString::fromUtf8("aﬁb"), 0, 2},
                    TPosCase{"a", "banana", 3, 4}, TPosCase{"a", "banana", 6, 6},
                    TPosCase{"a", "banana", 7, 0}, TPosCase{"AN", "banana", 1, 2},
                    TPosCase{"x", QString::fromUtf8("ßßx"), 2, 3}, TPosCase{"", "banana", 2, 0}));

// ---- ZeroPaddedInt -----------------------------------------------------------

struct TPadCase {
    qint64 Value;
    int Width;
    const char* Expected;
};

void PrintTo(const TPadCase& c, std::ostream* os)
{
    *os << c.Value << " width " << c.Width;
}

class ZeroPaddedIntTest : public testing::TestWithParam<TPadCase>
{
};

TEST_P(ZeroPaddedIntTest, PadsToWidth)
{
    EXPECT_EQ(ZeroPaddedInt(GetParam().Value, GetParam().Width), QString(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Widths, ZeroPaddedIntTest,
                         testing::Values(TPadCase{7, 2, "07"}, TPadCase{123, 2, "123"},
                                         TPadCase{0, 2, "00"}, TPadCase{1, 2, "01"},
                                         TPadCase{0, 0, "0"}, TPadCase{5, 0, "5"},
                                         TPadCase{-7, 3, "-007"}, TPadCase{42, 5, "00042"},
                                         TPadCase{Min64, 2, "-9223372036854775808"}));

// ---- FormatText ----------------------------------------------------------------

struct TFormatCase {
    const char* Format;
    QStringList Args;
    const char* Expected;
};

void PrintTo(const TFormatCase& c, std::ostream* os)
{
    *os << CaseText(c.Format);
}

class FormatTextTest : public testing::TestWithParam<TFormatCase>
{
};

TEST_P(FormatTextTest, FillsEachPlaceholderOnce)
{
    EXPECT_EQ(FormatText(GetParam().Format, GetParam().Args), QString(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Messages, FormatTextTest,
                         testing::Values(TFormatCase{"Cannot open file \"%s\". %s",
                                                     {"a.txt", "Not found"},
                                                     "Cannot open file \"a.txt\". Not found"},
                                         TFormatCase{"Unable to write to %s",
                                                     {"C:\\100%s.ini"},
                                                     "Unable to write to C:\\100%s.ini"},
                                         TFormatCase{"%s=%s", {"k"}, "k="},
                                         TFormatCase{"100%% %d %", {}, "100% %d %"}));

} // namespace
