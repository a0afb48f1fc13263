#include "support/IniFile.h"

#include "support/QuorvelError.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QFileInfo>

#include <cctype>

namespace
{

QString Unquote(const QString& value)
{
    if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
        return value.mid(1, value.size() - 2);
    return value;
}

bool ParseIniInteger(const QString& text, qint64& value)
{
    QString t = TrimBlanks(text);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t[0] == u'-';
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty() || t.size() > 20)
        return false;
    for (QChar c : t) {
        const bool ok = base == 10 ? c.isDigit() && c.unicode() < 128
                                   : (c.unicode() < 128 && isxdigit(c.unicode()));
        if (!ok)
            return false;
    }
    bool ok = false;
    const quint64 magnitude = t.toULongLong(&ok, base);
    if (!ok)
        return false;
    if (base == 10) {
        if (magnitude > (negative ? 2147483648ULL : 2147483647ULL))
            return false;
        value = negative ? -qint64(magnitude) : qint64(magnitude);
    } else {
        // Hexadecimal covers the full 32 bits, as a bit pattern.
        if (magnitude > 0xFFFFFFFFULL)
            return false;
        const qint32 bits = qint32(quint32(magnitude));
        value = negative ? -qint64(bits) : qint64(bits);
    }
    return value >= -2147483648LL && value <= 2147483647LL;
}

QString NoLineBreaks(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName))
{
    QStringList lines;
    if (QFileInfo(FFileName).isFile()) {
        try {
            TTextContent content = ReadTextFile(FFileName);
            lines = std::move(content.Lines);
            FFormat = content.Format;
            for (const QString& line : std::as_const(lines))
                if (line.contains(QChar(0))) {
                    FReadError = FormatText(
                        Tr("Cannot open file \"%s\". %s"),
                        {FFileName, Tr("It is not text: it holds zero bytes, as binary data "
                                       "or UTF-16 without a byte-order mark do")});
                    break;
                }
        } catch (const TQuorvelError& e) {
            FReadError = e.Message();
            lines.clear();
        }
    }
    if (lines.isEmpty())
        FFormat.FinalLineBreak = true;
    Parse(lines);
}

void TIniFile::Parse(const QStringList& lines)
{
    FSections.clear();
    FSectionIndex.clear();
    FSections.emplace_back();
    for (const QString& raw : lines) {
        const QString line = TrimBlanks(raw);
        if (line.startsWith(u'[')) {
            TSection section;
            section.Header = raw;
            // The name ends at the last "]" of the line, as the Windows
            // profile functions read it: "[Demo [old]\App.dproj]" is one name.
            const int close = int(line.lastIndexOf(u']'));
            section.Name = TrimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            const QString upper = UpperCaseKeepLength(section.Name);
            if (!FSectionIndex.contains(upper))
                FSectionIndex.insert(upper, int(FSections.size()));
            FSections.push_back(std::move(section));
            continue;
        }
        TItem item;
        item.Raw = raw;
        const int eq = line.indexOf(u'=');
        if (eq > 0 && !line.startsWith(u';')) {
            item.Key = TrimBlanks(line.left(eq));
            item.Value = Unquote(TrimBlanks(line.mid(eq + 1)));
        }
        TSection& current = FSections.back();
        if (eq == 0 && current.KeyCount == 0)
            current.StartsNameless = true;
        if (!item.Key.isEmpty()) {
            const QString upper = UpperCaseKeepLength(item.Key);
            if (!current.KeyIndex.contains(upper))
                current.KeyIndex.insert(upper, int(current.Items.size()));
            ++current.KeyCount;
        }
        current.Items.push_back(std::move(item));
    }
}

bool TIniFile::SectionExists(const QString& section) const
{
    const auto it = FSectionIndex.constFind(UpperCaseKeepLength(TrimBlanks(section)));
    return it != FSectionIndex.constEnd() && FSections[size_t(*it)].Listed();
}

