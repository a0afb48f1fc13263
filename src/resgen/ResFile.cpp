#include "resgen/ResFile.h"

#include "support/QuorvelError.h"
#include "support/TextFile.h"
#include "support/Translation.h"

namespace
{

// All reads go through these after the caller has checked the bounds.
quint16 U16(const QByteArray& b, qsizetype pos)
{
    return quint16(uchar(b.at(pos)) | (uchar(b.at(pos + 1)) << 8));
}

quint32 U32(const QByteArray& b, qsizetype pos)
{
    return quint32(U16(b, pos)) | (quint32(U16(b, pos + 2)) << 16);
}

// Resource files and version blocks align their parts to 4 bytes, counted from
// the start of the file or of the resource data (itself aligned in the file).
qsizetype Align4(qsizetype pos)
{
    return (pos + 3) & ~qsizetype(3);
}

[[noreturn]] void Fail(const QString& message)
{
    throw TQuorvelError(message);
}

// ---- Resource file entries ----

// The fixed fields after type and name: DataVersion, MemoryFlags, LanguageId,
// Version, Characteristics.
constexpr qsizetype FixedHeaderTail = 16;
// DataSize and HeaderSize.
constexpr qsizetype HeaderPrefix = 8;

// Reads a type or a name: 0xFFFF and a number, or a NUL-terminated UTF-16
// text, all inside the entry's header.
void ReadNameOrId(const QByteArray& b, qsizetype& pos, qsizetype headerEnd, qsizetype entryStart,
                  quint32 headerSize, QString& text, int& id)
{
    const auto tooSmall = [&] {
        Fail(Tr("The resource entry at offset %1 has a header of %2 bytes, too small for its type, "
                "name and fields")
                 .arg(entryStart)
                 .arg(headerSize));
    };
    if (headerEnd - pos < 2)
        tooSmall();
    if (U16(b, pos) == 0xFFFF) {
        if (headerEnd - pos < 4)
            tooSmall();
        id = U16(b, pos + 2);
        text.clear();
        pos += 4;
        return;
    }
    QString result;
    for (qsizetype q = pos; headerEnd - q >= 2; q += 2) {
        const quint16 c = U16(b, q);
        if (c == 0) {
            if (result.isEmpty())
                Fail(Tr("The resource entry at offset %1 has an empty type or name")
                         .arg(entryStart));
            text = result;
            id = -1;
            pos = q + 2;
            return;
        }
        result.append(QChar(c));
    }
    Fail(Tr("The resource entry at offset %1 has an unterminated type or name").arg(entryStart));
}

// ---- Version blocks ----

// One node of the VS_VERSIONINFO tree: wLength, wValueLength, wType, szKey,
// padding, Value, padding, Children. Offsets are relative to the resource data.
struct TVersionBlock {
    qsizetype Start = 0;
    qsizetype End = 0; // Start + wLength
    quint16 Type = 0;  // 0 binary, 1 text
    QString Key;
    qsizetype ValueStart = 0;
    qsizetype ValueSize = 0; // in bytes
    qsizetype ChildrenStart = 0;
};

TVersionBlock ReadBlock(const QByteArray& d, qsizetype start, qsizetype limit)
{
    if (limit - start < 6)
        Fail(Tr("The version block at offset %1 is truncated").arg(start));
    TVersionBlock block;
    block.Start = start;
    const quint16 length = U16(d, start);
    const quint16 valueLength = U16(d, start + 2);
    block.Type = U16(d, start + 4);
    if (length < 6)
        Fail(Tr("The version block at offset %1 has the length %2, shorter than its header")
                 .arg(start)
                 .arg(length));
    if (length > limit - start)
        Fail(Tr("The version block at offset %1 has the length %2, beyond the end of the enclosing "
                "data")
                 .arg(start)
                 .arg(length));
    block.End = start + length;
    if (block.Type > 1)
        Fail(Tr("The version block at offset %1 has the unknown value type %2")
                 .arg(start)
                 .arg(block.Type));
    // A text block holds nothing but 16-bit units, so its length is even.
    if (block.Type == 1 && length % 2 != 0)
        Fail(Tr("The version block at offset %1 has an odd length").arg(start));

    qsizetype pos = start + 6;
    bool terminated = false;
    for (; block.End - pos >= 2; pos += 2) {
        const quint16 c = U16(d, pos);
        if (c == 0) {
            terminated = true;
            pos += 2;
            break;
        }
        block.Key.append(QChar(c));
    }
    if (!terminated)
        Fail(Tr("The version block at offset %1 has an unterminated key").arg(start));

    // wValueLength counts 16-bit units for text and bytes for binary values.
    block.ValueSize = block.Type == 1 ? qsizetype(valueLength) * 2 : qsizetype(valueLength);
    block.ValueStart = Align4(pos);
    if (block.ValueSize == 0)
        block.ValueStart = qMin(block.ValueStart, block.End);
    else if (block.ValueSize > block.End - block.ValueStart)
        Fail(Tr("The version block at offset %1 has a value of %2 bytes, beyond the end of the "
                "block")
                 .arg(start)
                 .arg(block.ValueSize));
    block.ChildrenStart = qMin(Align4(block.ValueStart + block.ValueSize), block.End);
    return block;
}

QList<TVersionBlock> ReadChildren(const QByteArray& d, const TVersionBlock& parent)
{
    QList<TVersionBlock> children;
    qsizetype pos = parent.ChildrenStart;
    for (;;) {
        pos = Align4(pos);
        if (pos >= parent.End)
            break;
        const TVersionBlock child = ReadBlock(d, pos, parent.End);
        children.append(child);
        pos = child.End; // at least 6 bytes further: the loop ends
    }
    return children;
}

QString ReadTextValue(const QByteArray& d, const TVersionBlock& block)
{
    // A binary-typed string value still holds UTF-16, counted in bytes.
    if (block.ValueSize % 2 != 0)
        Fail(Tr("The version block at offset %1 has an odd length").arg(block.Start));
    QString text;
    text.reserve(block.ValueSize / 2);
    for (qsizetype p = block.ValueStart; p < block.ValueStart + block.ValueSize; p += 2)
        text.append(QChar(U16(d, p)));
    // Scripts often end each value with "\0" and compilers add their own NUL.
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

constexpr quint32 FixedInfoSignature = 0xFEEF04BD;
constexpr qsizetype FixedInfoSize = 52;

void ReadFixedInfo(const QByteArray& d, const TVersionBlock& root, TVersionResource& result)
{
    if (root.ValueSize != FixedInfoSize)
        Fail(Tr("The fixed version information has %1 bytes instead of 52").arg(root.ValueSize));
    const qsizetype p = root.ValueStart;
    const quint32 signature = U32(d, p);
    if (signature != FixedInfoSignature)
        Fail(Tr("The fixed version information has the wrong signature 0x%1")
                 .arg(signature, 8, 16, QLatin1Char('0')));
    result.StrucVersion = U32(d, p + 4);
    const quint32 fileMS = U32(d, p + 8), fileLS = U32(d, p + 12);
    const quint32 productMS = U32(d, p + 16), productLS = U32(d, p + 20);
    result.FileVersion[0] = quint16(fileMS >> 16);
    result.FileVersion[1] = quint16(fileMS & 0xFFFF);
    result.FileVersion[2] = quint16(fileLS >> 16);
    result.FileVersion[3] = quint16(fileLS & 0xFFFF);
    result.ProductVersion[0] = quint16(productMS >> 16);
    result.ProductVersion[1] = quint16(productMS & 0xFFFF);
    result.ProductVersion[2] = quint16(productLS >> 16);
    result.ProductVersion[3] = quint16(productLS & 0xFFFF);
    result.FileFlagsMask = U32(d, p + 24);
    result.FileFlags = U32(d, p + 28);
    result.FileOS = U32(d, p + 32);
    result.FileType = U32(d, p + 36);
    result.FileSubtype = U32(d, p + 40);
    result.FileDate = (quint64(U32(d, p + 44)) << 32) | U32(d, p + 48);
}

bool IsKey(const TVersionBlock& block, const char* key)
{
    return block.Key.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
}

} // namespace

QList<TResEntry> ReadResEntries(const QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    if (size == 0)
        Fail(Tr("The resource data is empty"));
    // Every 32-bit resource file begins with an empty entry of 32 bytes; a
    // 16-bit one or any other file does not.
    if (size < 32 || U32(bytes, 0) != 0 || U32(bytes, 4) != 32 || U32(bytes, 8) != 0x0000FFFF ||
        U32(bytes, 12) != 0x0000FFFF)
        Fail(Tr("The data is not a 32-bit resource file"));

    QList<TResEntry> entries;
    qsizetype pos = 0;
    bool first = true;
    while (pos < size) {
        const qsizetype start = pos;
        if (size - pos < HeaderPrefix)
            Fail(Tr("The resource entry at offset %1 is truncated").arg(start));
        const quint32 dataSize = U32(bytes, pos);
        const quint32 headerSize = U32(bytes, pos + 4);
        if (headerSize > size - pos)
            Fail(Tr("The resource entry at offset %1 has a header of %2 bytes, beyond the end of "
                    "the file")
                     .arg(start)
                     .arg(headerSize));
        if (headerSize % 4 != 0)
            Fail(Tr("The resource entry at offset %1 has a header size of %2 bytes, not a multiple "
                    "of 4")
                     .arg(start)
                     .arg(headerSize));
        const qsizetype headerEnd = start + qsizetype(headerSize);
        qsizetype p = start + HeaderPrefix;
        TResEntry entry;
        ReadNameOrId(bytes, p, headerEnd, start, headerSize, entry.Type, entry.TypeId);
        ReadNameOrId(bytes, p, headerEnd, start, headerSize, entry.Name, entry.NameId);
        p = Align4(p);
        if (headerEnd - p < FixedHeaderTail)
            Fail(Tr("The resource entry at offset %1 has a header of %2 bytes, too small for its "
                    "type, "
                    "name and fields")
                     .arg(start)
                     .arg(headerSize));
        entry.Language = U16(bytes, p + 6);
        if (dataSize > size - headerEnd)
            Fail(Tr("The resource entry at offset %1 has %2 bytes of data, beyond the end of the "
                    "file")
                     .arg(start)
                     .arg(dataSize));
        entry.Data = bytes.mid(headerEnd, qsizetype(dataSize));
        if (!first)
            entries.append(entry);
        first = false;
        // The last entry's padding may be missing at the end of the file.
        pos = qMin(Align4(headerEnd + qsizetype(dataSize)), size);
    }
    return entries;
}

TVersionResource DecodeVersionInfo(const QByteArray& data)
{
    TVersionResource result;
    const TVersionBlock root = ReadBlock(data, 0, data.size());
    if (root.Key != QLatin1String("VS_VERSION_INFO"))
        Fail(Tr("The version resource does not begin with the block VS_VERSION_INFO"));
    ReadFixedInfo(data, root, result);

    for (const TVersionBlock& section : ReadChildren(data, root)) {
        if (IsKey(section, "StringFileInfo")) {
            for (const TVersionBlock& tableBlock : ReadChildren(data, section)) {
                TVersionStringTable table;
                table.Key = tableBlock.Key;
                for (const TVersionBlock& value : ReadChildren(data, tableBlock))
                    table.Values.append({value.Key, ReadTextValue(data, value)});
                result.StringTables.append(table);
            }
        } else if (IsKey(section, "VarFileInfo")) {
            for (const TVersionBlock& var : ReadChildren(data, section)) {
                if (!IsKey(var, "Translation"))
                    continue;
                if (var.ValueSize % 4 != 0)
                    Fail(Tr("The Translation value has %1 bytes, not a multiple of 4")
                             .arg(var.ValueSize));
                for (qsizetype p = var.ValueStart; p < var.ValueStart + var.ValueSize; p += 4)
                    result.Translations.append({U16(data, p), U16(data, p + 2)});
            }
        }
    }
    return result;
}

TVersionResource ReadVersionResourceFile(const QString& resFile)
{
    const QByteArray bytes = ReadFileBytes(resFile);
    QList<TResEntry> entries;
    try {
        entries = ReadResEntries(bytes);
        for (const TResEntry& entry : entries)
            if (entry.TypeId == ResTypeVersion)
                return DecodeVersionInfo(entry.Data);
    } catch (const TQuorvelError& e) {
        Fail(Tr("Invalid resource file \"%1\": %2").arg(resFile, e.Message()));
    }
    Fail(Tr("The resource file \"%1\" holds no version information").arg(resFile));
}
