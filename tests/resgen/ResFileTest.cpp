#include "resgen/ResFile.h"
#include "support/QuorvelError.h"
#include "testsupport/TestFiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>

namespace
{

std::string S(const QString& s)
{
    return s.toStdString();
}

// ---- A small builder for the binary layouts ----

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

void SetU16(QByteArray& b, qsizetype pos, quint16 v)
{
    qToLittleEndian(v, b.data() + pos);
}

void SetU32(QByteArray& b, qsizetype pos, quint32 v)
{
    qToLittleEndian(v, b.data() + pos);
}

void PadTo4(QByteArray& b)
{
    while (b.size() % 4 != 0)
        b.append('\0');
}

QByteArray Utf16(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        PutU16(b, c.unicode());
    return b;
}

QByteArray Utf16z(const QString& s)
{
    return Utf16(s) + QByteArray(2, '\0');
}

// A version block as compilers lay it out: header, key, padding, value, then
// each child aligned to 4; the length leaves out the last child's padding.
QByteArray Block(const QString& key, quint16 type, const QByteArray& value, quint16 valueLength,
                 const QList<QByteArray>& children = {})
{
    QByteArray b;
    PutU16(b, 0);
    PutU16(b, valueLength);
    PutU16(b, type);
    b += Utf16z(key);
    PadTo4(b);
    b += value;
    for (const QByteArray& child : children) {
        PadTo4(b);
        b += child;
    }
    SetU16(b, 0, quint16(b.size()));
    return b;
}

QByteArray Text(const QString& key, const QString& value)
{
    return Block(key, 1, Utf16z(value), quint16(value.size() + 1));
}

QByteArray FixedInfo(quint32 signature = 0xFEEF04BD)
{
    QByteArray b;
    PutU32(b, signature);
    PutU32(b, 0x00010000);
    PutU32(b, (1u << 16) | 2u); // file version 1.2.3.4
    PutU32(b, (3u << 16) | 4u);
    PutU32(b, (5u << 16) | 6u); // product version 5.6.7.8
    PutU32(b, (7u << 16) | 8u);
    PutU32(b, 0x3F);
    PutU32(b, 0x2);
    PutU32(b, 0x40004);
    PutU32(b, 0x2);
    PutU32(b, 0x0);
    PutU32(b, 0x01020304);
    PutU32(b, 0x05060708);
    return b;
}

QByteArray Translation(const QByteArray& pairs)
{
    return Block(QStringLiteral("Translation"), 0, pairs, quint16(pairs.size()));
}

QByteArray TranslationPairs()
{
    QByteArray pairs;
    PutU16(pairs, 0x0409);
    PutU16(pairs, 1200);
    PutU16(pairs, 0x0407);
    PutU16(pairs, 1252);
    return pairs;
}

QByteArray VersionInfo(const QList<QByteArray>& strings, const QByteArray& translation)
{
    const QByteArray table = Block(QStringLiteral("040904B0"), 1, {}, 0, strings);
    return Block(QStringLiteral("VS_VERSION_INFO"), 0, FixedInfo(), 52,
                 {Block(QStringLiteral("StringFileInfo"), 1, {}, 0, {table}),
                  Block(QStringLiteral("VarFileInfo"), 1, {}, 0, {translation})});
}

QByteArray GoodVersionInfo()
{
    return VersionInfo({Text(QStringLiteral("CompanyName"), QStringLiteral("Acme")),
                        Text(QStringLiteral("FileDescription"), QStringLiteral("Tool")),
                        Text(QStringLiteral("FileVersion"), QStringLiteral("1.2.3.4"))},
                       Translation(TranslationPairs()));
}

// Offset of the version block with this key (the first one).
qsizetype BlockOffset(const QByteArray& data, const QString& key)
{
    const qsizetype at = data.indexOf(Utf16z(key));
    EXPECT_GE(at, 6) << S(key);
    return at - 6;
}

QByteArray NameId(quint16 id)
{
    QByteArray b;
    PutU16(b, 0xFFFF);
    PutU16(b, id);
    return b;
}

QByteArray NameText(const QString& text)
{
    return Utf16z(text);
}

// One .res entry; headerSize 0 means the size the parts need.
QByteArray ResEntry(const QByteArray& type, const QByteArray& name, quint16 language,
                    const QByteArray& data, quint32 headerSize = 0)
{
    QByteArray h;
    PutU32(h, quint32(data.size()));
    PutU32(h, 0);
    h += type;
    h += name;
    PadTo4(h);
    PutU32(h, 0);      // DataVersion
    PutU16(h, 0x1030); // MemoryFlags
    PutU16(h, language);
    PutU32(h, 0); // Version
    PutU32(h, 0); // Characteristics
    SetU32(h, 4, headerSize ? headerSize : quint32(h.size()));
    QByteArray b = h + data;
    PadTo4(b);
    return b;
}

QByteArray EmptyEntry()
{
    return ResEntry(NameId(0), NameId(0), 0, {});
}

QByteArray ResFile(const QList<QByteArray>& entries)
{
    QByteArray b = EmptyEntry();
    for (const QByteArray& e : entries)
        b += e;
    return b;
}

QByteArray GoodResFile()
{
    return ResFile({ResEntry(NameText(QStringLiteral("MYDATA")), NameId(7), 0x0407, "abc"),
                    ResEntry(NameId(16), NameId(1), 0x0409, GoodVersionInfo()),
                    ResEntry(NameId(10), NameText(QStringLiteral("Blob")), 0, "12345678")});
}

// ---- Reading good data ----

TEST(ResFileTest, ReadsTypesNamesLanguagesAndData)
{
    const QList<TResEntry> entries = ReadResEntries(GoodResFile());
    ASSERT_EQ(entries.size(), 3);

    EXPECT_EQ(S(entries[0].Type), "MYDATA");
    EXPECT_EQ(entries[0].TypeId, -1);
    EXPECT_EQ(S(entries[0].Name), "");
    EXPECT_EQ(entries[0].NameId, 7);
    EXPECT_EQ(entries[0].Language, 0x0407);
    EXPECT_EQ(entries[0].Data, QByteArray("abc"));

    EXPECT_EQ(entries[1].TypeId, ResTypeVersion);
    EXPECT_EQ(entries[1].NameId, 1);
    EXPECT_EQ(entries[1].Language, 0x0409);
    EXPECT_EQ(entries[1].Data, GoodVersionInfo());

    EXPECT_EQ(entries[2].TypeId, 10);
    EXPECT_EQ(S(entries[2].Name), "Blob");
    EXPECT_EQ(entries[2].NameId, -1);
    EXPECT_EQ(entries[2].Data, QByteArray("12345678"));
}

TEST(ResFileTest, FileWithOnlyTheEmptyEntryHasNoResources)
{
    EXPECT_TRUE(ReadResEntries(EmptyEntry()).isEmpty());
}

TEST(ResFileTest, LastEntryMayLackItsPadding)
{
    QByteArray bytes = ResFile({ResEntry(NameId(10), NameId(1), 0, "abc")});
    bytes.chop(1); // the one padding byte after "abc"
    const QList<TResEntry> entries = ReadResEntries(bytes);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].Data, QByteArray("abc"));
}

