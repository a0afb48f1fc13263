#include "support/TextFile.h"

#include "support/CodePage.h"
#include "support/QuorvelError.h"

#include "QtPrinters.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace
{

// ---- Round trips: encoding x byte-order mark x line break x final break -----

using TRoundTrip = std::tuple<TTextEncoding, bool, TLineBreak, bool>;

QStringList SampleLines(TTextEncoding encoding)
{
    // The ANSI sample must not be valid UTF-8, or it would read back as UTF-8.
    if (encoding == TTextEncoding::Ansi)
        return {"<Project>", "", QString::fromUtf8("  Größe = 5 € ‰"), "\tend"};
    return {"<Project>", "", QString::fromUtf8("  Größe € 日本 \U0001F600"), "\tend"};
}

class TextRoundTripTest : public testing::TestWithParam<TRoundTrip>
{
protected:
    TTextFormat Format() const
    {
        TTextFormat f;
        std::tie(f.Encoding, f.HasBom, f.LineBreak, f.FinalLineBreak) = GetParam();
        f.CodePage = f.Encoding == TTextEncoding::Ansi ? cpWindows1252 : 0;
        return f;
    }
};

TEST_P(TextRoundTripTest, LinesAndFormatSurvive)
{
    const TTextFormat format = Format();
    const QStringList lines = SampleLines(format.Encoding);
    bool lossless = false;
    const QByteArray bytes = EncodeText(lines, format, &lossless);
    EXPECT_TRUE(lossless);
    const bool utf16 =
        format.Encoding == TTextEncoding::Utf16LE || format.Encoding == TTextEncoding::Utf16BE;
    if (utf16 && !format.HasBom) {
        // Not recognisable without its mark: the same bytes as with it, minus the mark.
        TTextFormat marked = format;
        marked.HasBom = true;
        EXPECT_EQ(bytes, EncodeText(lines, marked).mid(2));
        return;
    }
    const TTextContent content = DecodeText(bytes);
    EXPECT_EQ(content.Lines, lines);
    EXPECT_EQ(content.Format, format);
    EXPECT_EQ(EncodeText(content.Lines, content.Format), bytes);
}

std::string RoundTripName(const testing::TestParamInfo<TRoundTrip>& info)
{
    static const char* const encodings[] = {"Ansi", "Utf8", "Utf16LE", "Utf16BE"};
    static const char* const breaks[] = {"CrLf", "Lf", "Cr"};
    return std::string(encodings[int(std::get<0>(info.param))]) +
           (std::get<1>(info.param) ? "Bom" : "NoBom") + breaks[int(std::get<2>(info.param))] +
           (std::get<3>(info.param) ? "Final" : "Open");
}

INSTANTIATE_TEST_SUITE_P(
    Unicode, TextRoundTripTest,
    testing::Combine(testing::Values(TTextEncoding::Utf8, TTextEncoding::Utf16LE,
                                     TTextEncoding::Utf16BE),
                     testing::Bool(),
                     testing::Values(TLineBreak::CrLf, TLineBreak::Lf, TLineBreak::Cr),
                     testing::Bool()),
    RoundTripName);

// An ANSI file has no byte-order mark.
INSTANTIATE_TEST_SUITE_P(
    Ansi, TextRoundTripTest,
    testing::Combine(testing::Values(TTextEncoding::Ansi), testing::Values(false),
                     testing::Values(TLineBreak::CrLf, TLineBreak::Lf, TLineBreak::Cr),
                     testing::Bool()),
    RoundTripName);

// ---- Decoding bytes as found on disk ----------------------------------------

struct TDecodeCase {
    const char* Name;
    QByteArray Bytes;
    QStringList Lines;
    TTextEncoding Encoding;
    TLineBreak LineBreak;
    bool FinalLineBreak;
};

void PrintTo(const TDecodeCase& c, std::ostream* os)
{
    *os << c.Name;
}

class DecodeTextTest : public testing::TestWithParam<TDecodeCase>
{
};

TEST_P(DecodeTextTest, SplitsAndReportsForm)
{
    const TDecodeCase& c = GetParam();
    const TTextContent content = DecodeText(c.Bytes);
    EXPECT_EQ(content.Lines, c.Lines);
    EXPECT_EQ(content.Format.Encoding, c.Encoding);
    EXPECT_EQ(content.Format.LineBreak, c.LineBreak);
    EXPECT_EQ(content.Format.FinalLineBreak, c.FinalLineBreak);
    EXPECT_EQ(EncodeText(content), c.Bytes);
}

TEST(EncodeText, ChangedLinesTakeTheFormatsBreak)
{
    TTextContent content = DecodeText("a\r\nb\rc\n");
    EXPECT_EQ(EncodeText(content.Lines, content.Format), QByteArray("a\r\nb\r\nc\r\n"));
    content.Lines.append("d");
    EXPECT_EQ(EncodeText(content), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
}

const auto A = TTextEncoding::Ansi;
const auto U8 = TTextEncoding::Utf8;
const auto CrLf = TLineBreak::CrLf;
const auto Lf = TLineBreak::Lf;
const auto Cr = TLineBreak::Cr;

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTextTest,
    testing::Values(
        TDecodeCase{"empty", "", {}, U8, CrLf, false},
        TDecodeCase{"one break", "\n", {""}, U8, Lf, true},
        TDecodeCase{"no break", "abc", {"abc"}, U8, CrLf, false},
        TDecodeCase{
            "mixed", "a\r\nb\nc\rd\r\n\r\ne", {"a", "b", "c", "d", "", "e"}, U8, CrLf, false},
        TDecodeCase{"lf then cr", "a\n\rb\r", {"a", "", "b"}, U8, Lf, true},
        TDecodeCase{"cr cr lf", "a\r\r\nb", {"a", "", "b"}, U8, Cr, false},
        TDecodeCase{"utf8 without mark",
                    "Gr\xC3\xB6\xC3\x9F\x65\r\n",
                    {QString::fromUtf8("Größe")},
                    U8,
                    CrLf,
                    true},
        TDecodeCase{
            "invalid utf8", "caf\xE9\r\nx", {QString::fromUtf8("café"), "x"}, A, CrLf, false},
        TDecodeCase{"truncated utf8", "abc\xC3", {QString::fromUtf8("abcÃ")}, A, CrLf, false},
        TDecodeCase{"bom only", "\xEF\xBB\xBF", {}, U8, CrLf, false}));

TEST(DecodeText, Windows1252FallbackKeepsEveryByte)
{
    // Every byte but the line breaks, the undefined 0x81 0x8D 0x8F 0x90 0x9D included.
    QByteArray bytes;
    for (int b = 0x80; b < 0x100; ++b)
        bytes.append(char(b));
    for (int b = 1; b < 0x80; ++b)
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    bytes.append("\r\n");
    const TTextContent content = DecodeText(bytes);
    EXPECT_EQ(content.Format.Encoding, TTextEncoding::Ansi);
    EXPECT_EQ(content.Format.CodePage, cpWindows1252);
    ASSERT_EQ(content.Lines.size(), 1);
    EXPECT_EQ(content.Lines[0].size(), bytes.size() - 2);
    EXPECT_EQ(content.Lines[0][0x81 - 0x80], QChar(0x81));
    EXPECT_EQ(content.Lines[0][0x9D - 0x80], QChar(0x9D));
    EXPECT_EQ(EncodeText(content.Lines, content.Format), bytes);
}

class OddUtf16Test : public testing::TestWithParam<QByteArray>
{
};

TEST_P(OddUtf16Test, StrayByteDoesNotCrash)
{
    const TTextContent content = DecodeText(GetParam());
    ASSERT_FALSE(content.Lines.isEmpty());
    EXPECT_TRUE(content.Lines[0].startsWith("ab") || content.Lines[0].size() == 1);
    EXPECT_TRUE(content.Format.HasBom);
}

INSTANTIATE_TEST_SUITE_P(Bytes, OddUtf16Test,
                         testing::Values(QByteArray("\xFF\xFE\x61\0b\0c", 7),
                                         QByteArray("\xFE\xFF\0a\0b\0", 7),
                                         QByteArray("\xFF\xFE\x61", 3)));

// ---- Files on disk -----------------------------------------------------------

class TextFileOnDisk : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
    QString Path(const QString& name) const { return Dir.filePath(name); }

    // The message of the error the call throws, or "" when it throws none.
    template <typename F> static QString ErrorOf(F call)
    {
        try {
            call();
        } catch (const TQuorvelError& e) {
            return e.Message();
        }
        return QString();
    }

    // "<prefix> "<name>". <reason>" with a reason that has no trailing full stop.
    static void ExpectFileError(const QString& message, const QString& prefix, const QString& name)
    {
        const QString head = prefix + " \"" + name + "\". ";
        ASSERT_TRUE(message.startsWith(head)) << message.toStdString();
        const QString reason = message.mid(head.size());
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_FALSE(reason.endsWith(u'.') || reason.endsWith(u' ')) << reason.toStdString();
    }

    QTemporaryDir Dir;
};

