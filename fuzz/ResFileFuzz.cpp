// The .res reader on any bytes: it either returns entries that lie inside the
// data or throws TQuorvelError, never anything else. And a resource file
// built from known version values decodes to exactly those values.

#include "FuzzCheck.h"

#include "resgen/ResFile.h"
#include "support/QuorvelError.h"

#include <QtEndian>

namespace
{

void PutU16(QByteArray& b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

void PutU32(QByteArray& b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

void Align(QByteArray& b)
{
    while (b.size() % 4 != 0)
        b.append('\0');
}

void PutText(QByteArray& b, const QString& text)
{
    for (const QChar c : text)
        PutU16(b, c.unicode());
    PutU16(b, 0);
}

// One node of a VS_VERSIONINFO tree, its length filled in at the end.
QByteArray Block(const QString& key, quint16 type, const QByteArray& value, quint16 valueLength,
                 const QList<QByteArray>& children)
{
    QByteArray b;
    PutU16(b, 0);
    PutU16(b, valueLength);
    PutU16(b, type);
    PutText(b, key);
    Align(b);
    b += value;
    for (const QByteArray& child : children) {
        Align(b);
        b += child;
    }
    qToLittleEndian(quint16(b.size()), b.data());
    return b;
}

// A resource entry: header with numeric or named type and name, then data.
void PutEntry(QByteArray& file, const QString& type, int typeId, const QString& name, int nameId,
              quint16 language, const QByteArray& data)
{
    QByteArray header;
    if (typeId >= 0) {
        PutU16(header, 0xFFFF);
        PutU16(header, quint16(typeId));
    } else {
        PutText(header, type);
    }
    if (nameId >= 0) {
        PutU16(header, 0xFFFF);
        PutU16(header, quint16(nameId));
    } else {
        PutText(header, name);
    }
    Align(header);
    PutU32(header, 0);      // DataVersion
    PutU16(header, 0x1030); // MemoryFlags
    PutU16(header, language);
    PutU32(header, 0); // Version
    PutU32(header, 0); // Characteristics
    PutU32(file, quint32(data.size()));
    PutU32(file, quint32(header.size() + 8));
    file += header;
    file += data;
    Align(file);
}

// A name the format can hold: without NUL, which ends it, and not beginning
// with U+FFFF, which marks a number.
QString TakeName(FuzzedDataProvider& input)
{
    QString name = TakeUnits(input, 12);
    name.remove(QChar(0));
    if (name.isEmpty() || name.front() == QChar(0xFFFF))
        name.prepend(u'N');
    return name;
}

void CheckAnyBytes(const QByteArray& bytes)
{
    try {
        const QList<TResEntry> entries = ReadResEntries(bytes);
        qsizetype total = 0;
        for (const TResEntry& entry : entries) {
            FUZZ_CHECK((entry.TypeId < 0) != entry.Type.isEmpty());
            FUZZ_CHECK((entry.NameId < 0) != entry.Name.isEmpty());
            FUZZ_CHECK(entry.TypeId <= 0xFFFF && entry.NameId <= 0xFFFF);
            total += entry.Data.size();
            try {
                DecodeVersionInfo(entry.Data);
            } catch (const TQuorvelError&) {
            }
        }
        FUZZ_CHECK(total <= bytes.size());
    } catch (const TQuorvelError& e) {
        FUZZ_CHECK(!e.Message().isEmpty());
    }
    try {
        const TVersionResource info = DecodeVersionInfo(bytes);
        for (const TVersionStringTable& table : info.StringTables)
            for (const auto& value : table.Values)
                FUZZ_CHECK(!value.second.endsWith(QChar(0)));
    } catch (const TQuorvelError& e) {
        FUZZ_CHECK(!e.Message().isEmpty());
    }
}

void CheckBuiltFile(FuzzedDataProvider& input)
{
    quint16 fileVersion[4], productVersion[4];
    for (quint16& v : fileVersion)
        v = input.ConsumeIntegral<quint16>();
    for (quint16& v : productVersion)
        v = input.ConsumeIntegral<quint16>();
    QList<QPair<QString, QString>> values;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        QString value = TakeUnits(input, 40);
        while (value.endsWith(QChar(0)))
            value.chop(1);
        values.append({TakeName(input), value});
    }
    QList<QPair<quint16, quint16>> translations;
    const int pairs = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < pairs; ++i)
        translations.append({input.ConsumeIntegral<quint16>(), input.ConsumeIntegral<quint16>()});

    QByteArray fixed;
    PutU32(fixed, 0xFEEF04BD);
    PutU32(fixed, 0x00010000);
    PutU32(fixed, (quint32(fileVersion[0]) << 16) | fileVersion[1]);
    PutU32(fixed, (quint32(fileVersion[2]) << 16) | fileVersion[3]);
    PutU32(fixed, (quint32(productVersion[0]) << 16) | productVersion[1]);
    PutU32(fixed, (quint32(productVersion[2]) << 16) | productVersion[3]);
    for (int i = 0; i < 7; ++i)
        PutU32(fixed, 0);
    QList<QByteArray> strings;
    for (const auto& [key, value] : values) {
        QByteArray text;
        PutText(text, value);
        // Compilers differ: the length counts the closing NUL or not.
        const bool countNul = input.ConsumeBool();
        if (!countNul)
            text.chop(2);
        strings.append(Block(key, 1, text, quint16(text.size() / 2), {}));
    }
    QByteArray translationValue;
    for (const auto& [language, codePage] : translations) {
        PutU16(translationValue, language);
        PutU16(translationValue, codePage);
    }
    const QByteArray tableKey = QByteArray("040904B0");
    const QByteArray info = Block(QStringLiteral("VS_VERSION_INFO"), 0, fixed, 52,
                                  {Block(QStringLiteral("StringFileInfo"), 1, {}, 0,
                                         {Block(QString::fromLatin1(tableKey), 1, {}, 0, strings)}),
                                   Block(QStringLiteral("VarFileInfo"), 1, {}, 0,
                                         {Block(QStringLiteral("Translation"), 0, translationValue,
                                                quint16(translationValue.size()), {})})});
    if (info.size() > 0xFFFF)
        return;

    QByteArray file;
    PutEntry(file, QString(), 0, QString(), 0, 0, {});
    const int before = input.ConsumeIntegralInRange(0, 2);
    for (int i = 0; i < before; ++i)
        PutEntry(file, TakeName(input), input.ConsumeBool() ? -1 : 24, TakeName(input),
                 input.ConsumeBool() ? -1 : input.ConsumeIntegral<quint16>(), 0,
                 AsBytes(reinterpret_cast<const uint8_t*>("data"), 4));
    const quint16 language = input.ConsumeIntegral<quint16>();
    PutEntry(file, QString(), ResTypeVersion, QString(), 1, language, info);

    const QList<TResEntry> entries = ReadResEntries(file);
    FUZZ_CHECK(entries.size() == before + 1);
    const TResEntry& entry = entries.back();
    FUZZ_CHECK(entry.TypeId == ResTypeVersion && entry.NameId == 1 && entry.Language == language);
    const TVersionResource decoded = DecodeVersionInfo(entry.Data);
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(decoded.FileVersion[i] == fileVersion[i]);
        FUZZ_CHECK(decoded.ProductVersion[i] == productVersion[i]);
    }
    FUZZ_CHECK(decoded.StringTables.size() == 1);
    FUZZ_CHECK_EQ(decoded.StringTables[0].Key, QString::fromLatin1(tableKey));
    FUZZ_CHECK(decoded.StringTables[0].Values == values);
    FUZZ_CHECK(decoded.Translations == translations);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckAnyBytes(AsBytes(data, size));
    FuzzedDataProvider input(data, size);
    CheckBuiltFile(input);
    return 0;
}
