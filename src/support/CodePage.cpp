#include "support/CodePage.h"

#include "support/QuorvelError.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{

QByteArray EncodeUtf8(const QString& text, bool* lossless)
{
    // Stateless: a high surrogate at the end is an error, not held back for a
    // next call that never comes.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray result = encoder.encode(text);
    if (lossless && encoder.hasError())
        *lossless = false;
    return result;
}

} // namespace

#ifdef Q_OS_WIN

QString DecodeCodePage(const QByteArray& bytes, int codePage)
{
    if (bytes.isEmpty())
        return QString();
    if (codePage == cpUtf8)
        return QString::fromUtf8(bytes);
    const int n =
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString result(n, Qt::Uninitialized);
    MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(result.data()), n);
    return result;
}

QByteArray EncodeCodePage(const QString& text, int codePage, bool* lossless)
{
    if (lossless)
        *lossless = true;
    if (text.isEmpty())
        return QByteArray();
    if (codePage == cpUtf8)
        return EncodeUtf8(text, lossless);
    // A character outside the Basic Multilingual Plane is one character the
    // code page lacks, one "?", whatever the system's converter makes of the
    // two halves of its pair.
    QString units = text;
    bool pairs = false;
    for (qsizetype i = 0; i + 1 < units.size(); ++i) {
        if (units[i].isHighSurrogate() && units[i + 1].isLowSurrogate()) {
            units.replace(i, 2, QStringLiteral("?"));
            pairs = true;
        }
    }
    // No "best fit": an Omega must not quietly become an "O".
    BOOL usedDefault = FALSE;
    const auto* wide = reinterpret_cast<const wchar_t*>(units.utf16());
    const int n = WideCharToMultiByte(UINT(codePage), WC_NO_BEST_FIT_CHARS, wide, int(units.size()),
                                      nullptr, 0, nullptr, &usedDefault);
    QByteArray result(n, Qt::Uninitialized);
    WideCharToMultiByte(UINT(codePage), WC_NO_BEST_FIT_CHARS, wide, int(units.size()),
                        result.data(), n, nullptr, &usedDefault);
    if (lossless && (usedDefault || pairs))
        *lossless = false;
    return result;
}

int AnsiCodePage()
{
    return int(GetACP());
}

#else

namespace
{

bool IsSingleByte(int codePage)
{
    return codePage != cpUtf8 && codePage != 932 && codePage != 936 && codePage != 949 &&
           codePage != 950;
}

QByteArray IconvName(int codePage)
{
    switch (codePage) {
    case cpUtf8:
        return "UTF-8";
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    case 20127:
        return "ASCII";
    case 28591:
        return "ISO-8859-1";
    default:
        return "CP" + QByteArray::number(codePage);
    }
}

// iconv descriptor that is closed when it goes out of scope.
class TIconv
{
public:
    TIconv(const QByteArray& to, const QByteArray& from)
        : FHandle(iconv_open(to.constData(), from.constData()))
    {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw TQuorvelError(QStringLiteral("Code page conversion %1 to %2 is not available")
                                    .arg(QString::fromLatin1(from), QString::fromLatin1(to)));
    }
    ~TIconv() { iconv_close(FHandle); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    iconv_t Handle() const { return FHandle; }

private:
    iconv_t FHandle;
};

} // namespace

QString DecodeCodePage(const QByteArray& bytes, int codePage)
{
    if (bytes.isEmpty())
        return QString();
    if (codePage == cpUtf8)
        return QString::fromUtf8(bytes);
    TIconv cd("UTF-16LE", IconvName(codePage));
    QString result;
    result.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char16_t buffer[1024];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t rc = iconv(cd.Handle(), &in, &inLeft, &out, &outLeft);
        const int produced = int((sizeof(buffer) - outLeft) / sizeof(char16_t));
        result.append(reinterpret_cast<const QChar*>(buffer), produced);
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // A byte the code page does not define: Windows maps it to the
        // character of the same number; multi-byte code pages get U+FFFD.
        const auto byte = static_cast<unsigned char>(*in);
        result.append(IsSingleByte(codePage) ? QChar(char16_t(byte))
                                             : QChar(QChar::ReplacementCharacter));
        ++in;
        --inLeft;
        iconv(cd.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

QByteArray EncodeCodePage(const QString& text, int codePage, bool* lossless)
{
    if (lossless)
        *lossless = true;
    if (text.isEmpty())
        return QByteArray();
    if (codePage == cpUtf8)
        return EncodeUtf8(text, lossless);
    TIconv cd(IconvName(codePage), "UTF-16LE");
    QByteArray result;
    result.reserve(text.size());
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = size_t(text.size()) * sizeof(QChar);
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t rc = iconv(cd.Handle(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, int(sizeof(buffer) - outLeft));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // A character the code page cannot hold. The undefined bytes of a
        // single-byte code page come back as the byte they were read from.
        const auto* units = reinterpret_cast<const char16_t*>(in);
        const char16_t c = units[0];
        size_t skip = sizeof(char16_t);
        // A pair stands for one character; a lone surrogate is one of its own
        // and the character after it is still to be converted.
        if (QChar::isHighSurrogate(c) && inLeft >= 2 * sizeof(char16_t) &&
            QChar::isLowSurrogate(units[1]))
            skip *= 2;
        bool restored = false;
        if (IsSingleByte(codePage) && c >= 0x80 && c < 0x100) {
            const QByteArray probe(1, char(c));
            if (DecodeCodePage(probe, codePage) == QString(QChar(c))) {
                result.append(char(c));
                restored = true;
            }
        }
        if (!restored) {
            result.append('?');
            if (lossless)
                *lossless = false;
        }
        in += skip;
        inLeft -= skip;
        iconv(cd.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

int AnsiCodePage()
{
    return cpWindows1252;
}

#endif