// A file cut anywhere but between the end of an entry's data and the end of its
// padding is an error; cut there it holds the entries before the cut.
TEST(ResFileTest, EveryTruncationInsideAnEntryIsAnError)
{
    const QList<QByteArray> data{QByteArray(), GoodVersionInfo(), QByteArray("abcde")};
    const QList<QByteArray> parts{EmptyEntry(), ResEntry(NameId(16), NameId(1), 0x0409, data[1]),
                                  ResEntry(NameText(QStringLiteral("X")), NameId(2), 0, data[2])};
    QByteArray whole;
    std::set<qsizetype> ends; // cut points that leave whole entries
    for (int i = 0; i < parts.size(); ++i) {
        whole += parts[i];
        const qsizetype padding = (4 - data[i].size() % 4) % 4;
        for (qsizetype k = 0; k <= padding; ++k)
            ends.insert(whole.size() - k);
    }
    ASSERT_EQ(ReadResEntries(whole).size(), 2);

    for (qsizetype n = 1; n < whole.size(); ++n) {
        const QByteArray cut = whole.left(n);
        if (ends.count(n)) {
            EXPECT_NO_THROW(ReadResEntries(cut)) << "cut at " << n;
        } else {
            EXPECT_THROW(ReadResEntries(cut), TQuorvelError) << "cut at " << n;
        }
    }
}

