#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One resource of a 32-bit resource file (.res): its type and name, each
// either a number or a text, its language and its raw data.
struct TResEntry {
    QString Type;    // the type's text; empty when the type is a number
    int TypeId = -1; // the type's number; -1 when the type is a text
    QString Name;    // the name's text; empty when the name is a number
    int NameId = -1; // the name's number; -1 when the name is a text
    quint16 Language = 0;
    QByteArray Data;
};
