#pragma once

#include <QtGlobal>
#include <initializer_list>

// What a project is marked for: checked for generation, built for Win32, Win64.
enum TProjectState : quint8 { psEnabled = 0, psWin32 = 1, psWin64 = 2 };

// A set of TProjectState held in one byte; bit n stands for the state of value n.
class TProjectStates
{
public:
    constexpr TProjectStates() = default;
    constexpr TProjectStates(std::initializer_list<TProjectState> states)
    {
        for (TProjectState s : states)
            FBits = static_cast<quint8>(FBits | (1u << s));
    }
    constexpr bool Contains(TProjectState s) const { return (FBits >> s) & 1u; }
    void Include(TProjectState s) { FBits = static_cast<quint8>(FBits | (1u << s)); }
    void Exclude(TProjectState s) { FBits = static_cast<quint8>(FBits & ~(1u << s)); }
    void Set(TProjectState s, bool on) { on ? Include(s) : Exclude(s); }
    constexpr quint8 Bits() const { return FBits; }
    constexpr bool operator==(TProjectStates o) const { return FBits == o.FBits; }
    constexpr bool operator!=(TProjectStates o) const { return FBits != o.FBits; }

private:
    quint8 FBits = 0;
};

// The bit mask of a state set: 1 psEnabled, 2 psWin32, 4 psWin64.
int StatesToInt(TProjectStates states);
// The set made of bits 0 to 2 of the value; all other bits are ignored.
TProjectStates IntToStates(qint64 value);
