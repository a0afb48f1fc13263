#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"

#include <QString>
#include <QtGlobal>

// A version resource holds each part of a version in 16 bits: a larger value
// would come out wrapped (65536 as 0).
constexpr qint32 MaxVersionPart = 65535;

// The low 32 bits of a number read from a file, as the 32-bit integers the
// values are kept in hold it.
qint32 Low32(qint64 value);

// Whether a value fits a part of a VERSIONINFO version.
bool FitsVersionPart(qint64 value);

// "major.minor.release.build".
QString FileVersionText(const TProjectData& data);

// Empty when every part of the file version fits a VERSIONINFO's 16-bit
// fields, else the warning.
QString FileVersionRangeWarning(const TProjectData& data);
// The same for the group's product version.
QString ProductVersionRangeWarning(const TGroupValues& group);
