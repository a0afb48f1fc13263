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
#include <QThread>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

const QByteArray BomUtf8("\xEF\xBB\xBF", 3);

// How often, and how far apart, a replacing rename is tried on Windows.
[[maybe_unused]] constexpr int ReplaceAttempts = 40;
[[maybe_unused]] constexpr unsigned long ReplaceRetryMs = 25;
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
// part of the text, and QString::fromUtf8 would drop it. *valid tells whether
// the bytes were well-formed UTF-8.
QString DecodeUtf8(QByteArrayView bytes, bool* valid = nullptr)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (valid)
        *valid = !decoder.hasError();
    return text;
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

namespace
{

QStringList SplitLines(const QString& text, QList<TLineBreak>* breaks)
{
    QStringList lines;
    const auto* const begin = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = begin + text.size();
    const char16_t* start = begin;
    for (const char16_t* p = begin; p < end; ++p) {
        const char16_t c = *p;
        // Most characters are neither: one comparison rules both out.
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        lines.append(QString(reinterpret_cast<const QChar*>(start), p - start));
        TLineBreak lb = c == u'\n' ? TLineBreak::Lf : TLineBreak::Cr;
        if (c == u'\r' && p + 1 < end && p[1] == u'\n') {
            lb = TLineBreak::CrLf;
            ++p;
        }
        if (breaks)
            breaks->append(lb);
        start = p + 1;
    }
    if (start < end)
        lines.append(QString(reinterpret_cast<const QChar*>(start), end - start));
    return lines;
}

} // namespace

QStringList SplitLines(const QString& text)
{
    return SplitLines(text, nullptr);
}

QString DecodeTextString(const QByteArray& bytes, TTextFormat& f)
{
    f = TTextFormat();
    f.FinalLineBreak = false;
    const QByteArrayView view(bytes);
    QString text;
    if (bytes.startsWith(BomUtf8)) {
        f.Encoding = TTextEncoding::Utf8;
        f.HasBom = true;
        text = DecodeUtf8(view.sliced(3));
    } else if (bytes.startsWith(BomUtf16LE)) {
        f.Encoding = TTextEncoding::Utf16LE;
        f.HasBom = true;
        text = DecodeUtf16(bytes.mid(2), true);
    } else if (bytes.startsWith(BomUtf16BE)) {
        f.Encoding = TTextEncoding::Utf16BE;
        f.HasBom = true;
        text = DecodeUtf16(bytes.mid(2), false);
    } else {
        // Editors today save UTF-8 without a mark, and text in an ANSI code
        // page is almost never valid UTF-8 once it holds a non-ASCII byte:
        // only what is not UTF-8 is read in the system's ANSI code page.
        bool valid = false;
        text = DecodeUtf8(view, &valid);
        if (valid) {
            f.Encoding = TTextEncoding::Utf8;
        } else {
            f.Encoding = TTextEncoding::Ansi;
            f.CodePage = AnsiCodePage() == cpUtf8 ? cpWindows1252 : AnsiCodePage();
            text = DecodeCodePage(bytes, f.CodePage);
        }
    }
    const qsizetype lf = text.indexOf(u'\n');
    const qsizetype cr = lf < 0 ? text.indexOf(u'\r') : QStringView(text).left(lf).indexOf(u'\r');
    if (cr >= 0)
        f.LineBreak =
            (cr + 1 < text.size() && text[cr + 1] == u'\n') ? TLineBreak::CrLf : TLineBreak::Cr;
    else if (lf >= 0)
        f.LineBreak = TLineBreak::Lf;
    f.FinalLineBreak = text.endsWith(u'\n') || text.endsWith(u'\r');
    return text;
}

TTextContent DecodeText(const QByteArray& bytes)
{
    TTextContent result;
    const QString text = DecodeTextString(bytes, result.Format);
    result.Lines = SplitLines(text, &result.LineBreaks);
    return result;
}