TEST(ResFileTest, DecodesFixedPartStringsAndTranslations)
{
    const TVersionResource v = DecodeVersionInfo(GoodVersionInfo());
    EXPECT_EQ(S(v.FileVersionText()), "1.2.3.4");
    EXPECT_EQ(S(v.ProductVersionText()), "5.6.7.8");
    EXPECT_EQ(v.StrucVersion, 0x00010000u);
    EXPECT_EQ(v.FileFlagsMask, 0x3Fu);
    EXPECT_EQ(v.FileFlags, 0x2u);
    EXPECT_EQ(v.FileOS, 0x40004u);
    EXPECT_EQ(v.FileType, 0x2u);
    EXPECT_EQ(v.FileDate, 0x0102030405060708ull);
    ASSERT_EQ(v.StringTables.size(), 1);
    EXPECT_EQ(S(v.StringTables[0].Key), "040904B0");
    ASSERT_EQ(v.StringTables[0].Values.size(), 3);
    EXPECT_EQ(S(v.StringTables[0].Values[0].first), "CompanyName");
    EXPECT_EQ(S(v.StringTables[0].Values[0].second), "Acme");
    EXPECT_EQ(S(v.StringTables[0].Values[2].first), "FileVersion");
    EXPECT_EQ(S(v.StringValue(QStringLiteral("filedescription"))), "Tool");
    EXPECT_EQ(S(v.StringValue(QStringLiteral("Comments"))), "");
    const QList<QPair<quint16, quint16>> expected{{0x0409, 1200}, {0x0407, 1252}};
    EXPECT_EQ(v.Translations, expected);
}

// How the compilers store one string value, and the text it must give.
struct TStringLayout {
    const char* Name;
    QByteArray Block;
    const char* Expected;
};

void PrintTo(const TStringLayout& l, std::ostream* os)
{
    *os << l.Name;
}

class StringLayoutTest : public testing::TestWithParam<TStringLayout>
{
};

TEST_P(StringLayoutTest, GivesTheTextWithoutTrailingNuls)
{
    const TVersionResource v = DecodeVersionInfo(VersionInfo({GetParam().Block}, Translation({})));
    ASSERT_EQ(v.StringTables.size(), 1);
    ASSERT_EQ(v.StringTables[0].Values.size(), 1);
    EXPECT_EQ(S(v.StringTables[0].Values[0].first), "Key");
    EXPECT_EQ(S(v.StringTables[0].Values[0].second), GetParam().Expected);
    EXPECT_TRUE(v.Translations.isEmpty());
}

const QString Key = QStringLiteral("Key");

INSTANTIATE_TEST_SUITE_P(
    Layouts, StringLayoutTest,
    testing::Values(
        TStringLayout{"CountedNul", Block(Key, 1, Utf16z(QStringLiteral("Acme")), 5), "Acme"},
        TStringLayout{"ScriptNulAndCompilerNul",
                      Block(Key, 1, Utf16z(QStringLiteral("Acme")) + QByteArray(2, '\0'), 6),
                      "Acme"},
        TStringLayout{"NoNul", Block(Key, 1, Utf16(QStringLiteral("Acme")), 4), "Acme"},
        TStringLayout{"Empty", Block(Key, 1, {}, 0), ""},
        TStringLayout{"OnlyNul", Block(Key, 1, Utf16z(QString()), 1), ""},
        TStringLayout{"BinaryTypeCountsBytes", Block(Key, 0, Utf16z(QStringLiteral("Acme")), 10),
                      "Acme"},
        TStringLayout{"NonAscii", Text(Key, QStringLiteral("M\u00FCller & S\u00F6hne \u00A9")),
                      "M\u00FCller & S\u00F6hne \u00A9"}),
    [](const testing::TestParamInfo<TStringLayout>& info) { return std::string(info.param.Name); });

