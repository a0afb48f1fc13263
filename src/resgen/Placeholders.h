#pragma once

// The placeholders a resource template may hold. In a template each name is
// written with a "$" in front of it; the template editor lists the rows by
// their description, in table order.

struct TPlaceholder {
    const char* rp; // description shown to the user (translate with Tr)
    const char* ph; // name without the "$"
};

constexpr int PlaceholderCount = 12;

extern const TPlaceholder Placeholders[PlaceholderCount];
