// The text-file decoder on any bytes: lines never hold a line break, what was
// read without loss is written back byte for byte, and lines written in any
// form read back as they were. The single-byte code pages map each byte to
// one character and back.

#include "FuzzCheck.h"

#include "support/CodePage.h"
#include "support/TextFile.h"

#include <QStringDecoder>

namespace
{

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    Q_UNUSED(ignored);
    return !decoder.hasError();
}

bool IsAscii(const QByteArray& bytes)
{
    for (const char b : bytes)
        if (uchar(b) >= 0x80)
            return false;
    return true;
}

// Whether decoding kept everything the bytes say: a UTF-8 body that is valid,
// a UTF-16 body of whole code units; files without a mark are always read
// without loss (UTF-8, or Windows-1252 with its undefined bytes kept).
bool DecodedWithoutLoss(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return IsValidUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return bytes.size() % 2 == 0;
    return true;
}

// Code points, a lone surrogate counting as one.
qsizetype CodePoints(const QString& text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return n;
}

void CheckDecoded(const QByteArray& bytes)
{
    const TTextContent content = DecodeText(bytes);
    for (const QString& line : content.Lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
    const bool lastEnded = content.Format.FinalLineBreak || content.Lines.isEmpty();
    FUZZ_CHECK(content.LineBreaks.size() == content.Lines.size() - (lastEnded ? 0 : 1));
    FUZZ_CHECK(content.Format.FinalLineBreak ==
               (!content.Lines.isEmpty() && content.LineBreaks.size() == content.Lines.size()));
    if (DecodedWithoutLoss(bytes)) {
        bool lossless = false;
        FUZZ_CHECK_EQ(EncodeText(content, &lossless), bytes);
        FUZZ_CHECK(lossless);
    }
}

// The lines written in one form and read again.
void CheckWritten(const QStringList& lines, TTextFormat format)
{
    // An empty last line is only written as the break that ends the line before.
    if (!format.FinalLineBreak && !lines.isEmpty() && lines.back().isEmpty())
        return;
    bool lossless = false;
    const QByteArray bytes = EncodeText(lines, format, &lossless);
    if (!lossless)
        return;
    if (format.Encoding == TTextEncoding::Ansi && IsValidUtf8(bytes) && !IsAscii(bytes))
        return; // such bytes read as UTF-8 by rule
    if (format.Encoding == TTextEncoding::Utf8 && !format.HasBom &&
        bytes.startsWith("\xEF\xBB\xBF"))
        return; // a first character U+FEFF reads as the mark
    const TTextContent back = DecodeText(bytes);
    FUZZ_CHECK_EQ(back.Lines, lines);
    if (format.Encoding == TTextEncoding::Ansi && IsAscii(bytes))
        return; // plain ASCII reads as UTF-8
    FUZZ_CHECK(back.Format.Encoding == format.Encoding);
    FUZZ_CHECK(back.Format.HasBom == format.HasBom);
    if (!back.LineBreaks.isEmpty())
        FUZZ_CHECK(back.Format.LineBreak == format.LineBreak);
    if (!lines.isEmpty())
        FUZZ_CHECK(back.Format.FinalLineBreak == format.FinalLineBreak);
}

void CheckCodePages(const QByteArray& bytes, const QString& units)
{
    for (const int codePage : {cpOem850, cpWindows1252}) {
        const QString text = DecodeCodePage(bytes, codePage);
        FUZZ_CHECK(text.size() == bytes.size());
        bool lossless = false;
        FUZZ_CHECK_EQ(EncodeCodePage(text, codePage, &lossless), bytes);
        FUZZ_CHECK(lossless);

        // Any text: one byte per code point, ASCII as itself, and what was
        // held without loss reads back the same.
        const QByteArray encoded = EncodeCodePage(units, codePage, &lossless);
        FUZZ_CHECK(encoded.size() == CodePoints(units));
        for (qsizetype i = 0, k = 0; i < units.size(); ++i, ++k) {
            const char16_t u = units[i].unicode();
            if (u < 0x80)
                FUZZ_CHECK(encoded[k] == char(u));
            if (units[i].isHighSurrogate() && i + 1 < units.size() && units[i + 1].isLowSurrogate())
                ++i;
        }
        if (lossless)
            FUZZ_CHECK_EQ(DecodeCodePage(encoded, codePage), units);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = AsBytes(data, size);
    CheckDecoded(bytes);

    FuzzedDataProvider input(data, size);
    const QString units = TakeUnits(input, 256);
    CheckCodePages(bytes, units);

    // Three of the forms a file can be written in, chosen by the input.
    const QStringList lines = DecodeText(bytes).Lines;
    for (int i = 0; i < 3; ++i) {
        TTextFormat format;
        format.Encoding = input.PickValueInArray({TTextEncoding::Utf8, TTextEncoding::Utf16LE,
                                                  TTextEncoding::Utf16BE, TTextEncoding::Ansi});
        // UTF-16 is only recognised by its mark; ANSI has none.
        format.HasBom = format.Encoding == TTextEncoding::Utf8
                            ? input.ConsumeBool()
                            : format.Encoding != TTextEncoding::Ansi;
        format.LineBreak =
            input.PickValueInArray({TLineBreak::CrLf, TLineBreak::Lf, TLineBreak::Cr});
        format.FinalLineBreak = input.ConsumeBool();
        format.CodePage = format.Encoding == TTextEncoding::Ansi ? cpWindows1252 : 0;
        CheckWritten(lines, format);
    }
    return 0;
}
