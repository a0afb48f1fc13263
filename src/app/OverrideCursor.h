#pragma once

#include <Qt>

// Shows the busy cursor over the whole program for as long as it lives,
// whatever ends its scope.
class TOverrideCursor
{
public:
    explicit TOverrideCursor(Qt::CursorShape Shape = Qt::BusyCursor);
    ~TOverrideCursor();
    TOverrideCursor(const TOverrideCursor&) = delete;
    TOverrideCursor& operator=(const TOverrideCursor&) = delete;
};