namespace
{

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

QByteArray EncodeTextString(const QString& text, const TTextFormat& format, bool* lossless)
{
    return EncodeString(text, format, lossless);
}

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
    const QFileInfo info(fileName);
    if (info.isDir()) {
        errno = EISDIR;
        throw TQuorvelError(
            FormatText(Tr("Cannot open file \"%s\". %s"), {fileName, ErrnoReason()}));
    }
    // A pipe would be waited on for good, a device read without end: the
    // files read whole are regular files of a bounded size.
    if (info.exists() && !info.isFile())
        throw TQuorvelError(FormatText(Tr("Cannot open file \"%s\". %s"),
                                       {fileName, Tr("It is not a regular file")}));
    const auto tooLarge = [&fileName] {
        return TQuorvelError(
            FormatText(Tr("Cannot open file \"%s\". %s"),
                       {fileName, Tr("It is larger than %1 MB").arg(MaxReadBytes >> 20)}));
    };
    if (info.size() > MaxReadBytes)
        throw tooLarge();
    bool opened = file.open(QIODevice::ReadOnly);
#ifdef Q_OS_WIN
    // Windows refuses to open a file while another program replaces it (a
    // run saving the settings beside this one): a moment later it is there.
    for (int attempt = 1; !opened && attempt < ReplaceAttempts && QFileInfo::exists(fileName);
         ++attempt) {
        QThread::msleep(ReplaceRetryMs);
        opened = file.open(QIODevice::ReadOnly);
    }
#endif
    if (!opened) {
        const QString reason = SystemReason(file.errorString());
        throw TQuorvelError(FormatText(Tr("Cannot open file \"%s\". %s"), {fileName, reason}));
    }
    // The file may grow while it is read.
    QByteArray bytes = file.read(MaxReadBytes + 1);
    if (bytes.size() > MaxReadBytes)
        throw tooLarge();
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

namespace
{

[[noreturn]] void FailToCreate(const QString& fileName, const QString& reason)
{
    const QString system = SystemReason(reason);
    throw TQuorvelError(FormatText(Tr("Cannot create file \"%s\". %s"), {fileName, system}),
                        system);
}

// Writes the bytes into the file itself, created when missing and cut to
// them. Unbuffered, so that a write the disk refuses fails here.
void WriteInPlace(const QString& fileName, const QByteArray& bytes)
{
    QFile file;
#ifdef Q_OS_WIN
    file.setFileName(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        FailToCreate(fileName, file.errorString());
#else
    // Opening a pipe that nobody reads would wait for a reader for good.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        FailToCreate(fileName, ErrnoReason());
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        FailToCreate(fileName, file.errorString());
    }
#endif
    if (file.write(bytes) != bytes.size())
        FailToCreate(fileName, file.errorString());
}

} // namespace

void WriteFileBytes(const QString& fileName, const QByteArray& bytes)
{
    const QFileInfo info(fileName);
    // Replacing by rename would go around a write-protected file or a folder.
    if (info.isDir()) {
        errno = EISDIR;
        FailToCreate(fileName, ErrnoReason());
    }
    if (info.exists() && !info.isWritable()) {
        errno = EACCES;
        FailToCreate(fileName, ErrnoReason());
    }
    // A device or a pipe (the name, or the file its link points to) is written
    // in place: a new file renamed over it would replace the device itself.
    if (info.exists() && !info.isFile()) {
        WriteInPlace(fileName, bytes);
        return;
    }
    // Unbuffered, so that a write the disk refuses fails here: a buffered
    // write fails only when commit() flushes it, and commit() does not look at
    // that failure but renames the short file over the old one.
    for (int attempt = 1;; ++attempt) {
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            FailToCreate(fileName, file.errorString());
#ifndef Q_OS_WIN
        // The new file takes the old one's owner, group and mode: replaced by
        // root (a build run with sudo), a user's file would otherwise become
        // root's and, with mode 600, locked to its owner.
        struct stat old {
        };
        if (::stat(QFile::encodeName(fileName).constData(), &old) == 0) {
            if (::fchown(file.handle(), old.st_uid, old.st_gid) != 0) {
                // A user who may not give the file away keeps it as created.
            }
            ::fchmod(file.handle(), old.st_mode & 07777);
        }
#endif
        if (file.write(bytes) != bytes.size()) {
            // A write cut short (a file size limit, a disk filling up) leaves
            // no error on the file: the system's reason is in errno.
            FailToCreate(fileName,
                         file.error() == QFileDevice::NoError ? ErrnoReason() : file.errorString());
        } // the temporary file goes with `file`
        if (file.commit())
            return;
#ifdef Q_OS_WIN
        // Windows cannot replace a file that another program holds open for
        // a moment (another run reading the settings, a virus scanner).
        if (attempt < ReplaceAttempts) {
            QThread::msleep(ReplaceRetryMs);
            continue;
        }
#endif
        FailToCreate(fileName, file.errorString());
    }
}

void WriteFileBytesInPlace(const QString& fileName, const QByteArray& bytes)
{
    if (QFileInfo(fileName).isDir()) {
        errno = EISDIR;
        FailToCreate(fileName, ErrnoReason());
    }
    WriteInPlace(fileName, bytes);
}

void WriteTextFile(const QString& fileName, const QStringList& lines, const TTextFormat& format)
{
    WriteFileBytes(fileName, EncodeText(lines, format));
}
