#include "dialogs/DialogGeometry.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

class DialogGeometryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mulDiv_data();
    void mulDiv();
    void fitToWorkArea_data();
    void fitToWorkArea();
    void nearestScreenIndex_data();
    void nearestScreenIndex();
    void fitToMonitor_data();
    void fitToMonitor();
    void glyphThresholds_data();
    void glyphThresholds();
    void scaleGlyphPixmap_data();
    void scaleGlyphPixmap();
};

void DialogGeometryTest::mulDiv_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("expected");

    const int maxInt = std::numeric_limits<int>::max();
    QTest::newRow("150 % at 144 DPI") << 100 << 144 << 96 << 150;
    QTest::newRow("125 % at 120 DPI") << 100 << 120 << 96 << 125;
    QTest::newRow("130.2 % rounds down") << 100 << 125 << 96 << 130;
    QTest::newRow("129.2 % rounds down") << 100 << 124 << 96 << 129;
    QTest::newRow("119.8 % rounds up") << 100 << 115 << 96 << 120;
    QTest::newRow("glyph width at 144 DPI") << 32 << 144 << 96 << 48;
    QTest::newRow("half rounds up") << 3 << 1 << 2 << 2;
    QTest::newRow("half rounds up from even") << 5 << 1 << 2 << 3;
    QTest::newRow("negative half rounds down") << -3 << 1 << 2 << -2;
    QTest::newRow("negative numerator") << 3 << -1 << 2 << -2;
    QTest::newRow("negative denominator") << 3 << 1 << -2 << -2;
    QTest::newRow("two negatives") << -3 << -1 << 2 << 2;
    QTest::newRow("all negative") << -3 << -1 << -2 << -2;
    QTest::newRow("one third") << 1 << 1 << 3 << 0;
    QTest::newRow("two thirds") << 2 << 1 << 3 << 1;
    QTest::newRow("minus two thirds") << -2 << 1 << 3 << -1;
    QTest::newRow("zero") << 0 << 5 << -7 << 0;
    QTest::newRow("64-bit intermediate") << 2000000000 << 3 << 4 << 1500000000;
    QTest::newRow("largest int") << maxInt << maxInt << maxInt << maxInt;
    QTest::newRow("overflow") << 2000000000 << 2 << 1 << -1;
    QTest::newRow("negative overflow") << -2000000000 << 2 << 1 << -1;
    QTest::newRow("zero denominator") << 5 << 7 << 0 << -1;
}

void DialogGeometryTest::mulDiv()
{
    QFETCH(int, number);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QTEST(MulDiv(number, numerator, denominator), "expected");
}

void DialogGeometryTest::fitToWorkArea_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QPoint>("expected");

    const QRect fullHd(0, 0, 1920, 1040);
    QTest::newRow("overhangs right and bottom")
        << QPoint(1800, 1000) << QSize(300, 200) << fullHd << QPoint(1600, 810);
    QTest::newRow("wider than the work area")
        << QPoint(100, 100) << QSize(2000, 200) << fullHd << QPoint(20, 100);
    QTest::newRow("taller than the work area")
        << QPoint(100, 0) << QSize(300, 1200) << fullHd << QPoint(100, 20);
    QTest::newRow("inside") << QPoint(500, 400) << QSize(300, 200) << fullHd << QPoint(500, 400);
    QTest::newRow("touching right and bottom edges")
        << QPoint(1620, 840) << QSize(300, 200) << fullHd << QPoint(1620, 840);
    QTest::newRow("one pixel over the right edge")
        << QPoint(1621, 840) << QSize(300, 200) << fullHd << QPoint(1600, 840);
    QTest::newRow("one pixel over the bottom edge")
        << QPoint(1620, 841) << QSize(300, 200) << fullHd << QPoint(1620, 810);
    QTest::newRow("left of the work area")
        << QPoint(-50, 10) << QSize(300, 200) << fullHd << QPoint(20, 10);
    QTest::newRow("above the work area")
        << QPoint(10, -5) << QSize(300, 200) << fullHd << QPoint(10, 20);
    QTest::newRow("at the top-left corner")
        << QPoint(0, 0) << QSize(300, 200) << fullHd << QPoint(0, 0);
    QTest::newRow("task bar at the top")
        << QPoint(100, 10) << QSize(300, 200) << QRect(0, 40, 1920, 1040) << QPoint(100, 60);
    QTest::newRow("secondary monitor on the right")
        << QPoint(3100, 900) << QSize(300, 200) << QRect(1920, 0, 1280, 984) << QPoint(2880, 754);
    QTest::newRow("secondary monitor on the left")
        << QPoint(-1300, 10) << QSize(300, 200) << QRect(-1280, 0, 1280, 1024) << QPoint(-1260, 10);
    QTest::newRow("wider than the secondary monitor")
        << QPoint(2000, 10) << QSize(1400, 200) << QRect(1920, 0, 1280, 984) << QPoint(1940, 10);
}