// With the key "KeyX" the value follows the key without padding; with "Ab" it
// follows after two bytes of padding.
TEST(ResFileTest, ValueFollowsKeyWithAndWithoutPadding)
{
    const TVersionResource v =
        DecodeVersionInfo(VersionInfo({Text(QStringLiteral("KeyX"), QStringLiteral("vw")),
                                       Text(QStringLiteral("Ab"), QStringLiteral("xyz"))},
                                      Translation({})));
    ASSERT_EQ(v.StringTables[0].Values.size(), 2);
    EXPECT_EQ(S(v.StringTables[0].Values[0].second), "vw");
    EXPECT_EQ(S(v.StringTables[0].Values[1].second), "xyz");
}

TEST(ResFileTest, EveryTruncationOfVersionDataIsAnError)
{
    const QByteArray data = GoodVersionInfo();
    for (qsizetype n = 0; n < data.size(); ++n)
        EXPECT_THROW(DecodeVersionInfo(data.left(n)), TQuorvelError) << "cut at " << n;
}

// ---- Malformed data ----

struct TMalformed {
    const char* Name;
    std::function<QByteArray()> Make;
    bool VersionData; // DecodeVersionInfo instead of ReadResEntries
    const char* MessagePart;
};

void PrintTo(const TMalformed& m, std::ostream* os)
{
    *os << m.Name;
}

class MalformedTest : public testing::TestWithParam<TMalformed>
{
};

TEST_P(MalformedTest, ThrowsWithAClearMessage)
{
    const TMalformed& m = GetParam();
    const QByteArray bytes = m.Make();
    try {
        if (m.VersionData)
            DecodeVersionInfo(bytes);
        else
            ReadResEntries(bytes);
        FAIL() << "no error for " << m.Name;
    } catch (const TQuorvelError& e) {
        EXPECT_NE(e.Message().indexOf(QLatin1String(m.MessagePart)), -1)
            << "message: " << S(e.Message()) << "\nexpected to contain: " << m.MessagePart;
    }
}

QByteArray WithVersionBlock(const char* key,
                            const std::function<void(QByteArray&, qsizetype)>& change)
{
    QByteArray d = GoodVersionInfo();
    change(d, BlockOffset(d, QString::fromLatin1(key)));
    return d;
}

