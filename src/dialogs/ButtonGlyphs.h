#pragma once

#include <QPixmap>

class QAbstractButton;
class QWidget;

// Glyph bitmaps on buttons, as the dialogs draw them: one bitmap holding
// NumGlyphs images of equal width side by side (the normal image first, then
// the disabled one) on a solid background. The background colour is the one
// of the bottom-left pixel and is shown transparent. A button keeps the whole
// bitmap, so that it can be enlarged later as one picture.

// Gives the button the glyph: it shows the first image (and the second one
// while disabled) at the size of one image.
void SetButtonGlyph(QAbstractButton* Button, const QPixmap& Glyph, int NumGlyphs);

// The button's whole glyph bitmap; a null pixmap for a button without one.
QPixmap ButtonGlyph(const QAbstractButton* Button);

// How many images the button's glyph holds; 0 for a button without one.
int ButtonGlyphCount(const QAbstractButton* Button);

// Enlarges the glyph of a push button that has one, or of a flat tool button,
// from FromDPI to ToDPI (from 130 % on); any other control is left alone.
void ScaleButtonGlyph(QWidget* Control, int FromDPI, int ToDPI);

// From 120 % on: ScaleButtonGlyph on every direct child of Container in child
// order, descending into children that hold controls themselves (a group box).
void ScaleGlyphs(QWidget* Container, int FromDPI, int ToDPI);