TEST_F(TextFileOnDisk, WriteThenReadGivesLinesAndFormat)
{
    TTextFormat f;
    f.Encoding = TTextEncoding::Utf16BE;
    f.HasBom = true;
    f.LineBreak = TLineBreak::Lf;
    const QStringList lines{"x", QString::fromUtf8("ü")};
    WriteTextFile(Path("a.txt"), lines, f);
    WriteTextFile(Path("a.txt"), lines, f); // replaces, does not append
    const TTextContent content = ReadTextFile(Path("a.txt"));
    EXPECT_EQ(content.Lines, lines);
    EXPECT_EQ(content.Format, f);
    EXPECT_EQ(TestFiles::Read(Path("a.txt")), EncodeText(lines, f));
}

TEST_F(TextFileOnDisk, ReadFailuresNameFileAndReason)
{
    TestFiles::Write(Path("plain"), "x");
    QDir(Dir.path()).mkdir("folder");
    // Read whole, a file past the limit fails at once, a pipe without a
    // writer and a device without end too.
    QFile large(Path("large"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(MaxReadBytes + 1));
    large.close();
    QStringList names{Path("missing.txt"), Path("folder"), Path("plain/below.txt"), Path("large")};
#ifndef Q_OS_WIN
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
    names << Path("fifo") << QStringLiteral("/dev/zero");
#endif
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        ExpectFileError(ErrorOf([&] { ReadTextFile(name); }), "Cannot open file", name);
    }
}

