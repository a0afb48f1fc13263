#include "dialogs/DialogGeometry.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cstdint>
#include <limits>

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    // Both magnitudes fit: a product of two ints is at most 2^62.
    const std::uint64_t absProduct = std::uint64_t(product < 0 ? -product : product);
    const std::uint64_t absDenominator =
        std::uint64_t(denominator < 0 ? -std::int64_t(denominator) : std::int64_t(denominator));
    // Adding half the divisor before dividing the magnitudes rounds halves away from zero.
    const std::uint64_t quotient = (absProduct + absDenominator / 2) / absDenominator;
    if (quotient > std::uint64_t(std::numeric_limits<int>::max()))
        return -1;
    return negative ? -int(quotient) : int(quotient);
}

QPoint FitToWorkArea(QPoint pos, QSize size, const QRect& workArea)
{
    // Right and bottom as Windows counts them: the first pixel outside.
    const int left = workArea.x();
    const int top = workArea.y();
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    int x = pos.x();
    int y = pos.y();
    if (x + size.width() > right)
        x = right - size.width() - 20;
    if (x < left)
        x = left + 20;
    if (y + size.height() > bottom)
        y = bottom - size.height() - 30;
    if (y < top)
        y = top + 20;
    return QPoint(x, y);
}

namespace
{

// Squared distance from the point to the nearest pixel of the rectangle.
qint64 DistanceSquared(const QRect& rect, QPoint point)
{
    const qint64 right = qint64(rect.x()) + rect.width() - 1;
    const qint64 bottom = qint64(rect.y()) + rect.height() - 1;
    qint64 dx = 0;
    if (point.x() < rect.x())
        dx = qint64(rect.x()) - point.x();
    else if (point.x() > right)
        dx = point.x() - right;
    qint64 dy = 0;
    if (point.y() < rect.y())
        dy = qint64(rect.y()) - point.y();
    else if (point.y() > bottom)
        dy = point.y() - bottom;
    return dx * dx + dy * dy;
}

} // namespace

int NearestScreenIndex(const QList<QRect>& screens, QPoint point)
{
    int best = -1;
    qint64 bestDistance = 0;
    for (int i = 0; i < screens.size(); ++i) {
        if (screens[i].contains(point))
            return i;
        const qint64 distance = DistanceSquared(screens[i], point);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void FitToMonitor(int& X, int& Y, int Width, int Height)
{
    const QPoint point(X, Y);
    QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr) {
        // A point between or beside the monitors takes the nearest one.
        const QList<QScreen*> screens = QGuiApplication::screens();
        QList<QRect> geometries;
        for (QScreen* s : screens)
            geometries << s->geometry();
        const int index = NearestScreenIndex(geometries, point);
        if (index < 0)
            return;
        screen = screens[index];
    }
    const QPoint fitted = FitToWorkArea(point, QSize(Width, Height), screen->availableGeometry());
    X = fitted.x();
    Y = fitted.y();
}

int ScaledGlyphSize(int size, int fromDpi, int toDpi)
{
    return MulDiv(size, toDpi, fromDpi);
}

bool ShouldScaleGlyphs(int fromDpi, int toDpi)
{
    return MulDiv(100, toDpi, fromDpi) >= 120;
}

bool ShouldScaleButtonGlyph(int fromDpi, int toDpi)
{
    return MulDiv(100, toDpi, fromDpi) >= 130;
}

QPixmap ScaleGlyphPixmap(const QPixmap& glyph, int fromDpi, int toDpi)
{
    if (glyph.isNull() || !ShouldScaleButtonGlyph(fromDpi, toDpi))
        return glyph;
    QPixmap scaled(ScaledGlyphSize(glyph.width(), fromDpi, toDpi),
                   ScaledGlyphSize(glyph.height(), fromDpi, toDpi));
    scaled.fill(Qt::white);
    QPainter painter(&scaled);
    painter.drawPixmap(scaled.rect(), glyph, glyph.rect());
    return scaled;
}