void DialogGeometryTest::fitToWorkArea()
{
    QFETCH(QPoint, pos);
    QFETCH(QSize, size);
    QFETCH(QRect, workArea);
    QTEST(FitToWorkArea(pos, size, workArea), "expected");
}

void DialogGeometryTest::nearestScreenIndex_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("expected");

    const QList<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QTest::newRow("on the primary") << two << QPoint(100, 100) << 0;
    QTest::newRow("on the secondary") << two << QPoint(2000, 10) << 1;
    QTest::newRow("first column of the secondary") << two << QPoint(1920, 0) << 1;
    QTest::newRow("last pixel of the primary") << two << QPoint(1919, 1079) << 0;
    QTest::newRow("below the secondary") << two << QPoint(2500, 1050) << 1;
    QTest::newRow("below the primary") << two << QPoint(1900, 1100) << 0;
    QTest::newRow("left of all") << two << QPoint(-50, 500) << 0;
    QTest::newRow("right of all") << two << QPoint(3300, 5) << 1;
    QTest::newRow("no screen") << QList<QRect>{} << QPoint(0, 0) << -1;
}

void DialogGeometryTest::nearestScreenIndex()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, point);
    QTEST(NearestScreenIndex(screens, point), "expected");
}

// The program runs on two offscreen monitors (see main): the primary of
// 1920 x 1040 at (0, 0) and a secondary of 1280 x 1024 on its right.
void DialogGeometryTest::fitToMonitor_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("primary") << QPoint(1800, 1000) << QSize(300, 200) << QPoint(1600, 810);
    QTest::newRow("secondary") << QPoint(3100, 900) << QSize(300, 200) << QPoint(2880, 794);
    QTest::newRow("point on the secondary, window overhanging it")
        << QPoint(1920, 10) << QSize(1400, 200) << QPoint(1940, 10);
    QTest::newRow("point right of all monitors")
        << QPoint(3500, 100) << QSize(300, 200) << QPoint(2880, 100);
    QTest::newRow("point left of all monitors")
        << QPoint(-100, 100) << QSize(300, 200) << QPoint(20, 100);
    QTest::newRow("inside the primary") << QPoint(200, 300) << QSize(300, 200) << QPoint(200, 300);
}

void DialogGeometryTest::fitToMonitor()
{
    if (QGuiApplication::screens().size() != 2 ||
        QGuiApplication::primaryScreen()->availableGeometry() != QRect(0, 0, 1920, 1040))
        QSKIP("needs the two offscreen monitors set up in main");
    QFETCH(QPoint, pos);
    QFETCH(QSize, size);
    QFETCH(QPoint, expected);

    int x = pos.x();
    int y = pos.y();
    FitToMonitor(x, y, size.width(), size.height());
    QCOMPARE(QPoint(x, y), expected);
}

void DialogGeometryTest::glyphThresholds_data()
{
    QTest::addColumn<int>("fromDpi");
    QTest::addColumn<int>("toDpi");
    QTest::addColumn<bool>("scaleGlyphs");
    QTest::addColumn<bool>("scaleButtonGlyph");

    QTest::newRow("96 DPI") << 96 << 96 << false << false;
    QTest::newRow("72 DPI") << 96 << 72 << false << false;
    QTest::newRow("114 DPI: 119 %") << 96 << 114 << false << false;
    QTest::newRow("115 DPI: 119.8 % rounds to 120") << 96 << 115 << true << false;
    QTest::newRow("120 DPI") << 96 << 120 << true << false;
    QTest::newRow("124 DPI: 129 %") << 96 << 124 << true << false;
    QTest::newRow("125 DPI: 130 %") << 96 << 125 << true << true;
    QTest::newRow("144 DPI") << 96 << 144 << true << true;
    QTest::newRow("192 DPI") << 96 << 192 << true << true;
    QTest::newRow("from 120 to 144 DPI") << 120 << 144 << true << false;
    QTest::newRow("no DPI") << 0 << 144 << false << false;
}

