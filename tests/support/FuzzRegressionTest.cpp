// Inputs the fuzz targets found mishandled, kept as cases once fixed.

#include "support/CodePage.h"
#include "support/IniFile.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include "QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

QString Units(std::initializer_list<char16_t> units)
{
    QString text;
    for (const char16_t u : units)
        text.append(QChar(u));
    return text;
}

// ---- A lone surrogate is one unrepresentable character ----------------------

struct TSurrogateCase {
    const char* Name;
    QString Text;
    int CodePage;
    QByteArray Expected;
};

void PrintTo(const TSurrogateCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EncodeLoneSurrogateTest : public testing::TestWithParam<TSurrogateCase>
{
};

// The character after a lone high surrogate was dropped with it.
TEST_P(EncodeLoneSurrogateTest, KeepsTheCharacterAfterIt)
{
    const TSurrogateCase& c = GetParam();
    bool lossless = true;
    EXPECT_EQ(EncodeCodePage(c.Text, c.CodePage, &lossless), c.Expected);
    EXPECT_FALSE(lossless);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeLoneSurrogateTest,
    testing::Values(
        TSurrogateCase{"HighBeforeLetters1252", Units({0xD800, u'A', u'B'}), cpWindows1252, "?AB"},
        TSurrogateCase{"HighBeforeLetters850", Units({u'x', 0xDBFF, u'y'}), cpOem850, "x?y"},
        TSurrogateCase{"HighBeforeUmlaut850", Units({0xD800, 0x00FC}), cpOem850, "?\x81"},
        TSurrogateCase{"LowAlone", Units({u'x', 0xDC00, u'y'}), cpWindows1252, "x?y"},
        TSurrogateCase{"HighAtEnd", Units({u'a', 0xD800}), cpWindows1252, "a?"},
        TSurrogateCase{"HighBeforePair", Units({0xD800, 0xD83D, 0xDE00, u'z'}), cpWindows1252,
                       "??z"},
        TSurrogateCase{"PairIsOneCharacter", Units({0xD83D, 0xDE00, u'z'}), cpOem850, "?z"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- A high surrogate at the end is not held back --------------------------

struct TTrailingCase {
    const char* Name;
    QStringList Lines;
    bool FinalLineBreak;
    QByteArray Expected;
};

void PrintTo(const TTrailingCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EncodeTrailingSurrogateTest : public testing::TestWithParam<TTrailingCase>
{
};

// The UTF-8 encoder kept a high surrogate at the very end for a next call,
// so it vanished from the file while the encoding counted as lossless.
TEST_P(EncodeTrailingSurrogateTest, MarksItAndReportsTheLoss)
{
    const TTrailingCase& c = GetParam();
    TTextFormat format;
    format.Encoding = TTextEncoding::Utf8;
    format.LineBreak = TLineBreak::Lf;
    format.FinalLineBreak = c.FinalLineBreak;
    bool lossless = true;
    EXPECT_EQ(EncodeText(c.Lines, format, &lossless), c.Expected);
    EXPECT_FALSE(lossless);
    lossless = true;
    EXPECT_EQ(EncodeCodePage(c.Lines.join(u'\n'), cpUtf8, &lossless),
              c.Expected.left(c.Expected.size() - (c.FinalLineBreak ? 1 : 0)));
    EXPECT_FALSE(lossless);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeTrailingSurrogateTest,
    testing::Values(
        TTrailingCase{"AtTheEnd", {Units({u'a', 0xD800})}, false, "a\xEF\xBF\xBD"},
        TTrailingCase{"BeforeTheFinalBreak", {Units({u'a', 0xDBFF})}, true, "a\xEF\xBF\xBD\n"},
        TTrailingCase{"LastOfTwoLines", {"x", Units({0xD83D})}, false, "x\n\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- A U+FEFF behind the byte-order mark is text ----------------------------

struct TMarkCase {
    const char* Name;
    QByteArray Bytes;
    QStringList Lines;
};

void PrintTo(const TMarkCase& c, std::ostream* os)
{
    *os << c.Name;
}

class DecodeSecondMarkTest : public testing::TestWithParam<TMarkCase>
{
};

// A UTF-8 file beginning with two marks lost the second one, so that writing
// it back changed it.
TEST_P(DecodeSecondMarkTest, KeepsItAndWritesTheSameBytes)
{
    const TMarkCase& c = GetParam();
    const TTextContent content = DecodeText(c.Bytes);
    EXPECT_EQ(content.Lines, c.Lines);
    EXPECT_EQ(EncodeText(content), c.Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeSecondMarkTest,
    testing::Values(
        TMarkCase{"Utf8TwoMarks", "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n", {Units({0xFEFF, u'x'})}},
        TMarkCase{"Utf8MarkOnly", "\xEF\xBB\xBF\xEF\xBB\xBF", {Units({0xFEFF})}},
        TMarkCase{"Utf16TwoMarks", QByteArray("\xFF\xFE\xFF\xFEy\0", 6), {Units({0xFEFF, u'y'})}}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- An ANSI settings file written back must read back ----------------------

struct TAnsiCase {
    const char* Name;
    QByteArray Before;
    const char* Key;
    const char* Value; // UTF-8
    QByteArray After;
};

void PrintTo(const TAnsiCase& c, std::ostream* os)
{
    *os << c.Name;
}

class AnsiIniRewriteTest : public testing::TestWithParam<TAnsiCase>
{
};

// Outside Windows a file without a mark reads as UTF-8 when its bytes are
// valid UTF-8: an ANSI file whose new bytes happened to be so read back as
// other text ("Ã©" written, "é" read).
TEST_P(AnsiIniRewriteTest, ReadsBackWhatWasWritten)
{
    const TAnsiCase& c = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("group.vprj"));
    TestFiles::Write(file, c.Before);
    TIniFile ini(file);
    ini.WriteString(QStringLiteral("S"), QLatin1String(c.Key), QString::fromUtf8(c.Value));
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), c.After);
    EXPECT_EQ(TIniFile(file).ReadString(QStringLiteral("S"), QLatin1String(c.Key), QString()),
              QString::fromUtf8(c.Value));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiIniRewriteTest,
    testing::Values(TAnsiCase{"NewBytesFormUtf8", "[S]\r\nk=\xE9\r\n", "k", "\xC3\x83\xC2\xA9",
                              "\xEF\xBB\xBF[S]\r\nk=\xC3\x83\xC2\xA9\r\n"},
                    TAnsiCase{"StillAnsi", "[S]\r\nk=\xE9\r\nj=1\r\n", "j", "\xC3\xA9",
                              "[S]\r\nk=\xE9\r\nj=\xE9\r\n"},
                    TAnsiCase{"NowPlainAscii", "[S]\r\nk=\xE9\r\n", "k", "e", "[S]\r\nk=e\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Sections listed are sections present --------------------------------

struct TSectionsCase {
    const char* Name;
    QByteArray Bytes;
    QStringList Sections;
};

void PrintTo(const TSectionsCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ListedSectionsTest : public testing::TestWithParam<TSectionsCase>
{
};

// Reads go to the first section of a name. A later one of the same name with
// keys was listed although the name read as absent and its keys as missing.
TEST_P(ListedSectionsTest, AreThoseThatExist)
{
    const TSectionsCase& c = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("group.vprj"));
    TestFiles::Write(file, c.Bytes);
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadSections(), c.Sections);
    for (const QString& section : {QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c")})
        EXPECT_EQ(ini.SectionExists(section), c.Sections.contains(section, Qt::CaseInsensitive))
            << section.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListedSectionsTest,
    testing::Values(TSectionsCase{"EmptyFirstHidesLater", "[a]\r\n[A]\r\nk=1\r\n", {}},
                    TSectionsCase{"FirstWithKeysCountsOnce",
                                  "[a]\r\nk=1\r\n[A]\r\nk=2\r\n[B]\r\nj=1\r\n",
                                  {"a", "B"}},
                    TSectionsCase{"UnclosedHeader", "[c\r\nk=1\r\n[b]\r\n", {"c"}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
