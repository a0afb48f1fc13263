#include "project/VersionNumbers.h"

#include "support/Translation.h"

qint32 Low32(qint64 value)
{
    return static_cast<qint32>(static_cast<quint32>(static_cast<quint64>(value) & 0xFFFFFFFFu));
}

bool FitsVersionPart(qint64 value)
{
    return value >= 0 && value <= MaxVersionPart;
}

QString FileVersionText(const TProjectData& data)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(data.FileVersionMajor)
        .arg(data.FileVersionMinor)
        .arg(data.FileVersionRelease)
        .arg(data.FileVersionBuild);
}

QString FileVersionRangeWarning(const TProjectData& data)
{
    if (FitsVersionPart(data.FileVersionMajor) && FitsVersionPart(data.FileVersionMinor) &&
        FitsVersionPart(data.FileVersionRelease) && FitsVersionPart(data.FileVersionBuild))
        return QString();
    return Tr("file version %1 has a part outside 0 to 65535, which a VERSIONINFO cannot hold")
        .arg(FileVersionText(data));
}

QString ProductVersionRangeWarning(const TGroupValues& group)
{
    if (FitsVersionPart(group.ProdMajor) && FitsVersionPart(group.ProdMinor))
        return QString();
    return Tr("product version %1.%2 has a part outside 0 to 65535, which a VERSIONINFO cannot "
              "hold")
        .arg(group.ProdMajor)
        .arg(group.ProdMinor);
}
