#pragma once

#include "project/ProjectData.h"

// The object attached to each entry of the project list: a copy of the
// project's data, owned by the list.
class TProjectInfo
{
public:
    explicit TProjectInfo(const TProjectData& AProjectData) : ProjectData(AProjectData) {}
    TProjectData ProjectData;
};
