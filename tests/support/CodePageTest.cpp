#include "support/CodePage.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace
{

QByteArray AllBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

struct TDecodeCase {
    int CodePage;
    QByteArray Bytes;
    QString Expected;
};

void PrintTo(const TDecodeCase& c, std::ostream* os)
{
    *os << "cp" << c.CodePage << " hex[" << c.Bytes.toHex(' ').toStdString() << "]";
}

class DecodeCodePageTest : public testing::TestWithParam<TDecodeCase>
{
};

TEST_P(DecodeCodePageTest, GivesCharacters)
{
    EXPECT_EQ(DecodeCodePage(GetParam().Bytes, GetParam().CodePage), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeCodePageTest,
    testing::Values(TDecodeCase{cpOem850, "\x81", QString::fromUtf8("ü")},
                    TDecodeCase{cpOem850, "", ""},
                    TDecodeCase{cpOem850, "Fehler \x81\x84\x94\xE1 \x9C",
                                QString::fromUtf8("Fehler üäöß £")},
                    TDecodeCase{cpOem850, "\xC9\xCD\xBB", QString::fromUtf8("╔═╗")},
                    TDecodeCase{cpWindows1252, "", ""},
                    TDecodeCase{cpWindows1252, "\x80 caf\xE9 \x9F", QString::fromUtf8("€ café Ÿ")},
                    // Undefined in 1252: the character of the same number
                    TDecodeCase{cpWindows1252, "\x81\x8D\x8F\x90\x9D",
                                QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")},
                    TDecodeCase{cpUtf8, "\xC3\xBC", QString::fromUtf8("ü")}));

class SingleByteCodePageTest : public testing::TestWithParam<int>
{
};

TEST_P(SingleByteCodePageTest, OneCharacterPerByteAndBackAgain)
{
    const QString text = DecodeCodePage(AllBytes(), GetParam());
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x41], u'A');
    bool lossless = false;
    EXPECT_EQ(EncodeCodePage(text, GetParam(), &lossless), AllBytes());
    EXPECT_TRUE(lossless);
}

INSTANTIATE_TEST_SUITE_P(CodePages, SingleByteCodePageTest,
                         testing::Values(cpOem850, cpWindows1252));

struct TEncodeCase {
    int CodePage;
    QString Text;
    QByteArray Expected;
    bool Lossless;
};

void PrintTo(const TEncodeCase& c, std::ostream* os)
{
    *os << "cp" << c.CodePage << " \"" << CaseText(c.Text) << "\"";
}

class EncodeCodePageTest : public testing::TestWithParam<TEncodeCase>
{
};

TEST_P(EncodeCodePageTest, MarksWhatIsLost)
{
    bool lossless = !GetParam().Lossless;
    EXPECT_EQ(EncodeCodePage(GetParam().Text, GetParam().CodePage, &lossless), GetParam().Expected);
    EXPECT_EQ(lossless, GetParam().Lossless);
    // The flag is optional.
    EXPECT_EQ(EncodeCodePage(GetParam().Text, GetParam().CodePage), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeCodePageTest,
    testing::Values(TEncodeCase{cpWindows1252, "", "", true},
                    TEncodeCase{cpWindows1252, QString::fromUtf8("café €"), "caf\xE9 \x80", true},
                    TEncodeCase{cpWindows1252, QString::fromUtf8("a日b"), "a?b", false},
                    TEncodeCase{cpWindows1252, QString::fromUtf8("ü→ö"), "\xFC?\xF6", false},
                    TEncodeCase{cpOem850, QString::fromUtf8("ü"), "\x81", true},
                    TEncodeCase{cpOem850, QString::fromUtf8("€"), "?", false},
                    // U+0081 is 1252's undefined byte, but 850 has "ü" there
                    TEncodeCase{cpOem850, QString::fromUtf16(u"\u0081"), "?", false},
                    TEncodeCase{cpUtf8, QString::fromUtf8("日"), "\xE6\x97\xA5", true}));

} // namespace
