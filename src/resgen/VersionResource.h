#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

// One block of a version resource's StringFileInfo: its key (language and code
// page as eight hex digits, such as "040904B0") and its values in file order.
struct TVersionStringTable {
    QString Key;
    QList<QPair<QString, QString>> Values;

    // The value of the first entry named name (without regard to case); the
    // empty text, and *found false, when there is none.
    QString Value(const QString& name, bool* found = nullptr) const;
};

// The decoded VERSIONINFO resource: the fixed part (VS_FIXEDFILEINFO) and the
// StringFileInfo and VarFileInfo blocks.
struct TVersionResource {
    quint16 FileVersion[4] = {0, 0, 0, 0}; // major, minor, release, build
    quint16 ProductVersion[4] = {0, 0, 0, 0};
    quint32 StrucVersion = 0;
    quint32 FileFlagsMask = 0;
    quint32 FileFlags = 0;
    quint32 FileOS = 0;
    quint32 FileType = 0;
    quint32 FileSubtype = 0;
    quint64 FileDate = 0;
    QList<TVersionStringTable> StringTables;
    QList<QPair<quint16, quint16>> Translations; // language, code page

    // The value of a string entry from the first table that holds it.
    QString StringValue(const QString& name) const;
    // The fixed versions as "1.2.3.4".
    QString FileVersionText() const;
    QString ProductVersionText() const;
};
