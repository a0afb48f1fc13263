// The project-file readers on any bytes, and on project files written with
// known version keys: every value written is the value read.

#include "FuzzCheck.h"

#include "project/ProjectFile.h"
#include "project/XmlReferences.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"

#include <QList>

namespace
{

const QString VerInfoKeys = QStringLiteral("<VerInfo_Keys>");
const QString TargetedPlatforms = QStringLiteral("<TargetedPlatforms>");

QString XmlEscape(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        case '\'':
            out += QStringLiteral("&apos;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool IsTrimmed(const QString& text)
{
    return text.isEmpty() || (!IsBlank(text.front()) && !IsBlank(text.back()));
}

qint32 Low32(qint64 value)
{
    return qint32(quint32(quint64(value) & 0xFFFFFFFFu));
}

void CheckXmlReferences(const QString& text)
{
    const QString decoded = DecodeXmlReferences(text);
    FUZZ_CHECK(decoded.size() <= text.size());
    if (!text.contains(u'&'))
        FUZZ_CHECK_EQ(decoded, text);
    FUZZ_CHECK_EQ(DecodeXmlReferences(XmlEscape(text)), text);
}

// Reading integers off a list always makes progress and flags what is no
// integer.
void CheckIntegerList(QString text, const QByteArray& separators)
{
    while (!TrimLeftBlanks(text).isEmpty()) {
        const qsizetype before = text.size();
        bool error = false;
        const qint64 value = ReadNextInt(text, separators, error, -7);
        FUZZ_CHECK(text.size() < before);
        if (error)
            FUZZ_CHECK(value == -7);
    }
}

void CheckAnyLines(const QStringList& lines)
{
    for (const QString& tag : {VerInfoKeys, TargetedPlatforms}) {
        const QString value = ReadElementText(lines, tag);
        FUZZ_CHECK(!value.contains(u'\r') && !value.contains(u'\n'));
        if (FindLine(lines, tag, 0) < 0)
            FUZZ_CHECK(value.isEmpty());
    }
    const QString keys = ReadElementText(lines, VerInfoKeys);
    for (const char* key :
         {"FileVersion=", "FileDescription=", "InternalName=", "ProductVersion="}) {
        const QString value = ReadKeyValue(keys, QLatin1String(key));
        FUZZ_CHECK(!value.contains(u';'));
        FUZZ_CHECK(IsTrimmed(value));
        if (!value.isEmpty())
            FUZZ_CHECK(TextPos(QLatin1String(key), keys) > 0);
    }

    // Fields the lines do not speak of keep what the caller set.
    TProjectData data;
    data.FileVersionMajor = -11;
    data.FileVersionMinor = -12;
    data.FileVersionRelease = -13;
    data.FileVersionBuild = -14;
    data.FileDescription = QStringLiteral("unchanged");
    data.Status = TProjectStates{psWin64};
    const TProjectData before = data;
    ReadProjectFileLines(lines, data);
    FUZZ_CHECK(data.Status.Contains(psEnabled) == before.Status.Contains(psEnabled));
    if (keys.isEmpty()) {
        FUZZ_CHECK(data.FileVersionMajor == before.FileVersionMajor &&
                   data.FileVersionBuild == before.FileVersionBuild);
        FUZZ_CHECK_EQ(data.FileDescription, before.FileDescription);
    }
    if (ReadElementText(lines, TargetedPlatforms).isEmpty())
        FUZZ_CHECK(data.Status == before.Status);

    TGroupValues group;
    group.Company = QStringLiteral("kept");
    TGroupDefaultsScan scan;
    FUZZ_CHECK(ReadGroupDefaultsLines(lines, group, scan) == !keys.isEmpty());
    FUZZ_CHECK_EQ(group.Company, QStringLiteral("kept"));

    for (const QString& line : lines) {
        CheckXmlReferences(line);
        // Removing each field from the front costs the length of the rest.
        CheckIntegerList(line.left(512), ".");
        CheckIntegerList(line.left(512), ";,");
    }
}

// An integer in one of the forms the reader knows.
QString IntegerText(FuzzedDataProvider& input, qint64 value)
{
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    const QString sign = value < 0             ? QStringLiteral("-")
                         : input.ConsumeBool() ? QStringLiteral("+")
                                               : QString();
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 1:
        return sign + u'$' + QString::number(magnitude, 16);
    case 2:
        return sign + QStringLiteral("0x") + QString::number(magnitude, 16).toUpper();
    case 3:
        return sign + u'x' + QString::number(magnitude, 16);
    default:
        return sign + QString::number(magnitude);
    }
}

void CheckIntegerRoundTrip(FuzzedDataProvider& input)
{
    QList<qint64> values;
    QStringList texts;
    const int count = input.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < count; ++i) {
        values.append(input.ConsumeIntegral<qint64>());
        texts.append(QString(input.ConsumeIntegralInRange(0, 2), u' ') +
                     IntegerText(input, values.back()));
    }
    QString list = texts.join(u'.');
    bool error = false;
    for (const qint64 expected : values)
        FUZZ_CHECK(ReadNextInt(list, '.', error, 0) == expected);
    FUZZ_CHECK(!error);
    FUZZ_CHECK(list.isEmpty());
}

// A project file with a version key list as the IDE writes it.
void CheckWrittenProject(FuzzedDataProvider& input)
{
    // Values hold no ";" (the list separator) and no "=", which would let a
    // key name inside a value be found first.
    const QString banned = QStringLiteral(";=\r\n");
    const QString description = TakeTextWithout(input, 40, banned);
    const QString internalName = TakeTextWithout(input, 40, banned);
    const QString company = TakeTextWithout(input, 40, banned);
    const int fields = input.ConsumeIntegralInRange(0, 5);
    QList<qint64> version;
    QStringList versionTexts;
    for (int i = 0; i < fields; ++i) {
        version.append(input.ConsumeIntegral<qint64>());
        versionTexts.append(IntegerText(input, version.back()));
    }
    const qint64 platforms = input.ConsumeIntegralInRange<qint64>(-4, 7);

    QStringList keys{
        QStringLiteral("CompanyName=") + company, QStringLiteral("FileDescription=") + description,
        QStringLiteral("InternalName=") + internalName,
        QStringLiteral("FileVersion=") + versionTexts.join(u'.'), QStringLiteral("Comments=")};
    for (int i = int(keys.size()) - 1; i > 0; --i)
        keys.swapItemsAt(i, input.ConsumeIntegralInRange(0, i));
    for (QString& key : keys) {
        const int eq = int(key.indexOf(u'='));
        key = RandomCase(input, key.left(eq)) + key.mid(eq);
    }

    QStringList lines;
    const int before = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < before; ++i) {
        // Anything but the two tags.
        const QString line = TakeTextWithout(input, 60, QStringLiteral("\r\n"));
        if (TextPos(VerInfoKeys, line) == 0 && TextPos(TargetedPlatforms, line) == 0)
            lines.append(line);
    }
    lines << QStringLiteral("    <PropertyGroup>")
          << QStringLiteral("        ") + RandomCase(input, TargetedPlatforms) +
                 QString::number(platforms) + QStringLiteral("</TargetedPlatforms>")
          << QStringLiteral("        ") + RandomCase(input, VerInfoKeys) +
                 XmlEscape(keys.join(u';')) + QStringLiteral("</VerInfo_Keys>")
          << QStringLiteral("    </PropertyGroup>");