INSTANTIATE_TEST_SUITE_P(
    ResEntries, MalformedTest,
    testing::Values(
        TMalformed{"Empty", [] { return QByteArray(); }, false, "empty"},
        TMalformed{"SixteenBitFile",
                   [] { return QByteArray::fromHex("ff1000ff01003010") + QByteArray(24, '\0'); },
                   false, "not a 32-bit resource file"},
        TMalformed{"FirstEntryNotEmpty", [] { return ResEntry(NameId(0), NameId(0), 0, "abcd"); },
                   false, "not a 32-bit resource file"},
        TMalformed{"ShorterThanTheEmptyEntry", [] { return EmptyEntry().left(20); }, false,
                   "not a 32-bit resource file"},
        TMalformed{"TruncatedHeader", [] { return EmptyEntry() + QByteArray(6, '\0'); }, false,
                   "is truncated"},
        TMalformed{"HeaderSizeBeyondFile",
                   [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd", 4096)}); },
                   false, "header of 4096 bytes, beyond the end of the file"},
        TMalformed{
            "HugeHeaderSize",
            [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd", 0xFFFFFFF0u)}); },
            false, "beyond the end of the file"},
        TMalformed{"HeaderSizeSmallerThanFields",
                   [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcdefgh", 24)}); },
                   false, "too small for its type, name and fields"},
        TMalformed{"HeaderSizeEndsAfterType",
                   [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcdefgh", 12)}); },
                   false, "too small for its type, name and fields"},
        TMalformed{"HeaderSizeNotAligned",
                   [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcdefgh", 34)}); },
                   false, "not a multiple of 4"},
        TMalformed{"DataSizeBeyondFile",
                   [] {
                       QByteArray b = ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd")});
                       SetU32(b, 32, 100);
                       return b;
                   },
                   false, "100 bytes of data, beyond the end of the file"},
        TMalformed{"HugeDataSize",
                   [] {
                       QByteArray b = ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd")});
                       SetU32(b, 32, 0xFFFFFFFFu);
                       return b;
                   },
                   false, "beyond the end of the file"},
        TMalformed{"UnterminatedName",
                   [] {
                       // The name's text fills the header up to its end without a NUL.
                       QByteArray b = EmptyEntry();
                       QByteArray h;
                       PutU32(h, 0);
                       PutU32(h, 0);
                       h += NameId(10) + Utf16(QStringLiteral("ABCDEFGHIJKL"));
                       SetU32(h, 4, quint32(h.size()));
                       return b + h;
                   },
                   false, "unterminated type or name"},
        TMalformed{"UnterminatedTypeAtEndOfFile",
                   [] {
                       QByteArray b = EmptyEntry();
                       PutU32(b, 0);
                       PutU32(b, 32);
                       b += Utf16(QStringLiteral("ABCDEFGHIJKL"));
                       return b;
                   },
                   false, "unterminated type or name"},
        TMalformed{"EmptyTypeName",
                   [] { return ResFile({ResEntry(NameText({}), NameId(1), 0, "abcd")}); }, false,
                   "empty type or name"},
        TMalformed{"GarbageAfterLastEntry",
                   [] { return ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd")}) + "xy"; },
                   false, "is truncated"}),
    [](const testing::TestParamInfo<TMalformed>& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    VersionBlocks, MalformedTest,
    testing::Values(
        TMalformed{"Empty", [] { return QByteArray(); }, true, "is truncated"},
        TMalformed{"RootLengthBeyondData",
                   [] {
                       QByteArray d = GoodVersionInfo();
                       SetU16(d, 0, quint16(d.size() + 4));
                       return d;
                   },
                   true, "beyond the end of the enclosing data"},
        TMalformed{"RootShorterThanHeader",
                   [] {
                       QByteArray d = GoodVersionInfo();
                       SetU16(d, 0, 4);
                       return d;
                   },
                   true, "shorter than its header"},
        TMalformed{"ChildBeyondParent",
                   [] {
                       return WithVersionBlock("StringFileInfo", [](QByteArray& d, qsizetype at) {
                           SetU16(d, at, quint16(d.size() - at + 8));
                       });
                   },
                   true, "beyond the end of the enclosing data"},
        TMalformed{"StringBeyondItsTable",
                   [] {
                       return WithVersionBlock("FileVersion", [](QByteArray& d, qsizetype at) {
                           SetU16(d, at, 0x200);
                       });
                   },
                   true, "beyond the end of the enclosing data"},
        TMalformed{"ChildOfLengthZero",
                   [] {
                       return WithVersionBlock(
                           "CompanyName", [](QByteArray& d, qsizetype at) { SetU16(d, at, 0); });
                   },
                   true, "shorter than its header"},
        TMalformed{"WrongSignature",
                   [] {
                       QByteArray d = GoodVersionInfo();
                       SetU32(d, 40, 0xFEEF04BE);
                       return d;
                   },
                   true, "wrong signature 0xfeef04be"},
        TMalformed{"FixedPartTooShort",
                   [] {
                       QByteArray d = GoodVersionInfo();
                       SetU16(d, 2, 48);
                       return d;
                   },
                   true, "48 bytes instead of 52"},
        TMalformed{"NoFixedPart",
                   [] {
                       return Block(QStringLiteral("VS_VERSION_INFO"), 0, {}, 0,
                                    {Block(QStringLiteral("StringFileInfo"), 1, {}, 0)});
                   },
                   true, "0 bytes instead of 52"},
        TMalformed{"OtherRootKey",
                   [] { return Block(QStringLiteral("VS_VERSION_INFX"), 0, FixedInfo(), 52); },
                   true, "does not begin with the block VS_VERSION_INFO"},
        TMalformed{"UnterminatedRootKey",
                   [] {
                       QByteArray d;
                       PutU16(d, 6 + 8);
                       PutU16(d, 0);
                       PutU16(d, 0);
                       d += Utf16(QStringLiteral("VS_V"));
                       return d;
                   },
                   true, "unterminated key"},
        TMalformed{"UnterminatedChildKey",
                   [] {
                       // The key runs up to the end of the block, which ends inside it.
                       return WithVersionBlock("CompanyName", [](QByteArray& d, qsizetype at) {
                           SetU16(d, at, 6 + 10);
                       });
                   },
                   true, "unterminated key"},
        TMalformed{"ValueBeyondItsBlock",
                   [] {
                       return WithVersionBlock("CompanyName", [](QByteArray& d, qsizetype at) {
                           SetU16(d, at + 2, 100);
                       });
                   },
                   true, "value of 200 bytes, beyond the end of the block"},
        // A block of even length follows, so that the table itself stays even.
        TMalformed{"OddTextBlockLength",
                   [] {
                       return VersionInfo({Block(Key, 1, Utf16z(QStringLiteral("Acme")) + "x", 5),
                                           Text(QStringLiteral("Next"), QStringLiteral("v"))},
                                          Translation({}));
                   },
                   true, "odd length"},
        TMalformed{"OddBinaryStringValue",
                   [] {
                       return VersionInfo({Block(Key, 0, Utf16z(QStringLiteral("Acme")) + "x", 11),
                                           Text(QStringLiteral("Next"), QStringLiteral("v"))},
                                          Translation({}));
                   },
                   true, "odd length"},
        TMalformed{"UnknownValueType",
                   [] {
                       return WithVersionBlock("CompanyName", [](QByteArray& d, qsizetype at) {
                           SetU16(d, at + 4, 2);
                       });
                   },
                   true, "unknown value type 2"},
        TMalformed{"TranslationOfSixBytes",
                   [] { return VersionInfo({}, Translation(TranslationPairs().left(6))); }, true,
                   "6 bytes, not a multiple of 4"},
        TMalformed{"BytesAfterLastChild",
                   [] {
                       // Four stray bytes at the end of the root: too few for a block.
                       QByteArray d = GoodVersionInfo();
                       PadTo4(d);
                       d += QByteArray(4, '\0');
                       SetU16(d, 0, quint16(d.size()));
                       return d;
                   },
                   true, "is truncated"}),
    [](const testing::TestParamInfo<TMalformed>& info) { return std::string(info.param.Name); });

// Random damage to a good file may give an error or other values, but never a
// crash, an endless loop or another kind of exception.
TEST(ResFileTest, DamagedFilesGiveErrorsOrValues)
{
    const QByteArray good = GoodResFile();
    QRandomGenerator random(20260101);
    int errors = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        const int changes = 1 + int(random.bounded(4));
        for (int i = 0; i < changes; ++i)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        if (random.bounded(4) == 0)
            bytes.truncate(random.bounded(int(bytes.size())));
        try {
            for (const TResEntry& e : ReadResEntries(bytes))
                if (e.TypeId == ResTypeVersion)
                    DecodeVersionInfo(e.Data);
        } catch (const TQuorvelError& e) {
            EXPECT_FALSE(e.Message().isEmpty());
            ++errors;
        }
    }
    EXPECT_GT(errors, 0);
}

// ---- Reading files ----

struct TResFileCase {
    const char* Name;
    const char* FileName; // in the temporary folder
    QByteArray Bytes;
    const char* MessagePart;
};

void PrintTo(const TResFileCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ReadVersionResourceFileTest : public testing::TestWithParam<TResFileCase>
{
};

TEST_P(ReadVersionResourceFileTest, NamesTheFileInItsError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TResFileCase& c = GetParam();
    const QString fileName = dir.filePath(QString::fromLatin1(c.FileName));
    TestFiles::Write(fileName, c.Bytes);
    try {
        ReadVersionResourceFile(fileName);
        FAIL() << "no error";
    } catch (const TQuorvelError& e) {
        EXPECT_NE(e.Message().indexOf(fileName), -1) << S(e.Message());
        EXPECT_NE(e.Message().indexOf(QLatin1String(c.MessagePart)), -1) << S(e.Message());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadVersionResourceFileTest,
    testing::Values(
        TResFileCase{"NoVersionResource", "data.res",
                     ResFile({ResEntry(NameId(10), NameId(1), 0, "abcd")}),
                     "holds no version information"},
        TResFileCase{"Malformed", "bad.res", GoodResFile().left(100), "Invalid resource file"},
        TResFileCase{"BrokenVersionResource", "broken.res",
                     ResFile({ResEntry(NameId(16), NameId(1), 0, GoodVersionInfo().left(60))}),
                     "Invalid resource file"}),
    [](const testing::TestParamInfo<TResFileCase>& info) { return std::string(info.param.Name); });

// The file error itself is the one every file read gives.
TEST(ResFileTest, MissingFileGivesTheFileOpenError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    try {
        ReadVersionResourceFile(dir.filePath(QStringLiteral("missing.res")));
        FAIL() << "no error";
    } catch (const TQuorvelError& e) {
        EXPECT_TRUE(e.Message().startsWith(QLatin1String("Cannot open file"))) << S(e.Message());
    }
}

TEST(ResFileTest, ReadsTheFirstVersionResourceOfAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("App-32.res"));
    TestFiles::Write(fileName, GoodResFile());
    const TVersionResource v = ReadVersionResourceFile(fileName);
    EXPECT_EQ(S(v.FileVersionText()), "1.2.3.4");
    EXPECT_EQ(S(v.StringValue(QStringLiteral("CompanyName"))), "Acme");
}

// ---- The default template compiled by llvm-rc ----

const char* const LlvmRc = "/usr/bin/llvm-rc";

struct TTemplateCase {
    const char* Name;
    QList<QPair<QString, QString>> Values; // placeholder name, text put into the script
    const char* FileVersion;
    const char* ProductVersion;
    const char* Company;
    const char* Description;
    const char* Copyright;
    const char* Comments;
};

void PrintTo(const TTemplateCase& c, std::ostream* os)
{
    *os << c.Name;
}

class TemplateCompileTest : public testing::TestWithParam<TTemplateCase>
{
};

TEST_P(TemplateCompileTest, ResourceHoldsTheFilledValues)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the build machine's llvm-rc is a Linux program; this row runs on Linux";
#endif
    if (!QFileInfo::exists(QLatin1String(LlvmRc)))
        GTEST_SKIP() << LlvmRc
                     << " is not installed (Debian package llvm-14); the template is not compiled";
    const TTemplateCase& c = GetParam();

    QByteArray bytes = TestFiles::Read(TestFiles::ExamplesDir() + QStringLiteral("/VersInfo.trc"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QString script = QString::fromUtf8(bytes.mid(3));
    for (const auto& value : c.Values)
        script.replace(QLatin1Char('$') + value.first, value.second);
    ASSERT_FALSE(script.contains(QRegularExpression(QStringLiteral("\\$[A-Za-z]"))))
        << "placeholder left in the script";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString rcFile = dir.filePath(QStringLiteral("Demo-32.rc"));
    const QString resFile = dir.filePath(QStringLiteral("Demo-32.res"));
    TestFiles::Write(rcFile, "\xEF\xBB\xBF" + script.toUtf8());

    QProcess rc;
    rc.setProcessChannelMode(QProcess::MergedChannels);
    rc.start(QLatin1String(LlvmRc), {rcFile, QStringLiteral("-fo") + resFile});
    ASSERT_TRUE(rc.waitForFinished(60000)) << S(rc.errorString());
    ASSERT_EQ(rc.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(rc.exitCode(), 0) << rc.readAll().toStdString();

    const TVersionResource v = ReadVersionResourceFile(resFile);
    EXPECT_EQ(S(v.FileVersionText()), c.FileVersion);
    EXPECT_EQ(S(v.ProductVersionText()), c.ProductVersion);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("FileVersion"))), c.FileVersion);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("ProductVersion"))), c.ProductVersion);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("CompanyName"))), c.Company);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("FileDescription"))), c.Description);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("LegalCopyright"))), c.Copyright);
    EXPECT_EQ(S(v.StringValue(QStringLiteral("Comments"))), c.Comments);
    ASSERT_EQ(v.StringTables.size(), 1);
    EXPECT_EQ(S(v.StringTables[0].Key), "040904B0");
    const QList<QPair<quint16, quint16>> translation{{0x0409, 1200}};
    EXPECT_EQ(v.Translations, translation);
}

