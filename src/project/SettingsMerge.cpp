#include "project/SettingsMerge.h"

#include "project/ProjectGroup.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace
{

bool SameValue(const TVersionEdit& a, const TVersionEdit& b)
{
    return IsNumberKey(a.Key) ? a.Number == b.Number : a.Text == b.Text;
}

QString ValueText(const TVersionEdit& value)
{
    return IsNumberKey(value.Key) ? QString::number(value.Number) : value.Text;
}

TSettingsConflict Conflict(const QString& entry, const TVersionEdit& disk, const TVersionEdit& kept)
{
    return TSettingsConflict{entry, kept.Key, ValueText(disk), ValueText(kept)};
}

} // namespace

TSettingsSnapshot TSettingsSnapshot::Of(const TProjectGroup& group)
{
    TSettingsSnapshot snapshot;
    snapshot.Group = group.Group;
    for (int i = 0; i < group.Projects.Count(); ++i)
        if (group.Projects[i].Info)
            snapshot.Projects.append({group.Projects[i].Text, group.Projects[i].Info->ProjectData});
    return snapshot;
}

const TProjectData* TSettingsSnapshot::Find(const QString& entry) const
{
    for (int i = Projects.size() - 1; i >= 0; --i)
        if (SameText(Projects[i].first, entry))
            return &Projects[i].second;
    return nullptr;
}

QList<TSettingsConflict> RebaseEdits(const TSettingsSnapshot& base,
                                     const TSettingsSnapshot& current, TProjectGroup& fresh)
{
    QList<TSettingsConflict> conflicts;
    for (TEditKey key : GroupSettingsKeys()) {
        const TVersionEdit edit = GroupKeyValue(current.Group, key);
        const TVersionEdit was = GroupKeyValue(base.Group, key);
        if (SameValue(edit, was))
            continue;
        const TVersionEdit disk = GroupKeyValue(fresh.Group, key);
        if (!SameValue(disk, was) && !SameValue(disk, edit))
            conflicts.append(Conflict(QString(), disk, edit));
        ApplyGroupEdit(fresh.Group, edit);
    }
    for (int i = 0; i < fresh.Projects.Count(); ++i) {
        TProjectEntry& entry = fresh.Projects[i];
        const TProjectData* mine = current.Find(entry.Text);
        const TProjectData* was = base.Find(entry.Text);
        // A project the window did not know when it last read the disk holds
        // no edit of the user's.
        if (!mine || !was || !entry.Info)
            continue;
        QList<TVersionEdit> edits;
        for (TEditKey key : ProjectSettingsKeys()) {
            const TVersionEdit edit = ProjectKeyValue(*mine, key);
            if (SameValue(edit, ProjectKeyValue(*was, key)))
                continue;
            const TVersionEdit disk = ProjectKeyValue(entry.Info->ProjectData, key);
            // Entries sharing a section are one project: reported once.
            if (!SameValue(disk, ProjectKeyValue(*was, key)) && !SameValue(disk, edit) &&
                fresh.Projects.IndexOf(entry.Text) == i)
                conflicts.append(Conflict(entry.Text, disk, edit));
            edits.append(edit);
        }
        if (!edits.isEmpty())
            ApplyProjectEdits(entry, edits);
    }
    return conflicts;
}

QString ConflictLine(const TSettingsConflict& conflict)
{
    const QString where = conflict.Entry.isEmpty() ? Tr("Project group") : conflict.Entry;
    return Tr("%1: %2 was changed on disk to \"%3\" and in the window to \"%4\"; the window's "
              "value is kept")
        .arg(where, EditKeyName(conflict.Key), conflict.OnDisk, conflict.Kept);
}