    TTextFormat format;
    format.Encoding = input.PickValueInArray(
        {TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE});
    format.HasBom = format.Encoding != TTextEncoding::Utf8 || input.ConsumeBool();
    const QStringList read = DecodeText(EncodeText(lines, format)).Lines;

    TProjectData data;
    data.FileVersionMajor = data.FileVersionMinor = data.FileVersionRelease =
        data.FileVersionBuild = -9;
    ReadProjectFileLines(read, data);
    const qint32 expected[4] = {fields == 0 ? -9 : Low32(version.value(0, 1)),
                                fields == 0 ? -9 : Low32(version.value(1, 1)),
                                fields == 0 ? -9 : Low32(version.value(2, 1)),
                                fields == 0 ? -9 : Low32(version.value(3, 1))};
    FUZZ_CHECK(data.FileVersionMajor == expected[0]);
    FUZZ_CHECK(data.FileVersionMinor == expected[1]);
    FUZZ_CHECK(data.FileVersionRelease == expected[2]);
    FUZZ_CHECK(data.FileVersionBuild == expected[3]);
    const QString trimmedDescription = TrimBlanks(description);
    FUZZ_CHECK_EQ(data.FileDescription,
                  trimmedDescription.isEmpty() ? TrimBlanks(internalName) : trimmedDescription);
    FUZZ_CHECK(data.Status.Contains(psWin32) == bool(platforms & 1));
    FUZZ_CHECK(data.Status.Contains(psWin64) == bool(platforms & 2));

    TGroupValues group;
    TGroupDefaultsScan scan;
    FUZZ_CHECK(ReadGroupDefaultsLines(read, group, scan));
    FUZZ_CHECK_EQ(group.Company, TrimBlanks(company));
}

// The search without copying against the search in upper-cased copies.
void CheckTextPos(const QString& sub, const QString& text, int offset)
{
    int expected = 0;
    if (!sub.isEmpty() && offset >= 1 && offset <= text.size())
        expected = int(UpperCaseKeepLength(text).indexOf(UpperCaseKeepLength(sub), offset - 1)) + 1;
    FUZZ_CHECK(TextPosFrom(sub, text, offset) == expected);
}

// The elements found in the whole text are those found in its lines.
void CheckWholeText(const QByteArray& bytes)
{
    TTextFormat format;
    const QString text = DecodeTextString(bytes, format);
    const TTextContent content = DecodeText(bytes);
    FUZZ_CHECK(format == content.Format);
    const TProjectFileKeys inText = ReadProjectFileKeysInText(text);
    const TProjectFileKeys inLines = ReadProjectFileKeys(content.Lines);
    FUZZ_CHECK_EQ(inText.VerInfoKeys, inLines.VerInfoKeys);
    FUZZ_CHECK_EQ(inText.TargetedPlatforms, inLines.TargetedPlatforms);
    for (const QString& tag :
         {QStringLiteral("</"), QStringLiteral("<verinfo_keys>"), QStringLiteral("Name=")})
        FUZZ_CHECK_EQ(ReadElementTextInText(text, tag), ReadElementText(content.Lines, tag));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = AsBytes(data, size);
    CheckAnyLines(DecodeText(bytes).Lines);
    CheckWholeText(bytes);

    FuzzedDataProvider input(data, size);
    // A needle taken from the text in other case, or any.
    const QString hay = QString::fromUtf8(bytes.left(2048));
    const QString needle =
        !hay.isEmpty() && input.ConsumeBool()
            ? RandomCase(input, hay.mid(input.ConsumeIntegralInRange<qsizetype>(0, hay.size() - 1),
                                        input.ConsumeIntegralInRange(1, 8)))
            : TakeUnits(input, 6);
    CheckTextPos(needle, hay, input.ConsumeIntegralInRange(-1, 2100));
    CheckIntegerRoundTrip(input);
    CheckWrittenProject(input);
    return 0;
}
