#include "project/GroupFile.h"
#include "project/TestPrinters.h"

#include <gtest/gtest.h>

namespace
{

struct TEntryCase {
    const char* Name;
    QString Line;
    QStringList Entries; // what the line contributes to the project list
};

class ProjectEntryTest : public testing::TestWithParam<TEntryCase>
{
};

TEST_P(ProjectEntryTest, LineGivesEntries)
{
    const TEntryCase& c = GetParam();
    EXPECT_EQ(ReadProjectEntries({c.Line}), c.Entries);
}

const QString Pan = QStringLiteral("General\\Pan &amp; Zoom\\PanAndZoom.dproj");

// clang-format off
INSTANTIATE_TEST_SUITE_P(GroupFile, ProjectEntryTest,
    testing::Values(
        TEntryCase{"Plain", "<Projects Include=\"App.dproj\">", {"App.dproj"}},
        TEntryCase{"LeadingBlanks", "        <Projects Include=\"App.dproj\">", {"App.dproj"}},
        TEntryCase{"LeadingTabs", "\t\t<Projects Include=\"App.dproj\">", {"App.dproj"}},
        TEntryCase{"BlankBeforeEquals", "<Projects Include =\"App.dproj\">", {}},
        TEntryCase{"SelfClosing", "    <Projects Include=\"App.dproj\"/>", {"App.dproj"}},
        TEntryCase{"SelfClosingWithBlank", "<Projects Include=\"App.dproj\" />", {"App.dproj"}},
        TEntryCase{"SubFolder", "<Projects Include=\"sub\\Lib.dproj\">", {"sub\\Lib.dproj"}},
        TEntryCase{"UpperCase", "<PROJECTS INCLUDE=\"App.dproj\">", {"App.dproj"}},
        TEntryCase{"LowerCase", "<projects include=\"App.dproj\">", {"App.dproj"}},
        TEntryCase{"SingleQuotesKept", "<Projects Include='App.dproj'>", {"'App.dproj'"}},
        TEntryCase{"BlankBeforeClose", "<Projects Include=\"App.dproj\"   >", {"App.dproj"}},
        TEntryCase{"CloseOnNextLine", "<Projects Include=\"App.dproj\"", {}},
        TEntryCase{"EmptyQuoted", "<Projects Include=\"\">", {}},
        TEntryCase{"EmptyBare", "<Projects Include=>", {}},
        TEntryCase{"Unquoted", "<Projects Include=App.dproj>", {"App.dproj"}},
        TEntryCase{"DoubledQuote", "<Projects Include=\"a\"\"b.dproj\">", {"a\"b.dproj"}},
        TEntryCase{"MissingClosingQuote", "<Projects Include=\"App.dproj>", {"\"App.dproj"}},
        // The entry ends at the first ">" even inside the quotes.
        TEntryCase{"GreaterInsideName", "<Projects Include=\"A>B.dproj\">", {"\"A"}},
        TEntryCase{"MoreOnLine", "  <Projects Include=\"App.dproj\"><Dependencies/>", {"App.dproj"}},
        TEntryCase{"TextBeforeTag", "x <Projects Include=\"App.dproj\">", {}},
        TEntryCase{"Comment", "<!-- <Projects Include=\"App.dproj\"> -->", {}},
        TEntryCase{"BuildGroupProject", "<BuildGroupProject Include=\"App.dproj\">", {}},
        TEntryCase{"ReferenceKeptAsWritten", "<Projects Include=\"" + Pan + "\">", {Pan}},
        TEntryCase{"EmptyLine", "", {}}),
    [](const testing::TestParamInfo<TEntryCase>& info) { return std::string(info.param.Name); });
// clang-format on

struct TQuoteCase {
    const char* Name;
    QString Text;
    QString Expected;
};

class RemoveDoubleQuotesTest : public testing::TestWithParam<TQuoteCase>
{
};

TEST_P(RemoveDoubleQuotesTest, Removes)
{
    EXPECT_EQ(RemoveDoubleQuotes(GetParam().Text), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(GroupFile, RemoveDoubleQuotesTest,
    testing::Values(
        TQuoteCase{"NotQuoted", "App.dproj", "App.dproj"},
        TQuoteCase{"QuoteInside", "x\"App\"", "x\"App\""},
        TQuoteCase{"Quoted", "\"App.dproj\"", "App.dproj"},
        TQuoteCase{"TextAfterClosingQuote", "\"App.dproj\"/", "App.dproj"},
        TQuoteCase{"BlankAfterClosingQuote", "\"App.dproj\" ", "App.dproj"},
        TQuoteCase{"Doubled", "\"a\"\"b\"", "a\"b"},
        TQuoteCase{"OnlyDoubled", "\"\"\"\"", "\""},
        TQuoteCase{"MissingClosing", "\"App.dproj", "\"App.dproj"},
        TQuoteCase{"MissingClosingEndsWithDoubled", "\"ab\"\"", "ab\""},
        TQuoteCase{"EmptyQuoted", "\"\"", ""},
        TQuoteCase{"EmptyQuotedThenText", "\"\"/", "\"\"/"},
        TQuoteCase{"LoneQuote", "\"", ""},
        TQuoteCase{"SingleQuotes", "'App.dproj'", "'App.dproj'"},
        TQuoteCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<TQuoteCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(ReadProjectEntries, KeepsFileOrderAndDuplicates)
{
    const QStringList lines{"<Project>",
                            "  <ItemGroup>",
                            "    <Projects Include=\"B.dproj\">",
                            "      <Dependencies/>",
                            "    </Projects>",
                            "    <Projects Include=\"A.dproj\"/>",
                            "    <Projects Include=\"\">",
                            "    <Projects Include=\"B.dproj\">",
                            "  </ItemGroup>",
                            "</Project>"};
    EXPECT_EQ(ReadProjectEntries(lines), (QStringList{"B.dproj", "A.dproj", "B.dproj"}));
}

struct THistoryCase {
    const char* Name;
    QStringList History;
    QString FileName;
    QStringList Expected;
};

class AddToHistoryTest : public testing::TestWithParam<THistoryCase>
{
};

TEST_P(AddToHistoryTest, PutsAtTop)
{
    QStringList history = GetParam().History;
    AddToHistory(history, GetParam().FileName);
    EXPECT_EQ(history, GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(GroupFile, AddToHistoryTest,
    testing::Values(
        THistoryCase{"Empty", {}, "/w/G.groupproj", {"/w/G.groupproj"}},
        THistoryCase{"New", {"/w/A.groupproj", "/w/B.groupproj"}, "/w/C.groupproj", {"/w/C.groupproj", "/w/A.groupproj", "/w/B.groupproj"}},
        THistoryCase{"MovesToTop", {"/w/A.groupproj", "/w/B.groupproj", "/w/C.groupproj"}, "/w/B.groupproj", {"/w/B.groupproj", "/w/A.groupproj", "/w/C.groupproj"}},
        THistoryCase{"AlreadyTop", {"/w/A.groupproj"}, "/w/A.groupproj", {"/w/A.groupproj"}},
        // The new path's letter case replaces the old entry's.
        THistoryCase{"OtherCase", {"/x/A.groupproj", "/w/Group.groupproj"}, "/W/GROUP.groupproj", {"/W/GROUP.groupproj", "/x/A.groupproj"}},
        THistoryCase{"UmlautCase", {"/w/grün.groupproj"}, "/w/GRÜN.groupproj", {"/w/GRÜN.groupproj"}}),
    [](const testing::TestParamInfo<THistoryCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
