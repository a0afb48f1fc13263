#include "support/TextFile.h"

#include "support/CodePage.h"
#include "support/QuorvelError.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QByteArray BomUtf8("\xEF\xBB\xBF", 3);
const QByteArray BomUtf16LE("\xFF\xFE", 2);
const QByteArray BomUtf16BE("\xFE\xFF", 2);

QString DecodeUtf16(const QByteArray& bytes, bool littleEndian)
{
    const int units = int(bytes.size() / 2);
    QString result(units, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (int i = 0; i < units; ++i) {
        const unsigned lo = p[2 * i + (littleEndian ? 0 : 1)];
        const unsigned hi = p[2 * i + (littleEndian ? 1 : 0)];
        result[i] = QChar(char16_t(lo | (hi << 8)));
    }
    // A stray last byte cannot be a character: mark it rather than drop it.
    if (bytes.size() % 2)
        result.append(QChar(QChar::ReplacementCharacter));
    return result;
}

QByteArray EncodeUtf16(const QString& text, bool littleEndian)
{
    QByteArray result(text.size() * 2, Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        result[2 * i + (littleEndian ? 0 : 1)] = char(c & 0xFF);
        result[2 * i + (littleEndian ? 1 : 0)] = char(c >> 8);
    }
    return result;
}

// UTF-8 bytes as text, a leading U+FEFF kept: behind a byte-order mark it is
// part of the text, and QString::fromUtf8 would drop it.
QString DecodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    Q_UNUSED(ignored);
    return !decoder.hasError();
}

QString LineBreakText(TLineBreak lb)
{
    switch (lb) {
    case TLineBreak::Lf:
        return QStringLiteral("\n");
    case TLineBreak::Cr:
        return QStringLiteral("\r");
    case TLineBreak::CrLf:
        break;
    }
    return QStringLiteral("\r\n");
}