TEST_F(TextFileOnDisk, WriteFailuresNameFileAndReason)
{
    TestFiles::Write(Path("plain"), "old");
    QDir(Dir.path()).mkdir("folder");
    for (const QString& name : {Path("missing/a.txt"), Path("folder"), Path("plain/a.txt")}) {
        SCOPED_TRACE(name.toStdString());
        ExpectFileError(ErrorOf([&] { WriteTextFile(name, {"x"}, TTextFormat()); }),
                        "Cannot create file", name);
    }
    EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
    EXPECT_EQ(TestFiles::Read(Path("plain")), QByteArray("old"));
}

TEST_F(TextFileOnDisk, WriteProtectedFileIsNotReplaced)
{
    if (!TestFiles::PermissionsBind())
        GTEST_SKIP() << "root may write any file";
    TestFiles::Write(Path("ro.txt"), "old");
    ASSERT_TRUE(QFile::setPermissions(Path("ro.txt"), QFile::ReadOwner));
    ExpectFileError(ErrorOf([&] { WriteTextFile(Path("ro.txt"), {"new"}, TTextFormat()); }),
                    "Cannot create file", Path("ro.txt"));
    EXPECT_EQ(TestFiles::Read(Path("ro.txt")), QByteArray("old"));
}

} // namespace
