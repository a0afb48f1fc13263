#include "resgen/PlaceholderCaret.h"
#include "resgen/Placeholders.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{

// A text with its lines separated by "\n" and the caret marked by "|".
struct TCaretText {
    QStringList Lines;
    int Line = 0;
    int Column = 0;
};

TCaretText ParseCaretText(const char* marked)
{
    TCaretText result;
    const QStringList lines = QString::fromUtf8(marked).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        const int bar = int(line.indexOf(QLatin1Char('|')));
        if (bar >= 0) {
            result.Line = i + 1;
            result.Column = bar + 1;
            line.remove(bar, 1);
        }
        result.Lines << line;
    }
    return result;
}

struct TRowCase {
    const char* Name;
    const char* Text;     // lines separated by "\n", caret at "|"
    int ColumnOverride;   // when not 0, the caret's column (in the marked line)
    const char* Expected; // description of the row selected, nullptr: no change
};

std::ostream& operator<<(std::ostream& os, const TRowCase& c)
{
    return os << c.Name;
}

class PlaceholderRowAtCaretTest : public ::testing::TestWithParam<TRowCase>
{
};

TEST_P(PlaceholderRowAtCaretTest, SelectsTheRowOfThePlaceholderAtTheCaret)
{
    const TRowCase& c = GetParam();
    const TCaretText text = ParseCaretText(c.Text);
    ASSERT_GT(text.Line, 0) << "the case has no caret mark";
    const int column = c.ColumnOverride != 0 ? c.ColumnOverride : text.Column;

    const int row = PlaceholderRowAtCaret(text.Lines, text.Line, column);

    if (c.Expected == nullptr) {
        EXPECT_EQ(row, -1);
    } else {
        ASSERT_GE(row, 0);
        ASSERT_LT(row, PlaceholderCount);
        EXPECT_STREQ(Placeholders[row].rp, c.Expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Caret, PlaceholderRowAtCaretTest,
    ::testing::Values(
        TRowCase{"BehindDollar", "FILEVERSION $fvMajor,$fvMinor,$fvRelease,$|fvBuild", 0, "Build"},
        TRowCase{"InsideName", "FILEVERSION $fvMajor,$fvMinor,$fvRelease,$fvBu|ild", 0, "Build"},
        TRowCase{"InFrontOfLastChar", "FILEVERSION $fvMajor,$fvMinor,$fvRelease,$fvBuil|d", 0,
                 "Build"},
        TRowCase{"BehindLastCharAtLineEnd", "FILEVERSION $fvMajor,$fvMinor,$fvRelease,$fvBuild|", 0,
                 nullptr},
        TRowCase{"BehindLastCharBeforeQuote", "VALUE \"FileVersion\", \"$fvBuild|\\0\"", 0,
                 nullptr},
        TRowCase{"InFrontOfDollar", "FILEVERSION $fvMajor,$fvMinor,$fvRelease,|$fvBuild", 0,
                 nullptr},
        TRowCase{"FirstOfSeveral", "FILEVERSION $fv|Major,$fvMinor,$fvRelease,$fvBuild", 0,
                 "Major version"},
        TRowCase{"BehindCommaOfPrevious", "FILEVERSION $fvMajor,$|fvMinor,$fvRelease", 0,
                 "Minor version"},
        TRowCase{"UpperCaseName", "VALUE \"CompanyName\", \"$COM|PANY\\0\"", 0, "Company"},
        TRowCase{"LowerCaseName", "VALUE \"Platform\", \"$plat|form\"", 0, "Platform"},
        TRowCase{"NameWithDigit", "FILEVERSION $fvMa|jor2,0,0,0", 0, nullptr},
        TRowCase{"UnknownName", "VALUE \"FileVersion\", \"$Ver|sion\"", 0, nullptr},
        TRowCase{"NameWithoutDollar", "PRODUCTVERSION fvMi|nor", 0, nullptr},
        TRowCase{"NameWithoutDollarAfterBlank", "$ fvMi|nor", 0, nullptr},
        TRowCase{"NameAfterOtherBreak", "#fvMi|nor", 0, nullptr},
        TRowCase{"StartOfTextInsideName", "$Prod|uct", 0, "Product name"},
        TRowCase{"StartOfTextBehindDollar", "$|Product and more", 0, "Product name"},
        TRowCase{"StartOfTextInFrontOfDollar", "|$Product", 0, nullptr},
        TRowCase{"NameWithoutDollarAtStartOfText", "Pro|duct", 0, nullptr},
        TRowCase{"AdjacentPlaceholders", "$fvMajor$fvMi|nor", 0, "Minor version"},
        TRowCase{"UnderscoreIsWordChar", "$fv_Bu|ild", 0, nullptr},
        TRowCase{"UmlautIsWordChar", "$fvBu|ild\xC3\xA4", 0, nullptr},
        TRowCase{"DegreeSignBreaksWord", "$fvBu|ild\xC2\xB0", 0, "Build"},
        TRowCase{"AcuteAccentBreaksWord", "\xC2\xB4$Auth|or", 0, "Author"},
        // Later lines: the "$" is found through the index in the whole text,
        // which counts two characters (CR LF) per line break.
        TRowCase{"ThirdLine",
                 "1 VERSIONINFO\nBEGIN\n  VALUE \"ProductVersion\", \"$pvMajor.$pv|Minor\\0\"", 0,
                 "Minor product version"},
        TRowCase{"SecondLineFirstColumn", "BEGIN\n$Desc|ription", 0, "Description"},
        TRowCase{"SecondLineBehindDollar", "BEGIN\nx$|Copyright", 0, "Copyright"},
        TRowCase{"DollarAtEndOfPreviousLine", "VALUE $\nfvMi|nor", 0, nullptr},
        TRowCase{"EmptyLinesBefore", "\n\n\nA $fvRel|ease", 0, "Release"},
        TRowCase{"ColumnBeyondLineEnd", "x $fvBuild|", 40, nullptr},
        TRowCase{"ColumnBeyondEndOfInnerLine", "$fvBuild|\n$fvMajor", 99, nullptr},
        TRowCase{"EmptyText", "|", 0, nullptr}),
    [](const ::testing::TestParamInfo<TRowCase>& info) { return std::string(info.param.Name); });

TEST(PlaceholderRowAtCaretTest, EveryNameIsFoundBehindItsDollar)
{
    // Each row is reachable: a template naming all of them selects each one.
    for (int row = 0; row < PlaceholderCount; ++row) {
        const QStringList lines = {
            QStringLiteral("x"),
            QStringLiteral("  \"$%1\"").arg(QLatin1String(Placeholders[row].ph))};
        EXPECT_EQ(PlaceholderRowAtCaret(lines, 2, 5), row) << Placeholders[row].ph;
    }
}

struct TWordCharCase {
    char16_t Code;
    bool Expected;
};

std::ostream& operator<<(std::ostream& os, const TWordCharCase& c)
{
    return os << "code " << int(c.Code);
}

class IsWordCharTest : public ::testing::TestWithParam<TWordCharCase>
{
};

TEST_P(IsWordCharTest, ClassesByCode)
{
    EXPECT_EQ(IsWordChar(QChar(GetParam().Code)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, IsWordCharTest,
    ::testing::Values(TWordCharCase{0, false}, TWordCharCase{32, false}, TWordCharCase{'$', false},
                      TWordCharCase{47, false}, TWordCharCase{'0', true}, TWordCharCase{'9', true},
                      TWordCharCase{58, false}, TWordCharCase{64, false}, TWordCharCase{'A', true},
                      TWordCharCase{'Z', true}, TWordCharCase{91, false}, TWordCharCase{94, false},
                      TWordCharCase{'_', true}, TWordCharCase{96, false}, TWordCharCase{'a', true},
                      TWordCharCase{'z', true}, TWordCharCase{123, false},
                      TWordCharCase{126, false}, TWordCharCase{127, true}, TWordCharCase{166, true},
                      TWordCharCase{167, false}, TWordCharCase{168, true}, TWordCharCase{175, true},
                      TWordCharCase{176, false}, TWordCharCase{177, true},
                      TWordCharCase{180, false}, TWordCharCase{181, true},
                      TWordCharCase{0x00E4, true}, TWordCharCase{0x20AC, true}));

struct TPositionCase {
    const char* Name;
    int Line;
    int Column;
    int Expected;
};

std::ostream& operator<<(std::ostream& os, const TPositionCase& c)
{
    return os << c.Name;
}

class CharIndexOfPositionTest : public ::testing::TestWithParam<TPositionCase>
{
};

TEST_P(CharIndexOfPositionTest, CountsTwoPerLineBreak)
{
    const QStringList lines = {QStringLiteral("abc"), QString(), QStringLiteral("de"),
                               QStringLiteral("f")};
    const TPositionCase& c = GetParam();
    const int index = CharIndexOfPosition(lines, c.Line, c.Column);
    EXPECT_EQ(index, c.Expected);
    // The index addresses the same character in the whole text.
    const QString whole = WholeText(lines);
    const QString line = lines[c.Line - 1];
    if (c.Column <= line.size()) {
        EXPECT_EQ(whole[index], line[c.Column - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, CharIndexOfPositionTest,
                         ::testing::Values(TPositionCase{"TextStart", 1, 1, 0},
                                           TPositionCase{"FirstLineEnd", 1, 4, 3},
                                           TPositionCase{"EmptySecondLine", 2, 1, 5},
                                           TPositionCase{"ThirdLine", 3, 2, 8},
                                           TPositionCase{"LastLineStart", 4, 1, 11},
                                           TPositionCase{"TextEnd", 4, 2, 12}),
                         [](const ::testing::TestParamInfo<TPositionCase>& info) {
                             return std::string(info.param.Name);
                         });

struct TWordCase {
    const char* Name;
    const char* Text;   // one line, caret at "|"
    int ColumnOverride; // when not 0, the caret's column
    int ExpectedStart;  // word start column
    const char* ExpectedWord;
};

std::ostream& operator<<(std::ostream& os, const TWordCase& c)
{
    return os << c.Name;
}

class WordAtCaretTest : public ::testing::TestWithParam<TWordCase>
{
};

TEST_P(WordAtCaretTest, FindsStartAndWord)
{
    const TWordCase& c = GetParam();
    const TCaretText text = ParseCaretText(c.Text);
    const int column = c.ColumnOverride != 0 ? c.ColumnOverride : text.Column;
    EXPECT_EQ(WordStartColumn(text.Lines, text.Line, column), c.ExpectedStart);
    EXPECT_EQ(WordAtCaret(text.Lines, text.Line, column), QString::fromUtf8(c.ExpectedWord));
}

INSTANTIATE_TEST_SUITE_P(
    Words, WordAtCaretTest,
    ::testing::Values(TWordCase{"InsideWord", "ab $fv|Build, x", 0, 5, "fvBuild"},
                      TWordCase{"AtWordStart", "ab $|fvBuild, x", 0, 5, "fvBuild"},
                      TWordCase{"BehindWord", "ab $fvBuild|, x", 0, 5, ""},
                      TWordCase{"WordAtLineStart", "abc|def", 0, 1, "abcdef"},
                      TWordCase{"OnBlank", "ab | x", 0, 4, ""},
                      TWordCase{"BeyondLineEnd", "ab $fvBuild|", 30, 5, ""},
                      TWordCase{"ColumnBelowOne", "|abc", -3, 1, "abc"},
                      TWordCase{"NonAsciiLetters", "$\xC3\xA4\xC3\xB6|x\xC2\xB0", 0, 2,
                                "\xC3\xA4\xC3\xB6x"}),
    [](const ::testing::TestParamInfo<TWordCase>& info) { return std::string(info.param.Name); });

} // namespace
