#include "resgen/VersionResource.h"

QString TVersionStringTable::Value(const QString& name, bool* found) const
{
    for (const auto& pair : Values)
        if (pair.first.compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return pair.second;
        }
    if (found)
        *found = false;
    return QString();
}

QString TVersionResource::StringValue(const QString& name) const
{
    for (const TVersionStringTable& table : StringTables) {
        bool found = false;
        const QString value = table.Value(name, &found);
        if (found)
            return value;
    }
    return QString();
}

static QString VersionText(const quint16 (&parts)[4])
{
    return QStringLiteral("%1.%2.%3.%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

QString TVersionResource::FileVersionText() const
{
    return VersionText(FileVersion);
}

QString TVersionResource::ProductVersionText() const
{
    return VersionText(ProductVersion);
}
