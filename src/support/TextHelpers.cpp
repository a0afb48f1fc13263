#include "support/TextHelpers.h"

#include <limits>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#endif

namespace
{

// QChar::toUpper, with the common ASCII case decided inline.
inline QChar UpperUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return QChar(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u);
    return c.toUpper();
}

} // namespace

QString UpperCaseKeepLength(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = UpperUnit(c);
    return result;
}

bool SameText(const QString& a, const QString& b)
{
    return a.size() == b.size() && UpperCaseKeepLength(a) == UpperCaseKeepLength(b);
}

QString TrimLeftBlanks(const QString& text)
{
    int i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return text.mid(i);
}

QString TrimRightBlanks(const QString& text)
{
    int n = text.size();
    while (n > 0 && IsBlank(text[n - 1]))
        --n;
    return text.left(n);
}

QString TrimBlanks(const QString& text)
{
    return TrimRightBlanks(TrimLeftBlanks(text));
}

int TextPos(const QString& sub, const QString& text)
{
    return TextPosFrom(sub, text, 1);
}

int TextPosFrom(const QString& sub, const QString& text, int offset)
{
    if (sub.isEmpty() || offset < 1 || offset > text.size())
        return 0;
    // The same as searching the upper-cased text for the upper-cased sub, one
    // UTF-16 unit at a time, without copying the text: project files are
    // searched line by line for their tags.
    const QString upperSub = UpperCaseKeepLength(sub);
    const QChar* t = text.constData();
    const qsizetype n = text.size();
    const qsizetype m = upperSub.size();
    const QChar first = upperSub[0];
    // No character upper-cases to an ASCII character that is not a letter
    // (tags begin with "<"): such a first character is found as it is.
    const bool plainFirst = first.unicode() < 128 && !first.isLetter();
    qsizetype i = offset - 1;
    while (i + m <= n) {
        if (plainFirst) {
            i = QStringView(text).indexOf(first, i);
            if (i < 0 || i + m > n)
                return 0;
        } else if (UpperUnit(t[i]) != first) {
            ++i;
            continue;
        }
        qsizetype k = 1;
        while (k < m && UpperUnit(t[i + k]) == upperSub[k])
            ++k;
        if (k == m)
            return int(i) + 1;
        ++i;
    }
    return 0;
}

bool TryParseInt64(const QString& text, qint64& value)
{
    int i = 0;
    const int n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    // Accumulate the magnitude as unsigned so that the most negative value fits.
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        if (magnitude > (limit - quint64(digit)) / quint64(base))
            return false;
        magnitude = magnitude * quint64(base) + quint64(digit);
    }
    value = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

qint64 ReadNextInt(QString& text, const QByteArray& separators, bool& error, qint64 def)
{
    text = TrimLeftBlanks(text);
    if (text.isEmpty())
        return def;
    int end = 0;
    while (end < text.size()) {
        const char16_t c = text[end].unicode();
        if (c < 256 && separators.contains(char(c)))
            break;
        ++end;
    }
    qint64 value = def;
    if (!TryParseInt64(text.left(end), value)) {
        value = def;
        error = true;
    }
    text.remove(0, end < text.size() ? end + 1 : end);
    return value;
}

qint64 ReadNextInt(QString& text, char separator, bool& error, qint64 def)
{
    return ReadNextInt(text, QByteArray(1, separator), error, def);
}

qint64 ReadNextInt(QString& text, char separator, qint64 def)
{
    bool error = false;
    return ReadNextInt(text, separator, error, def);
}

QString ZeroPaddedInt(qint64 value, int width)
{
    return QString::asprintf("%.*lld", width, static_cast<long long>(value));
}

QString SystemReason(const QString& reason)
{
    int n = reason.size();
    while (n > 0 && (IsBlank(reason[n - 1]) || reason[n - 1] == u'.'))
        --n;
    return reason.left(n);
}

QString FormatText(const QString& format, const QStringList& args)
{
    QString result;
    int next = 0;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u's') {
                result += next < args.size() ? args[next] : QString();
                ++next;
                ++i;
                continue;
            }
            if (format[i + 1] == u'%') {
                result += u'%';
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

QString MissingFileReason()
{
#ifdef Q_OS_WIN
    return SystemReason(qt_error_string(ERROR_FILE_NOT_FOUND));
#else
    return SystemReason(qt_error_string(ENOENT));
#endif
}
