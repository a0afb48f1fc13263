// The INI reader on any file, then values written into it and the file read
// again: every value written reads back as the reading rules make it
// (trimmed, line breaks as blanks, quotes around the whole value dropped, at
// most 2047 characters), and every value not written reads as before.

#include "FuzzCheck.h"

#include "support/IniFile.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QTemporaryDir>

#include <vector>

namespace
{

// The file every run works on, in memory where the system offers it.
const QString& WorkFile()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quorvel-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvel-fuzz-XXXXXX"));
    static const QString file = dir.filePath(QStringLiteral("settings.vprj"));
    return file;
}

void WriteRaw(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// What reading gives for a value written, by the documented rules.
QString ReadBackOf(const QString& written)
{
    QString value = written;
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = TrimBlanks(value);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(TIniFile::MaxValueLength);
}

using TKey = QPair<QString, QString>; // section and key, upper-cased and trimmed

TKey KeyOf(const QString& section, const QString& key)
{
    return {UpperCaseKeepLength(TrimBlanks(section)), UpperCaseKeepLength(TrimBlanks(key))};
}

// The section and key names that the lines hold, found the simple way; the
// section names (as KeyOf keys) go to headers.
std::vector<QPair<QString, QString>> KeysInLines(const QStringList& lines, QSet<QString>& headers)
{
    std::vector<QPair<QString, QString>> keys;
    QString section;
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = TrimBlanks(raw);
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            section = line.mid(1, close < 0 ? -1 : close - 1);
            headers.insert(UpperCaseKeepLength(TrimBlanks(section)));
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inSection && eq > 0 && !line.startsWith(u';'))
            keys.push_back({section, line.left(eq)});
    }
    return keys;
}

// A name the file can hold: not empty once trimmed, and not taken for a
// section header, a comment or the separator when written.
QString TakeName(FuzzedDataProvider& input, const QString& banned)
{
    const QString name = TakeTextWithout(input, 24, banned + QStringLiteral("\r\n"));
    const QString trimmed = TrimBlanks(name);
    if (trimmed.isEmpty() || trimmed.startsWith(u'[') || trimmed.startsWith(u';'))
        return QString();
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray original = AsBytes(data, input.ConsumeIntegralInRange<size_t>(0, size));
    const QString& file = WorkFile();
    WriteRaw(file, original);

    TIniFile ini(file);
    const QStringList sections = ini.ReadSections();
    QSet<QString> listedBefore;
    for (const QString& section : sections) {
        FUZZ_CHECK(ini.SectionExists(section));
        listedBefore.insert(UpperCaseKeepLength(TrimBlanks(section)));
    }
    QSet<QString> headers;
    const auto keys = KeysInLines(DecodeText(original).Lines, headers);
    const QString absent = QStringLiteral("\x01absent");
    QHash<TKey, QString> before;
    for (const auto& [section, key] : keys) {
        const QString value = ini.ReadString(section, key, absent);
        FUZZ_CHECK(value.size() <= TIniFile::MaxValueLength);
        before.insert(KeyOf(section, key), value);
        ini.ReadInteger(section, key, 0);
    }

    QHash<TKey, QPair<QString, QString>> written; // the names as written, and the value
    QHash<TKey, QString> writtenValues;
    // A section the file lists stays listed, and a new one is listed once
    // written to. One the file holds unlisted (no key yet, or a nameless first
    // key, as the profile functions read it) is not checked for it.
    QSet<QString> listedAfter;
    const int writes = input.ConsumeIntegralInRange(1, 8);
    for (int i = 0; i < writes; ++i) {
        // Names of sections already in the file, or new ones.
        QString section =
            !sections.isEmpty() && input.ConsumeBool()
                ? sections[input.ConsumeIntegralInRange<qsizetype>(0, sections.size() - 1)]
                : TakeName(input, QStringLiteral("]"));
        QString key = !keys.empty() && input.ConsumeBool()
                          ? keys[input.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)].second
                          : TakeName(input, QStringLiteral("="));
        if (section.isNull())
            section = QStringLiteral("S") + QString::number(i);
        if (key.isNull())
            key = QStringLiteral("k");
        QString value = TakeText(input, 64);
        if (input.ConsumeBool())
            value = value.repeated(input.ConsumeIntegralInRange(1, 80)).left(3000);
        if (input.ConsumeBool())
            ini.WriteInteger(section, key, input.ConsumeIntegral<qint32>());
        ini.WriteString(section, key, value);
        written.insert(KeyOf(section, key), {section, key});
        const QString sectionKey = KeyOf(section, key).first;
        if (!headers.contains(sectionKey) || listedBefore.contains(sectionKey))
            listedAfter.insert(sectionKey);
        writtenValues.insert(KeyOf(section, key), value);
    }
    ini.UpdateFile();
    const QByteArray saved = ReadFileBytes(file);
    FUZZ_CHECK_EQ(saved, ini.ToBytes());

    const TIniFile back(file);
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const auto& [section, key] = it.value();
        FUZZ_CHECK(back.SectionExists(section) || !listedAfter.contains(it.key().first));
        FUZZ_CHECK_EQ(back.ReadString(section, key, absent),
                      ReadBackOf(writtenValues.value(it.key())));
    }
    for (const auto& [section, key] : keys) {
        if (written.contains(KeyOf(section, key)))
            continue;
        FUZZ_CHECK_EQ(back.ReadString(section, key, absent), before.value(KeyOf(section, key)));
    }
    // Saving what was read changes nothing more.
    FUZZ_CHECK_EQ(back.ToBytes(), saved);
    return 0;
}
