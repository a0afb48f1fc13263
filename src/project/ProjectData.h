#pragma once

#include "support/ProjectState.h"

#include <QString>

// One project's version data.
struct TProjectData {
    qint32 FileVersionMajor = 1;
    qint32 FileVersionMinor = 0;
    qint32 FileVersionRelease = 0;
    qint32 FileVersionBuild = 0;
    QString FileDescription;
    TProjectStates Status{psEnabled, psWin32, psWin64};

    bool operator==(const TProjectData& o) const
    {
        return FileVersionMajor == o.FileVersionMajor && FileVersionMinor == o.FileVersionMinor &&
               FileVersionRelease == o.FileVersionRelease &&
               FileVersionBuild == o.FileVersionBuild && FileDescription == o.FileDescription &&
               Status == o.Status;
    }
};
