#pragma once

#include <QFont>
#include <QLatin1String>
#include <QStyle>

class QLabel;
class QSpinBox;
class QToolButton;
class QWidget;

// Building blocks of the window's pages: controls named and captioned as on
// the form.

// Gives the control its form name and returns it.
template <typename T> T* Named(T* Widget, const char* Name)
{
    Widget->setObjectName(QLatin1String(Name));
    return Widget;
}

// A spinner's design range. A stored value outside it widens the range
// rather than being cut (ShowSpin).
struct TSpinRange {
    int Min;
    int Max;
};

// The version spinners: a major version starts at 1, the other parts at 0;
// the form sets no maximum other than 100.
constexpr TSpinRange MajorSpinRange{1, 100};
constexpr TSpinRange PartSpinRange{0, 100};

// An image button; a flat one shows its frame only under the mouse.
QToolButton* ImageButton(QWidget* Parent, const char* Name, QStyle::StandardPixmap Icon,
                         const char* Tooltip, bool Flat = false);
// A spinner whose own edit field carries the form's edit name.
QSpinBox* Spinner(QWidget* Parent, const char* Name, const char* EditName, TSpinRange Range);
// Shows a value in a spinner, widening the design range where the value lies
// outside it, so that showing a project and moving on keeps the value.
void ShowSpin(QSpinBox* Spin, TSpinRange Range, int Value);
// A caption above its field, as labelled edits show it, with an optional
// control right of the field.
QWidget* Labelled(QWidget* Parent, const char* Caption, QWidget* Field, QWidget* Extra = nullptr);
QLabel* BoldLabel(QWidget* Parent, const char* Name, const char* Caption);
// A fixed-pitch font of the design's pixel height.
QFont FixedFont(int PixelSize);
