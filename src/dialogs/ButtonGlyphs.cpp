#include "dialogs/ButtonGlyphs.h"

#include "dialogs/DialogGeometry.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

namespace
{

// Dynamic properties under which a button keeps its whole glyph bitmap.
constexpr const char* GlyphProperty = "quorvelGlyph";
constexpr const char* NumGlyphsProperty = "quorvelNumGlyphs";

// One image of the glyph with its background colour made transparent.
QPixmap GlyphImage(const QImage& glyph, int index, int imageWidth)
{
    QImage image = glyph.copy(index * imageWidth, 0, imageWidth, glyph.height())
                       .convertToFormat(QImage::Format_ARGB32);
    const QRgb background = glyph.pixel(0, glyph.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}

bool HoldsControls(const QWidget* w)
{
    if (qobject_cast<const QGroupBox*>(w))
        return true;
    // Plain panels; composite controls (lists, combos) keep their parts to themselves.
    const char* cls = w->metaObject()->className();
    return qstrcmp(cls, "QWidget") == 0 || qstrcmp(cls, "QFrame") == 0;
}

} // namespace

void SetButtonGlyph(QAbstractButton* Button, const QPixmap& Glyph, int NumGlyphs)
{
    if (!Button)
        return;
    if (Glyph.isNull() || NumGlyphs < 1) {
        Button->setProperty(GlyphProperty, QVariant());
        Button->setProperty(NumGlyphsProperty, QVariant());
        Button->setIcon(QIcon());
        return;
    }
    Button->setProperty(GlyphProperty, Glyph);
    Button->setProperty(NumGlyphsProperty, NumGlyphs);

    const QImage glyph = Glyph.toImage();
    const int imageWidth = glyph.width() / NumGlyphs;
    QIcon icon;
    icon.addPixmap(GlyphImage(glyph, 0, imageWidth), QIcon::Normal);
    if (NumGlyphs >= 2)
        icon.addPixmap(GlyphImage(glyph, 1, imageWidth), QIcon::Disabled);
    Button->setIcon(icon);
    Button->setIconSize(QSize(imageWidth, glyph.height()));
}

QPixmap ButtonGlyph(const QAbstractButton* Button)
{
    return Button ? Button->property(GlyphProperty).value<QPixmap>() : QPixmap();
}

int ButtonGlyphCount(const QAbstractButton* Button)
{
    return Button ? Button->property(NumGlyphsProperty).toInt() : 0;
}

void ScaleButtonGlyph(QWidget* Control, int FromDPI, int ToDPI)
{
    if (!ShouldScaleButtonGlyph(FromDPI, ToDPI))
        return;
    auto* button = qobject_cast<QAbstractButton*>(Control);
    const auto* tool = qobject_cast<QToolButton*>(Control);
    const bool pushWithGlyph = qobject_cast<QPushButton*>(Control) && !ButtonGlyph(button).isNull();
    const bool flatSpeed = tool && tool->autoRaise();
    if (!pushWithGlyph && !flatSpeed)
        return;
    const QPixmap glyph = ButtonGlyph(button);
    if (glyph.isNull())
        return;
    SetButtonGlyph(button, ScaleGlyphPixmap(glyph, FromDPI, ToDPI), ButtonGlyphCount(button));
}

void ScaleGlyphs(QWidget* Container, int FromDPI, int ToDPI)
{
    if (!Container || !ShouldScaleGlyphs(FromDPI, ToDPI))
        return;
    const QObjectList children = Container->children();
    for (QObject* child : children) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        ScaleButtonGlyph(w, FromDPI, ToDPI);
        if (HoldsControls(w))
            ScaleGlyphs(w, FromDPI, ToDPI);
    }
}
