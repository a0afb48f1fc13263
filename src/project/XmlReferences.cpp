#include "project/XmlReferences.h"

#include "support/PathHelpers.h"

namespace
{

bool DecodeReference(const QString& name, QString& out)
{
    if (name == QLatin1String("amp"))
        out = QStringLiteral("&");
    else if (name == QLatin1String("lt"))
        out = QStringLiteral("<");
    else if (name == QLatin1String("gt"))
        out = QStringLiteral(">");
    else if (name == QLatin1String("quot"))
        out = QStringLiteral("\"");
    else if (name == QLatin1String("apos"))
        out = QStringLiteral("'");
    else if (name.startsWith(u'#') && name.size() > 1) {
        const bool hex = name[1] == u'x' || name[1] == u'X';
        const QString digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 8)
            return false;
        for (QChar c : digits)
            if (!(c.isDigit() || (hex && QStringLiteral("abcdefABCDEF").contains(c))) ||
                c.unicode() > 127)
                return false;
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        const char32_t c32 = char32_t(code);
        out = QString::fromUcs4(&c32, 1);
    } else
        return false;
    return true;
}

} // namespace

QString DecodeXmlReferences(const QString& text)
{
    if (!text.contains(u'&'))
        return text;
    QString result;
    result.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        const int amp = text.indexOf(u'&', i);
        if (amp < 0) {
            result += QStringView(text).mid(i);
            break;
        }
        result += QStringView(text).mid(i, amp - i);
        const int semi = text.indexOf(u';', amp + 1);
        QString decoded;
        if (semi > amp + 1 && semi - amp <= 12 &&
            DecodeReference(text.mid(amp + 1, semi - amp - 1), decoded)) {
            result += decoded;
            i = semi + 1;
        } else {
            result += u'&';
            i = amp + 1;
        }
    }
    return result;
}

QString ProjectFilePath(const QString& settingsFile, const QString& entry)
{
    return JoinPath(ExtractFilePath(settingsFile), EntryToNativePath(DecodeXmlReferences(entry)));
}