QList<QPair<QString, QString>> TemplateValues(const QString& fv, const QString& pv,
                                              const QString& company, const QString& description,
                                              const QString& copyright, const QString& platform)
{
    const QStringList f = fv.split(QLatin1Char('.'));
    const QStringList p = pv.split(QLatin1Char('.'));
    return {{QStringLiteral("fvMajor"), f[0]},
            {QStringLiteral("fvMinor"), f[1]},
            {QStringLiteral("fvRelease"), f[2]},
            {QStringLiteral("fvBuild"), f[3]},
            {QStringLiteral("Description"), description},
            {QStringLiteral("pvMajor"), p[0]},
            {QStringLiteral("pvMinor"), p[1]},
            {QStringLiteral("Company"), company},
            {QStringLiteral("Copyright"), copyright},
            {QStringLiteral("Product"), QStringLiteral("Demo")},
            {QStringLiteral("Author"), QStringLiteral("Ann")},
            {QStringLiteral("Platform"), platform}};
}

INSTANTIATE_TEST_SUITE_P(
    LlvmRc, TemplateCompileTest,
    testing::Values(
        TTemplateCase{"Ascii",
                      TemplateValues(QStringLiteral("1.2.3.4"), QStringLiteral("5.6"),
                                     QStringLiteral("Acme Ltd"), QStringLiteral("Demo application"),
                                     QStringLiteral("(c) 2026 Acme"), QStringLiteral("32-bit")),
                      "1.2.3.4", "5.6.0.0", "Acme Ltd", "Demo application", "(c) 2026 Acme",
                      "Windows 32-bit"},
        TTemplateCase{"LargeNumbers",
                      TemplateValues(QStringLiteral("65535.0.12.40000"), QStringLiteral("10.20"),
                                     QStringLiteral("A"), QStringLiteral(""), QStringLiteral("C"),
                                     QStringLiteral("64-bit")),
                      "65535.0.12.40000", "10.20.0.0", "A", "", "C", "Windows 64-bit"},
        TTemplateCase{"EscapedNonAscii",
                      TemplateValues(QStringLiteral("2.0.0.3"), QStringLiteral("1.2"),
                                     QStringLiteral("M\\x00FCller & S\\x00F6hne"),
                                     QStringLiteral("Gr\\x00FC\\x00DFe"),
                                     QStringLiteral("\\x00A9 2026"), QStringLiteral("64-bit")),
                      "2.0.0.3", "1.2.0.0", "M\u00FCller & S\u00F6hne", "Gr\u00FC\u00DFe",
                      "\u00A9 2026", "Windows 64-bit"}),
    [](const testing::TestParamInfo<TTemplateCase>& info) { return std::string(info.param.Name); });

} // namespace
