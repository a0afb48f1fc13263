#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Resource files with a VERSIONINFO built byte by byte, for tests that need a
// .res file without a resource compiler.
namespace VersionResBytes
{

inline void PutU16(QByteArray& b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

inline void PutU32(QByteArray& b, quint32 v)
{
    PutU16(b, quint16(v & 0xFFFF));
    PutU16(b, quint16(v >> 16));
}

inline void PadTo4(QByteArray& b)
{
    while (b.size() % 4 != 0)
        b.append('\0');
}

inline QByteArray Utf16z(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        PutU16(b, c.unicode());
    PutU16(b, 0);
    return b;
}

// One node of a VS_VERSIONINFO tree; children start on 4-byte boundaries.
inline QByteArray Block(const QString& key, quint16 type, const QByteArray& value,
                        quint16 valueLength, const QList<QByteArray>& children = {})
{
    QByteArray b(6, '\0');
    b += Utf16z(key);
    PadTo4(b);
    b += value;
    for (const QByteArray& child : children) {
        PadTo4(b);
        b += child;
    }
    b[0] = char(b.size() & 0xFF);
    b[1] = char(b.size() >> 8);
    b[2] = char(valueLength & 0xFF);
    b[3] = char(valueLength >> 8);
    b[4] = char(type);
    return b;
}

inline QByteArray Text(const QString& key, const QString& value)
{
    return Block(key, 1, Utf16z(value), quint16(value.size() + 1));
}

// A VERSIONINFO resource with these fixed versions and strings.
inline QByteArray VersionInfo(const quint16 (&file)[4], const quint16 (&product)[4],
                              const QList<QPair<QString, QString>>& strings)
{
    QByteArray fixed;
    PutU32(fixed, 0xFEEF04BD);
    PutU32(fixed, 0x00010000);
    PutU32(fixed, quint32(file[0]) << 16 | file[1]);
    PutU32(fixed, quint32(file[2]) << 16 | file[3]);
    PutU32(fixed, quint32(product[0]) << 16 | product[1]);
    PutU32(fixed, quint32(product[2]) << 16 | product[3]);
    for (int i = 0; i < 7; ++i)
        PutU32(fixed, 0);
    QList<QByteArray> values;
    for (const auto& s : strings)
        values << Text(s.first, s.second);
    const QByteArray table = Block(QStringLiteral("040904B0"), 1, {}, 0, values);
    return Block(QStringLiteral("VS_VERSION_INFO"), 0, fixed, 52,
                 {Block(QStringLiteral("StringFileInfo"), 1, {}, 0, {table})});
}

// A 32-bit resource file: the empty leading entry, then the VERSIONINFO 1.
inline QByteArray ResFile(const QByteArray& versionInfo)
{
    QByteArray b;
    PutU32(b, 0);
    PutU32(b, 32);
    PutU32(b, 0x0000FFFF);
    PutU32(b, 0x0000FFFF);
    for (int i = 0; i < 4; ++i)
        PutU32(b, 0);
    PutU32(b, quint32(versionInfo.size()));
    PutU32(b, 32);
    PutU32(b, 0x0010FFFF);
    PutU32(b, 0x0001FFFF);
    PutU32(b, 0);
    PutU16(b, 0x0030);
    PutU16(b, 0x0409);
    PutU32(b, 0);
    PutU32(b, 0);
    b += versionInfo;
    PadTo4(b);
    return b;
}

} // namespace VersionResBytes
