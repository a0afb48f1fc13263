#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The list editor's operations on its working list, kept apart from the list
// box so that the moves and removals can be checked without a window. Each
// operation takes the list with its selection and focus and returns them as
// they are afterwards.

// One entry of the working list: its text and the object attached to it (a
// pointer or an index, as the list's owner keeps it; invalid for none).
struct THistEntry {
    QString Text;
    QVariant Object;
};

inline bool operator==(const THistEntry& a, const THistEntry& b)
{
    return a.Text == b.Text && a.Object == b.Object;
}

// The working list as the list box shows it.
struct THistListState {
    QList<THistEntry> Entries;
    QList<int> Selected; // selected positions; any order given, ascending returned
    int Focused = -1;    // focused position, -1 for none
};

// The result of a removal: the list afterwards and the removed entries in the
// order they were taken out (last position first).
struct THistListRemoval {
    THistListState State;
    QList<THistEntry> Removed;
};

// Removes every selected entry. The entry at the old focus position (or the
// new last entry when that position is gone) is focused and selected alone;
// an emptied list has neither. Without a selection nothing changes.
THistListRemoval RemoveSelected(const THistListState& state);

// Moves every selected entry up by one, except a block of selected entries
// that already starts at the top. The moved entries stay selected and the
// topmost of them gets the focus. Without a selection nothing changes.
THistListState MoveSelectedUp(const THistListState& state);

// The mirror image of MoveSelectedUp; the bottommost entry gets the focus.
THistListState MoveSelectedDown(const THistListState& state);