QString ErrnoReason()
{
    return SystemReason(QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

namespace {

QStringList SplitLines(const QString& text, QList<TLineBreak>* breaks)
{
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        TLineBreak lb = c == u'\n' ? TLineBreak::Lf : TLineBreak::Cr;
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            lb = TLineBreak::CrLf;
            ++i;
        }
        if (breaks)
            breaks->append(lb);
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace

QStringList SplitLines(const QString& text)
{
    return SplitLines(text, nullptr);
}

TTextContent DecodeText(const QByteArray& bytes)
{
    TTextContent result;
    TTextFormat& f = result.Format;
    QString text;
    if (bytes.startsWith(BomUtf8)) {
        f.Encoding = TTextEncoding::Utf8;
        f.HasBom = true;
        text = DecodeUtf8(bytes.mid(3));
    } else if (bytes.startsWith(BomUtf16LE)) {
        f.Encoding = TTextEncoding::Utf16LE;
        f.HasBom = true;
        text = DecodeUtf16(bytes.mid(2), true);
    } else if (bytes.startsWith(BomUtf16BE)) {
        f.Encoding = TTextEncoding::Utf16BE;
        f.HasBom = true;
        text = DecodeUtf16(bytes.mid(2), false);
#ifdef Q_OS_WIN
    } else if (AnsiCodePage() != cpUtf8) {
        f.Encoding = TTextEncoding::Ansi;
        f.CodePage = AnsiCodePage();
        text = DecodeCodePage(bytes, f.CodePage);
#endif
    } else if (IsValidUtf8(bytes)) {
        f.Encoding = TTextEncoding::Utf8;
        text = DecodeUtf8(bytes);
    } else {
        f.Encoding = TTextEncoding::Ansi;
        f.CodePage = cpWindows1252;
        text = DecodeCodePage(bytes, f.CodePage);
    }
    const int lf = text.indexOf(u'\n');
    const int cr = text.indexOf(u'\r');
    if (cr >= 0 && (lf < 0 || cr < lf))
        f.LineBreak = (cr + 1 < text.size() && text[cr + 1] == u'\n') ? TLineBreak::CrLf
                                                                      : TLineBreak::Cr;
    else if (lf >= 0)
        f.LineBreak = TLineBreak::Lf;
    f.FinalLineBreak = text.endsWith(u'\n') || text.endsWith(u'\r');
    result.Lines = SplitLines(text, &result.LineBreaks);
    return result;
}

namespace {

QByteArray EncodeString(const QString& text, const TTextFormat& format, bool* lossless)
{
    if (lossless)
        *lossless = true;
    switch (format.Encoding) {
    case TTextEncoding::Utf8: {
        // Stateless: a high surrogate at the end is an error, not held back
        // for a next call that never comes.
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        const QByteArray body = encoder.encode(text);
        if (lossless && encoder.hasError())
            *lossless = false;
        return (format.HasBom ? BomUtf8 : QByteArray()) + body;
    }
    case TTextEncoding::Utf16LE:
        return (format.HasBom ? BomUtf16LE : QByteArray()) + EncodeUtf16(text, true);
    case TTextEncoding::Utf16BE:
        return (format.HasBom ? BomUtf16BE : QByteArray()) + EncodeUtf16(text, false);
    case TTextEncoding::Ansi:
        break;
    }
    return EncodeCodePage(text, format.CodePage ? format.CodePage : AnsiCodePage(), lossless);
}

} // namespace

QByteArray EncodeText(const QStringList& lines, const TTextFormat& format, bool* lossless)
{
    QString text = lines.join(LineBreakText(format.LineBreak));
    if (format.FinalLineBreak && !lines.isEmpty())
        text += LineBreakText(format.LineBreak);
    return EncodeString(text, format, lossless);
}

QByteArray EncodeText(const TTextContent& content, bool* lossless)
{
    const QStringList& lines = content.Lines;
    const bool lastEnded = content.Format.FinalLineBreak || lines.isEmpty();
    if (content.LineBreaks.size() != lines.size() - (lastEnded ? 0 : 1))
        return EncodeText(lines, content.Format, lossless);
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i < content.LineBreaks.size())
            text += LineBreakText(content.LineBreaks[i]);
    }
    return EncodeString(text, content.Format, lossless);
}

QByteArray ReadFileBytes(const QString& fileName)
{
    QFile file(fileName);
    if (QFileInfo(fileName).isDir()) {
        errno = EISDIR;
        throw TQuorvelError(
            FormatText(Tr("Cannot open file \"%s\". %s"), {fileName, ErrnoReason()}));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = SystemReason(file.errorString());
        throw TQuorvelError(FormatText(Tr("Cannot open file \"%s\". %s"), {fileName, reason}));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        const QString reason = SystemReason(file.errorString());
        throw TQuorvelError(FormatText(Tr("Cannot open file \"%s\". %s"), {fileName, reason}));
    }
    return bytes;
}

TTextContent ReadTextFile(const QString& fileName)
{
    return DecodeText(ReadFileBytes(fileName));
}

void WriteFileBytes(const QString& fileName, const QByteArray& bytes)
{
    const auto fail = [&](const QString& reason) {
        throw TQuorvelError(
            FormatText(Tr("Cannot create file \"%s\". %s"), {fileName, SystemReason(reason)}));
    };
    const QFileInfo info(fileName);
    // Replacing by rename would go around a write-protected file or a folder.
    if (info.isDir()) {
        errno = EISDIR;
        fail(ErrnoReason());
    }
    if (info.exists() && !info.isWritable()) {
        errno = EACCES;
        fail(ErrnoReason());
    }
    // A device or a pipe (the name, or the file its link points to) is written
    // in place: a new file renamed over it would replace the device itself.
    if (info.exists() && !info.isFile()) {
        QFile device;
#ifdef Q_OS_WIN
        device.setFileName(fileName);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            fail(device.errorString());
#else
        // Opening a pipe that nobody reads would wait for a reader for good.
        const int fd = ::open(QFile::encodeName(fileName).constData(),
                              O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            fail(ErrnoReason());
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        if (!device.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                         QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            fail(device.errorString());
        }
#endif
        if (device.write(bytes) != bytes.size())
            fail(device.errorString());
        return;
    }
    // Unbuffered, so that a write the disk refuses fails here: a buffered
    // write fails only when commit() flushes it, and commit() does not look at
    // that failure but renames the short file over the old one.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        fail(file.errorString()); // the temporary file goes with `file`
    if (!file.commit())
        fail(file.errorString());
}

void WriteTextFile(const QString& fileName, const QStringList& lines, const TTextFormat& format)
{
    WriteFileBytes(fileName, EncodeText(lines, format));
}
