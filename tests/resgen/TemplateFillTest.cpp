#include "resgen/TemplateFill.h"

#include <gtest/gtest.h>

#include <ostream>

// Shows texts readably in failure messages.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toUtf8().replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// ---- SubstitutePlaceholder -------------------------------------------------

struct TSubstituteCase {
    const char* Name;
    const char* Text;
    const char* Placeholder;
    const char* Value;
    const char* Expected;
};

void PrintTo(const TSubstituteCase& c, std::ostream* os)
{
    *os << c.Name;
}

class SubstitutePlaceholderTest : public testing::TestWithParam<TSubstituteCase>
{
};

TEST_P(SubstitutePlaceholderTest, ReplacesEveryOccurrence)
{
    const TSubstituteCase& c = GetParam();
    EXPECT_EQ(SubstitutePlaceholder(U(c.Text), U(c.Placeholder), U(c.Value)), U(c.Expected));
}

const TSubstituteCase SubstituteCases[] = {
    {"Plain", "a $fvMajor b", "fvMajor", "7", "a 7 b"},
    {"LowerCaseInTemplate", "a $fvmajor b", "fvMajor", "7", "a 7 b"},
    {"UpperCaseInTemplate", "$FVMAJOR", "fvMajor", "7", "7"},
    {"NoWordBoundary", "$fvMajorX", "fvMajor", "7", "7X"},
    {"EveryOccurrence", "$fvMajor.$fvMajor,$FvMajor", "fvMajor", "12", "12.12,12"},
    {"OtherNameStays", "$Version $fvMinor", "fvMajor", "7", "$Version $fvMinor"},
    {"DollarBefore", "$$fvMajor", "fvMajor", "7", "$7"},
    {"ValueHoldingItselfNotSearchedAgain", "<$Company>", "Company", "x$Company", "<x$Company>"},
    // The value and the text after it form the placeholder again; the search
    // goes on after the value, so it stays.
    {"SearchGoesOnAfterValue", "$Companyany", "Company", "$Comp", "$Company"},
    {"EmptyValue", "a$Authorb", "Author", "", "ab"},
    {"NonAsciiBefore", "Größe $fvMajor", "fvMajor", "7", "Größe 7"},
    // Full upper-casing turns the ligature into two letters and would move
    // every position after it.
    {"LigatureBefore", "\xEF\xAC\x80 $fvMajor.", "fvMajor", "7", "\xEF\xAC\x80 7."},
    {"NotFound", "nothing here", "fvMajor", "7", "nothing here"},
    {"EmptyText", "", "fvMajor", "7", ""},
    {"MultiLine", "$Product\r\n$product\r\n", "Product", "P", "P\r\nP\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SubstitutePlaceholderTest, testing::ValuesIn(SubstituteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- NormaliseLineBreaks ---------------------------------------------------

struct TNormaliseCase {
    const char* Name;
    const char* Text;
    const char* Expected;
};

void PrintTo(const TNormaliseCase& c, std::ostream* os)
{
    *os << c.Name;
}

class NormaliseLineBreaksTest : public testing::TestWithParam<TNormaliseCase>
{
};

TEST_P(NormaliseLineBreaksTest, EndsEveryLineWithCrLf)
{
    const TNormaliseCase& c = GetParam();
    EXPECT_EQ(NormaliseLineBreaks(U(c.Text)), U(c.Expected));
}

const TNormaliseCase NormaliseCases[] = {
    {"Empty", "", ""},
    {"NoBreak", "a", "a\r\n"},
    {"CrLfKept", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"Lf", "a\nb", "a\r\nb\r\n"},
    {"LoneCr", "a\rb\r", "a\r\nb\r\n"},
    {"LfThenCrLf", "a\n\r\nb", "a\r\n\r\nb\r\n"},
    {"LfThenLoneCr", "a\n\rb", "a\r\n\r\nb\r\n"},
    {"OnlyLf", "\n", "\r\n"},
    {"TwoEmptyLines", "\r\n\r\n", "\r\n\r\n"},
    {"TrailingBlanksKept", "a  \nb ", "a  \r\nb \r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, NormaliseLineBreaksTest, testing::ValuesIn(NormaliseCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- EscapeResourceString --------------------------------------------------

struct TEscapeCase {
    const char* Name;
    const char* Text;
    const char* Expected;
};

void PrintTo(const TEscapeCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EscapeResourceStringTest : public testing::TestWithParam<TEscapeCase>
{
};

TEST_P(EscapeResourceStringTest, GivesAsciiResourceStringContents)
{
    const TEscapeCase& c = GetParam();
    const QString escaped = EscapeResourceString(U(c.Text));
    EXPECT_EQ(escaped, U(c.Expected));
    for (const QChar ch : escaped)
        EXPECT_TRUE(ch.unicode() >= 0x20 && ch.unicode() <= 0x7E) << "non-ASCII in output";
}

const TEscapeCase EscapeCases[] = {
    {"Plain", "ACME Ltd.", "ACME Ltd."},
    {"Empty", "", ""},
    {"QuoteDoubled", "say \"hi\"", "say \"\"hi\"\""},
    {"BackslashDoubled", "C:\\dir\\", "C:\\\\dir\\\\"},
    {"Umlauts", "Müller & Söhne", "M\\x00FCller & S\\x00F6hne"},
    {"Copyright", "© 2026", "\\x00A9 2026"},
    {"Euro", "€", "\\x20AC"},
    {"UpperCaseHex", "ÿ", "\\x00FF"},
    {"Tab", "a\tb", "a\\x0009b"},
    {"LineBreak", "a\r\nb", "a\\x000D\\x000Ab"},
    {"Delete", "\x7F", "\\x007F"},
    {"PrintableEnds", " ~", " ~"},
    {"SurrogatePair", "\xF0\x9F\x98\x80", "\\xD83D\\xDE00"},
    {"DollarKept", "$Company", "$Company"},
};

INSTANTIATE_TEST_SUITE_P(Cases, EscapeResourceStringTest, testing::ValuesIn(EscapeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The whole filling -----------------------------------------------------

struct TFillCase {
    const char* Name;
    QStringList Template;
    TProjectData Project;
    TGroupValues Group;
    bool Escape;
    TProjectState Platform;
    const char* Expected;
};

void PrintTo(const TFillCase& c, std::ostream* os)
{
    *os << c.Name;
}

TProjectData Project(qint32 major, qint32 minor, qint32 release, qint32 build,
                     const char* description)
{
    TProjectData d;
    d.FileVersionMajor = major;
    d.FileVersionMinor = minor;
    d.FileVersionRelease = release;
    d.FileVersionBuild = build;
    d.FileDescription = U(description);
    return d;
}

TGroupValues Group(const char* company, const char* copyright = "(c) ACME",
                   const char* product = "Suite", const char* author = "Ann")
{
    TGroupValues g;
    g.ProdMajor = 5;
    g.ProdMinor = 6;
    g.Company = U(company);
    g.Copyright = U(copyright);
    g.Product = U(product);
    g.Author = U(author);
    return g;
}

const QStringList AllPlaceholders{
    QStringLiteral("$fvMajor,$fvMinor,$fvRelease,$fvBuild $pvMajor.$pvMinor"),
    QStringLiteral("D=$Description C=$Company R=$Copyright P=$Product A=$Author X=$Platform")};

class FillTemplateTest : public testing::TestWithParam<TFillCase>
{
};

TEST_P(FillTemplateTest, GivesTheScriptText)
{
    const TFillCase& c = GetParam();
    const QString text =
        FillPlatform(FillTemplate(c.Template, c.Project, c.Group, c.Escape), c.Platform);
    EXPECT_EQ(text, U(c.Expected));
}

const TFillCase FillCases[] = {
    {"EveryPlaceholder", AllPlaceholders, Project(1, 2, 3, 4, "Calculator"), Group("ACME"), false,
     psWin32, "1,2,3,4 5.6\r\nD=Calculator C=ACME R=(c) ACME P=Suite A=Ann X=32-bit\r\n"},
    {"Platform64",
     {QStringLiteral("$Platform|$PLATFORM")},
     Project(1, 0, 0, 0, ""),
     Group("A"),
     false,
     psWin64,
     "64-bit|64-bit\r\n"},
    {"NegativeAndLargeNumbers",
     {QStringLiteral("$fvMajor $fvMinor $fvRelease $fvBuild")},
     Project(-1, 2147483647, -2147483647 - 1, 0, ""),
     Group("A"),
     false,
     psWin32,
     "-1 2147483647 -2147483648 0\r\n"},
    {"LowerCaseAndUnknownPlaceholder",
     {QStringLiteral("$fvmajor $Version $FVBUILD")},
     Project(3, 0, 0, 9, ""),
     Group("A"),
     false,
     psWin32,
     "3 $Version 9\r\n"},
    {"DescriptionGetsCompany",
     {QStringLiteral("$Description")},
     Project(1, 0, 0, 0, "by $Company"),
     Group("ACME"),
     false,
     psWin32,
     "by ACME\r\n"},
    {"DescriptionGetsAuthorAndPlatform",
     {QStringLiteral("$Description")},
     Project(1, 0, 0, 0, "$Author for $Platform"),
     Group("ACME"),
     false,
     psWin64,
     "Ann for 64-bit\r\n"},
    {"CompanyKeepsEarlierPlaceholder",
     {QStringLiteral("$Company")},
     Project(1, 0, 0, 0, ""),
     Group("Build $fvMajor $Description"),
     false,
     psWin32,
     "Build $fvMajor $Description\r\n"},
    {"CopyrightGetsProduct",
     {QStringLiteral("$Copyright")},
     Project(1, 0, 0, 0, ""),
     Group("A", "(c) $Product"),
     false,
     psWin32,
     "(c) Suite\r\n"},
    {"AuthorKeepsCompany",
     {QStringLiteral("$Author")},
     Project(1, 0, 0, 0, ""),
     Group("ACME", "c", "p", "$Company"),
     false,
     psWin32,
     "$Company\r\n"},
    {"LineBreakInDescription",
     {QStringLiteral("<$Description>")},
     Project(1, 0, 0, 0, "one\ntwo\rthree"),
     Group("A"),
     false,
     psWin32,
     "<one\r\ntwo\r\nthree>\r\n"},
    {"LineBreakInAuthor",
     {QStringLiteral("<$Author>"), QStringLiteral("end")},
     Project(1, 0, 0, 0, ""),
     Group("A", "c", "p", "x\ny"),
     false,
     psWin32,
     "<x\r\ny>\r\nend\r\n"},
    {"EmptyTemplate", {}, Project(1, 0, 0, 0, "d"), Group("A"), false, psWin32, ""},
    {"EmptyLinesKept",
     {QString(), QStringLiteral("$fvMajor"), QString()},
     Project(4, 0, 0, 0, ""),
     Group("A"),
     false,
     psWin32,
     "\r\n4\r\n\r\n"},
    {"UnescapedTextAsTyped",
     {QStringLiteral("$Company|$Copyright")},
     Project(1, 0, 0, 0, ""),
     Group("Müller \"&\" Söhne", "© C:\\x"),
     false,
     psWin32,
     "Müller \"\"&\"\" Söhne|© C:\\x\r\n"},
    // A quote cannot end the string and add a value of its own.
    {"UnescapedQuoteCannotInject",
     {QStringLiteral("VALUE \"FileDescription\", \"$Description\\0\"")},
     Project(1, 0, 0, 0, "Legit\\0\" VALUE \"OriginalFilename\", L\"evil.exe"),
     Group("A"),
     false,
     psWin32,
     "VALUE \"FileDescription\", \"Legit\\0\"\" VALUE \"\"OriginalFilename\"\", "
     "L\"\"evil.exe\\0\"\r\n"},
    {"EscapedTextValues", AllPlaceholders, Project(1, 2, 3, 4, "Tool \"€\""),
     Group("Müller & Söhne", "© 2026", "Pro\\Suite", "Zoë"), true, psWin32,
     "1,2,3,4 5.6\r\nD=Tool \"\"\\x20AC\"\" C=M\\x00FCller & S\\x00F6hne R=\\x00A9 2026 "
     "P=Pro\\\\Suite A=Zo\\x00EB X=32-bit\r\n"},
    {"EscapedLineBreakStaysInLine",
     {QStringLiteral("\"$Description\"")},
     Project(1, 0, 0, 0, "a\nb"),
     Group("A"),
     true,
     psWin32,
     "\"a\\x000Ab\"\r\n"},
    {"EscapedDescriptionGetsEscapedCompany",
     {QStringLiteral("$Description")},
     Project(1, 0, 0, 0, "ö $Company"),
     Group("Ä"),
     true,
     psWin32,
     "\\x00F6 \\x00C4\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FillTemplateTest, testing::ValuesIn(FillCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
