#include "support/ProjectState.h"

int StatesToInt(TProjectStates states)
{
    return states.Bits() & 7;
}

TProjectStates IntToStates(qint64 value)
{
    TProjectStates result;
    for (TProjectState s : {psEnabled, psWin32, psWin64})
        result.Set(s, (value >> s) & 1);
    return result;
}
