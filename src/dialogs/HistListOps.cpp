#include "dialogs/HistListOps.h"

#include <algorithm>

namespace
{

// The valid selected positions in ascending order, each once.
QList<int> SortedSelection(const THistListState& state)
{
    QList<int> positions;
    for (int p : state.Selected) {
        if (p >= 0 && p < state.Entries.size())
            positions << p;
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

} // namespace

THistListRemoval RemoveSelected(const THistListState& state)
{
    THistListRemoval result;
    result.State = state;
    const QList<int> selected = SortedSelection(state);
    if (selected.isEmpty())
        return result;

    int f = state.Focused;
    THistListState& s = result.State;
    // From the last entry to the first, so that positions still to come stay valid.
    for (auto p = selected.crbegin(); p != selected.crend(); ++p) {
        result.Removed << s.Entries[*p];
        s.Entries.removeAt(*p);
    }
    if (f < 0 || f >= s.Entries.size())
        f = int(s.Entries.size()) - 1;
    s.Focused = f;
    s.Selected.clear();
    if (f >= 0)
        s.Selected << f;
    return result;
}

THistListState MoveSelectedUp(const THistListState& state)
{
    const QList<int> selected = SortedSelection(state);
    if (state.Entries.isEmpty() || selected.isEmpty())
        return state;

    THistListState s = state;
    s.Selected.clear();
    // A selected block at the top cannot move; the barrier marks its end.
    int barrier = 0;
    for (int p : selected) {
        int position = p;
        if (p > barrier) {
            s.Entries.swapItemsAt(p, p - 1);
            position = p - 1;
        }
        if (position == barrier)
            ++barrier;
        s.Selected << position;
    }
    s.Focused = s.Selected.first();
    return s;
}

THistListState MoveSelectedDown(const THistListState& state)
{
    QList<int> selected = SortedSelection(state);
    if (state.Entries.isEmpty() || selected.isEmpty())
        return state;
    std::reverse(selected.begin(), selected.end());

    THistListState s = state;
    s.Selected.clear();
    // A selected block at the bottom cannot move; the barrier marks its start.
    int barrier = int(s.Entries.size()) - 1;
    for (int p : selected) {
        int position = p;
        if (p < barrier) {
            s.Entries.swapItemsAt(p, p + 1);
            position = p + 1;
        }
        if (position == barrier)
            --barrier;
        s.Selected << position;
    }
    s.Focused = s.Selected.first();
    std::reverse(s.Selected.begin(), s.Selected.end());
    return s;
}
