#pragma once

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

// Window placement inside a monitor's work area and the enlarging of button
// glyphs for high-DPI monitors. The dialogs are laid out for 96 DPI.

// number * numerator / denominator with a 64-bit intermediate, rounded to the
// nearest integer with halves away from zero, as Windows' MulDiv does; -1
// when denominator is 0 or the result does not fit into 32 bits.
int MulDiv(int number, int numerator, int denominator);

// Moves the top-left point of a window of the given outer size so that the
// window stays inside the work area: pulled in with a margin of 20 pixels on
// the right and 30 at the bottom, pushed in with 20 on the left and top. The
// right and bottom edges are exclusive (right = left + width). The four edges
// are checked in the order right, left, bottom, top, so a window larger than
// the work area ends with its left (top) edge 20 pixels inside.
QPoint FitToWorkArea(QPoint pos, QSize size, const QRect& workArea);

// Index of the screen rectangle that holds the point, else of the one nearest
// to it; -1 for an empty list.
int NearestScreenIndex(const QList<QRect>& screens, QPoint point);

// FitToWorkArea with the work area of the monitor nearest to (X, Y) (the point
// itself, not the window's centre). Without any screen, X and Y stay.
void FitToMonitor(int& X, int& Y, int Width, int Height);

// A glyph length at toDpi for a length laid out at fromDpi.
int ScaledGlyphSize(int size, int fromDpi, int toDpi);

// Whether the glyphs of a dialog's buttons are looked at (from 125 % on).
bool ShouldScaleGlyphs(int fromDpi, int toDpi);
// Whether a button's glyph is enlarged (from 130 % on, so 120 DPI keeps it).
bool ShouldScaleButtonGlyph(int fromDpi, int toDpi);

// The glyph enlarged for toDpi: a white bitmap of the scaled size with the
// glyph drawn stretched over all of it, so that several images side by side
// keep their layout. Below the button threshold the glyph comes back as it is.
QPixmap ScaleGlyphPixmap(const QPixmap& glyph, int fromDpi, int toDpi);
