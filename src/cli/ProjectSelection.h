#pragma once

#include "cli/CliContext.h"

#include <QList>
#include <QString>
#include <QStringList>

// The projects that set and bump work on, and the group they save.

// The indices, in list order, of the entries named (each name may stand for
// several entries of equal text), or of every entry with all. Returns the
// empty text on success, else the usage error for a name that is no entry.
QString SelectProjects(const TProjectGroup& group, const QStringList& names, bool all,
                       QList<int>& indices);

// Opens a group whose settings a command changes: as the window opens it,
// its fall-backs filled in where there is no settings file yet. A group that
// names no project has no settings file: that throws TQuorvelError.
void OpenGroupForChange(TCliContext& context, const QString& groupFile, TProjectGroup& group);
