#include "cli/ProjectSelection.h"

#include "project/VersionEdits.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <algorithm>

QString SelectProjects(const TProjectGroup& group, const QStringList& names, bool all,
                       QList<int>& indices)
{
    indices.clear();
    if (all) {
        for (int i = 0; i < group.Projects.Count(); ++i)
            indices.append(i);
        return QString();
    }
    for (const QString& name : names) {
        const QList<int> found = FindProjectEntries(group.Projects, name);
        if (found.isEmpty())
            return Tr("%1 is not a project of the group").arg(name);
        for (int i : found)
            if (!indices.contains(i))
                indices.append(i);
    }
    std::sort(indices.begin(), indices.end());
    return QString();
}

void OpenGroupForChange(TCliContext& context, const QString& groupFile, TProjectGroup& group)
{
    context.LoadConfig();
    if (!context.OpenGroup(groupFile, group))
        throw TQuorvelError(Tr("The group \"%1\" names no project: it has no settings to change")
                                .arg(group.LastProjectGrp));
}
