#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "project/VersionEdits.h"

#include <QList>
#include <QPair>
#include <QString>

class TProjectGroup;

// The window's values are measured against what it last took from the disk:
// a value the user changed since is the user's edit, every other value is
// the file's. Several writers share a settings file (the window, set and bump
// of a build server, git), so a save writes the user's edits over what the
// file holds now, never the window's whole memory.

// The group values and every project's data as one reading of a settings
// file gave them (with the project files and defaults as fall-backs), or as
// the window holds them.
struct TSettingsSnapshot {
    TGroupValues Group;
    // By entry text; entries without data are left out.
    QList<QPair<QString, TProjectData>> Projects;

    static TSettingsSnapshot Of(const TProjectGroup& group);
    // The data of the entry of that text (without regard to case; of entries
    // sharing a section, the later one, as a save writes it); null if none.
    const TProjectData* Find(const QString& entry) const;
};

// A value the user and another writer both changed; the user's edit is kept.
struct TSettingsConflict {
    QString Entry; // empty for the group values
    TEditKey Key = ekProdMajor;
    QString OnDisk;
    QString Kept;
};

// Puts the user's edits (the values of current that differ from base) over
// the values fresh holds, a value read from the disk just now; the values the
// user did not change keep fresh's. Returns the values both changed.
QList<TSettingsConflict> RebaseEdits(const TSettingsSnapshot& base,
                                     const TSettingsSnapshot& current, TProjectGroup& fresh);

// One line for the log: the project (or the group), the key, the value on disk
// and the value kept.
QString ConflictLine(const TSettingsConflict& conflict);
