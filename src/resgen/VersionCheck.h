#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "project/ProjectGroup.h"

#include <QList>
#include <QString>
#include <QStringList>

// Checks before a release: what in a group would give wrong or doubled
// version resources. ResourceVerification.h checks what a build made.

// One finding: the project entry it concerns (the group file's name for the
// group values) and what is wrong.
struct TVersionFinding {
    QString Entry;
    QString Message;

    bool operator==(const TVersionFinding& o) const
    {
        return Entry == o.Entry && Message == o.Message;
    }
};

// The warnings a project file's lines give: the IDE's own version information
// still switched on (the value of the first <VerInfo_IncludeVerInfo> line),
// and a product version (major and minor, read as a group without settings
// reads them) or company in its version keys that differs from the group's.
// Keys the project file does not have are not compared.
QStringList ProjectFileWarnings(const QStringList& lines, const TGroupValues& group);

// The warning for a text value that still holds an MSBuild macro such as
// "$(Platform)"; empty when it holds none.
QString MacroWarning(const QString& key, const QString& value);

// Every warning for the open group, in list order: version parts out of
// range, MSBuild macros left in the text values, text values a script without
// escaping carries otherwise than meant (RawValueWarning), missing project
// files, checked projects without a platform, and what ProjectFileWarnings
// finds in each existing project file.
QList<TVersionFinding> CheckGroup(const TProjectGroup& group, bool escapeValues = false);