void DialogGeometryTest::glyphThresholds()
{
    QFETCH(int, fromDpi);
    QFETCH(int, toDpi);
    QTEST(ShouldScaleGlyphs(fromDpi, toDpi), "scaleGlyphs");
    QTEST(ShouldScaleButtonGlyph(fromDpi, toDpi), "scaleButtonGlyph");
}

void DialogGeometryTest::scaleGlyphPixmap_data()
{
    QTest::addColumn<QSize>("glyphSize");
    QTest::addColumn<int>("toDpi");
    QTest::addColumn<QSize>("expectedSize");

    QTest::newRow("OK glyph at 144 DPI") << QSize(32, 16) << 144 << QSize(48, 24);
    QTest::newRow("Remove glyph at 144 DPI") << QSize(40, 20) << 144 << QSize(60, 30);
    QTest::newRow("Remove glyph at 125 DPI") << QSize(40, 20) << 125 << QSize(52, 26);
    QTest::newRow("OK glyph at 192 DPI") << QSize(32, 16) << 192 << QSize(64, 32);
    QTest::newRow("OK glyph at 96 DPI") << QSize(32, 16) << 96 << QSize(32, 16);
    QTest::newRow("OK glyph at 120 DPI") << QSize(32, 16) << 120 << QSize(32, 16);
}

void DialogGeometryTest::scaleGlyphPixmap()
{
    QFETCH(QSize, glyphSize);
    QFETCH(int, toDpi);
    QFETCH(QSize, expectedSize);

    // Two images side by side: a red normal image and a transparent disabled one.
    QImage source(glyphSize, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    {
        QPainter painter(&source);
        painter.fillRect(QRect(0, 0, glyphSize.width() / 2, glyphSize.height()), Qt::red);
    }
    const QPixmap glyph = QPixmap::fromImage(source);

    const QImage scaled = ScaleGlyphPixmap(glyph, 96, toDpi).toImage();

    QCOMPARE(scaled.size(), expectedSize);
    const int w = scaled.width();
    const int h = scaled.height();
    QCOMPARE(QColor(scaled.pixel(w / 4, h / 2)), QColor(Qt::red));
    QCOMPARE(QColor(scaled.pixel(w / 2 - 1, h - 1)), QColor(Qt::red));
    if (expectedSize == glyphSize) {
        // Left as it was: the transparent half is still transparent.
        QCOMPARE(qAlpha(scaled.pixel(w * 3 / 4, h / 2)), 0);
    } else {
        // The stretched glyph keeps its layout over a white background.
        QCOMPARE(QColor(scaled.pixel(w / 2, 0)), QColor(Qt::white));
        QCOMPARE(QColor(scaled.pixel(w * 3 / 4, h / 2)), QColor(Qt::white));
        QCOMPARE(QColor(scaled.pixel(w - 1, h - 1)), QColor(Qt::white));
    }
}

int main(int argc, char** argv)
{
    // Two monitors side by side, so that placement on the secondary one can be
    // seen. Offscreen monitors have no task bar: the work area is the screen.
    QTemporaryDir dir;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (dir.isValid() && (platform.isEmpty() || platform == "offscreen")) {
        const QString config = dir.filePath(QStringLiteral("screens.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens": [
                {"name": "primary", "x": 0, "y": 0, "width": 1920, "height": 1040,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                {"name": "secondary", "x": 1920, "y": 0, "width": 1280, "height": 1024,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            file.close();
            // The platform's arguments are split at ':', so the file is named
            // without a drive letter: relative to its folder, made current
            // while the platform reads it.
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screens.json");
        }
    }
    const QString started = QDir::currentPath();
    if (dir.isValid())
        QDir::setCurrent(dir.path());
    QGuiApplication app(argc, argv);
    QDir::setCurrent(started);
    DialogGeometryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DialogGeometryTest.moc"
