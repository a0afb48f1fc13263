#include "project/ProjectList.h"

#include "support/TextHelpers.h"

QStringList TProjectList::Texts() const
{
    QStringList result;
    for (const TProjectEntry& e : FEntries)
        result.append(e.Text);
    return result;
}

void TProjectList::FreeListObjects()
{
    for (TProjectEntry& e : FEntries)
        e.Info.reset();
}

void TProjectList::Clear()
{
    FreeListObjects();
    FEntries.clear();
}

void TProjectList::SetChecked(int index, bool checked)
{
    TProjectEntry& e = FEntries.at(size_t(index));
    e.Checked = checked;
    if (e.Info)
        e.Info->ProjectData.Status.Set(psEnabled, checked);
}

void TProjectList::SetAllChecked(bool checked)
{
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, checked);
}

int TProjectList::IndexOf(const QString& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FEntries[size_t(i)].Text, text))
            return i;
    return -1;
}