const TIniFile::TItem* TIniFile::FindItem(const QString& section, const QString& key) const
{
    const auto sit = FSectionIndex.constFind(UpperCaseKeepLength(TrimBlanks(section)));
    if (sit == FSectionIndex.constEnd())
        return nullptr;
    const TSection& s = FSections[size_t(*sit)];
    const auto kit = s.KeyIndex.constFind(UpperCaseKeepLength(TrimBlanks(key)));
    return kit == s.KeyIndex.constEnd() ? nullptr : &s.Items[size_t(*kit)];
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const TItem* item = FindItem(section, key);
    return item ? item->Value.left(MaxValueLength) : def;
}

qint32 TIniFile::ReadInteger(const QString& section, const QString& key, qint32 def) const
{
    const TItem* item = FindItem(section, key);
    if (!item)
        return def;
    qint64 value = 0;
    return ParseIniInteger(item->Value.left(MaxValueLength), value) ? qint32(value) : def;
}

QStringList TIniFile::ReadSections() const
{
    // A name counts once, and only when the section that reads and writes go
    // to (its first one) holds a key: a later one of the same name is hidden.
    QStringList result;
    for (size_t i = 1; i < FSections.size(); ++i)
        if (FSections[i].Listed() &&
            FSectionIndex.value(UpperCaseKeepLength(FSections[i].Name), -1) == int(i))
            result.append(FSections[i].Name);
    return result;
}

TIniFile::TSection& TIniFile::SectionForWrite(const QString& section)
{
    const QString name = TrimBlanks(section);
    const QString upper = UpperCaseKeepLength(name);
    const auto it = FSectionIndex.constFind(upper);
    if (it != FSectionIndex.constEnd())
        return FSections[size_t(*it)];
    TSection created;
    created.Name = name;
    created.Header = u'[' + name + u']';
    FSectionIndex.insert(upper, int(FSections.size()));
    FSections.push_back(std::move(created));
    return FSections.back();
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    TSection& s = SectionForWrite(section);
    const QString name = TrimBlanks(key);
    const QString upper = UpperCaseKeepLength(name);
    const QString clean = NoLineBreaks(value);
    const auto it = s.KeyIndex.constFind(upper);
    if (it != s.KeyIndex.constEnd()) {
        TItem& item = s.Items[size_t(*it)];
        item.Raw = item.Key + u'=' + clean;
        item.Value = Unquote(TrimBlanks(clean));
        return;
    }
    // A new key goes after the last line of the section that is not blank.
    size_t pos = s.Items.size();
    while (pos > 0 && TrimBlanks(s.Items[pos - 1].Raw).isEmpty())
        --pos;
    TItem item{name + u'=' + clean, name, Unquote(TrimBlanks(clean))};
    s.Items.insert(s.Items.begin() + std::ptrdiff_t(pos), std::move(item));
    for (auto k = s.KeyIndex.begin(); k != s.KeyIndex.end(); ++k)
        if (*k >= int(pos))
            ++*k;
    s.KeyIndex.insert(upper, int(pos));
    ++s.KeyCount;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

QByteArray TIniFile::ToBytes() const
{
    QStringList lines;
    for (const TSection& s : FSections) {
        if (!s.Header.isEmpty())
            lines.append(s.Header);
        for (const TItem& item : s.Items)
            lines.append(item.Raw);
    }
    bool lossless = true;
    QByteArray bytes = EncodeText(lines, FFormat, &lossless);
    // Bytes that form valid UTF-8 are read as UTF-8: an ANSI
    // file whose new bytes happen to do so would read back as other text.
    if (FFormat.Encoding == TTextEncoding::Ansi &&
        (!lossless || DecodeText(bytes).Lines != lines)) {
        TTextFormat utf8 = FFormat;
        utf8.Encoding = TTextEncoding::Utf8;
        utf8.HasBom = true;
        bytes = EncodeText(lines, utf8);
    }
    return bytes;
}

void TIniFile::UpdateFile()
{
    try {
        WriteFileBytes(FFileName, ToBytes());
    } catch (const TQuorvelError& e) {
        // The system's reason tells a full disk from a write-protected file.
        QString message = FormatText(Tr("Unable to write to %s"), {FFileName});
        if (!e.Reason().isEmpty())
            message += QStringLiteral(". ") + e.Reason();
        throw TQuorvelError(message, e.Reason());
    }
}
