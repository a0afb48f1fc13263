#pragma once

#include <QString>

// The group-wide version values (the window's group fields).
struct TGroupValues {
    qint32 ProdMajor = 1;
    qint32 ProdMinor = 0;
    QString Author;
    QString Company;
    QString Copyright;
    QString Product;

    bool operator==(const TGroupValues& o) const
    {
        return ProdMajor == o.ProdMajor && ProdMinor == o.ProdMinor && Author == o.Author &&
               Company == o.Company && Copyright == o.Copyright && Product == o.Product;
    }
};

// The user's defaults for groups that have no settings of their own yet.
struct TUserDefaults {
    QString Author;
    QString Company;
    QString Copyright;
};
