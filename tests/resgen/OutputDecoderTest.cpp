#include "resgen/OutputDecoder.h"

#include <gtest/gtest.h>

#include <ostream>

// Shows texts readably in failure messages.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toUtf8().replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}

namespace
{

struct TDecodeCase {
    const char* Name;
    QByteArray Output;
    const char* Expected; // UTF-8
};

void PrintTo(const TDecodeCase& c, std::ostream* os)
{
    *os << c.Name;
}

class OutputDecoderTest : public testing::TestWithParam<TDecodeCase>
{
};

// However the output is cut into reads, the log gets the same text.
TEST_P(OutputDecoderTest, GivesTheSameTextForEveryCut)
{
    const TDecodeCase& c = GetParam();
    const QString expected = QString::fromUtf8(c.Expected);
    {
        TOutputDecoder whole;
        QString text = whole.Decode(c.Output);
        text += whole.Finish();
        EXPECT_EQ(text, expected) << "in one piece";
    }
    for (int cut = 0; cut <= c.Output.size(); ++cut) {
        TOutputDecoder d;
        QString text = d.Decode(c.Output.left(cut));
        text += d.Decode(c.Output.mid(cut));
        text += d.Finish();
        EXPECT_EQ(text, expected) << "cut at " << cut;
    }
    TOutputDecoder bytewise;
    QString text;
    for (const char b : c.Output)
        text += bytewise.Decode(QByteArray(1, b));
    text += bytewise.Finish();
    EXPECT_EQ(text, expected) << "byte by byte";
}

const TDecodeCase DecodeCases[] = {
    {"Empty", QByteArray(), ""},
    {"LfLines", QByteArray("a\nb\n"), "a\r\nb\r\n"},
    {"CrLfKept", QByteArray("a\r\nb"), "a\r\nb"},
    {"LoneCrKept", QByteArray("a\rb"), "a\rb"},
    {"CrAtEnd", QByteArray("a\r"), "a\r"},
    {"CrBeforeCrLf", QByteArray("\r\r\n"), "\r\r\n"},
    {"TwoLf", QByteArray("\n\n"), "\r\n\r\n"},
    {"CrLfThenCr", QByteArray("\r\n\r"), "\r\n\r"},
    {"LfCr", QByteArray("\n\r"), "\r\n\r"},
    {"CodePage850", QByteArray("\x81\x9B\x84\xE1"), "üøäß"},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutputDecoderTest, testing::ValuesIn(DecodeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
