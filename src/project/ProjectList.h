#pragma once

#include "project/ProjectInfo.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// One entry of the project list: the project's name as the group file gives
// it, its check mark, and its data once the settings are loaded.
struct TProjectEntry {
    QString Text;
    bool Checked = false;
    std::unique_ptr<TProjectInfo> Info;

    // The entry's data; the data of a project never seen while it has none.
    TProjectData Data() const { return Info ? Info->ProjectData : TProjectData(); }
};

// The ordered project list of the open group. It owns the attached objects.
class TProjectList
{
public:
    int Count() const { return int(FEntries.size()); }
    bool IsEmpty() const { return FEntries.empty(); }
    void Add(const QString& text) { FEntries.push_back(TProjectEntry{text, false, nullptr}); }
    TProjectEntry& operator[](int index) { return FEntries.at(size_t(index)); }
    const TProjectEntry& operator[](int index) const { return FEntries.at(size_t(index)); }
    QStringList Texts() const;

    // Frees the object attached to each entry and detaches it.
    void FreeListObjects();
    // Frees the objects and removes every entry.
    void Clear();
    // Sets the check mark of an entry and keeps psEnabled of its data in step.
    void SetChecked(int index, bool checked);
    // Checks or unchecks every entry, with psEnabled in step.
    void SetAllChecked(bool checked);
    // Index of the first entry whose text equals the text without regard to case; -1 if none.
    int IndexOf(const QString& text) const;

private:
    std::vector<TProjectEntry> FEntries;
};
