#include "dialogs/ButtonGlyphs.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWidget>

namespace
{

const QColor Background(255, 0, 255);
const QColor NormalMark(200, 0, 0);
const QColor DisabledMark(0, 0, 200);

// Two images side by side on the background colour, each with a square mark
// in its middle: red in the normal image, blue in the disabled one.
QPixmap TestGlyph(int imageWidth, int imageHeight)
{
    QPixmap glyph(2 * imageWidth, imageHeight);
    glyph.fill(Background);
    QPainter painter(&glyph);
    const QRect mark(imageWidth / 4, imageHeight / 4, imageWidth / 2, imageHeight / 2);
    painter.fillRect(mark, NormalMark);
    painter.fillRect(mark.translated(imageWidth, 0), DisabledMark);
    return glyph;
}

QImage IconImage(const QAbstractButton* button, QIcon::Mode mode)
{
    return button->icon()
        .pixmap(button->iconSize(), mode)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

// A dialog-like container: buttons directly on it, one inside a group box.
struct TContainer {
    QWidget Window;
    QPushButton* GlyphButton = new QPushButton(QStringLiteral("OK"), &Window);
    QPushButton* PlainButton = new QPushButton(QStringLiteral("Plain"), &Window);
    QToolButton* RaisedTool = new QToolButton(&Window);
    QToolButton* FlatTool = nullptr;
    QGroupBox* Box = new QGroupBox(QStringLiteral("Move entry"), &Window);
    QPushButton* BoxButton = new QPushButton(Box);
    QLabel* Label = new QLabel(QStringLiteral("text"), &Window);

    TContainer()
    {
        FlatTool = new QToolButton(Box);
        FlatTool->setAutoRaise(true);
        SetButtonGlyph(GlyphButton, TestGlyph(16, 16), 2);
        SetButtonGlyph(RaisedTool, TestGlyph(16, 16), 2);
        SetButtonGlyph(FlatTool, TestGlyph(20, 20), 2);
        SetButtonGlyph(BoxButton, TestGlyph(20, 20), 2);
    }
};

} // namespace

class ButtonGlyphsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconImages_data();
    void iconImages();
    void withoutGlyph();
    void scaleGlyphs_data();
    void scaleGlyphs();
};

void ButtonGlyphsTest::iconImages_data()
{
    QTest::addColumn<int>("imageWidth");
    QTest::addColumn<int>("imageHeight");
    QTest::newRow("OK and Cancel") << 16 << 16;
    QTest::newRow("Remove, Up and Down") << 20 << 20;
    QTest::newRow("wide images") << 24 << 12;
}

void ButtonGlyphsTest::iconImages()
{
    QFETCH(int, imageWidth);
    QFETCH(int, imageHeight);

    QPushButton button;
    const QPixmap glyph = TestGlyph(imageWidth, imageHeight);
    SetButtonGlyph(&button, glyph, 2);

    QCOMPARE(ButtonGlyph(&button).size(), glyph.size());
    QCOMPARE(ButtonGlyphCount(&button), 2);
    QCOMPARE(button.iconSize(), QSize(imageWidth, imageHeight));

    const QImage normal = IconImage(&button, QIcon::Normal);
    const QImage disabled = IconImage(&button, QIcon::Disabled);
    QCOMPARE(normal.size(), QSize(imageWidth, imageHeight));
    const QPoint middle(imageWidth / 2, imageHeight / 2);
    QCOMPARE(QColor(normal.pixel(middle)), NormalMark);
    QCOMPARE(QColor(disabled.pixel(middle)), DisabledMark);
    // The background colour of the bottom-left pixel is shown transparent.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(imageWidth - 1, imageHeight - 1), QPoint(0, imageHeight - 1)}) {
        QCOMPARE(qAlpha(normal.pixel(corner)), 0);
        QCOMPARE(qAlpha(disabled.pixel(corner)), 0);
    }
    QCOMPARE(qAlpha(normal.pixel(middle)), 255);
}

void ButtonGlyphsTest::withoutGlyph()
{
    QPushButton button;
    QVERIFY(ButtonGlyph(&button).isNull());
    QCOMPARE(ButtonGlyphCount(&button), 0);
    SetButtonGlyph(&button, TestGlyph(16, 16), 2);
    SetButtonGlyph(&button, QPixmap(), 2);
    QVERIFY(ButtonGlyph(&button).isNull());
    QVERIFY(button.icon().isNull());
    QVERIFY(ButtonGlyph(nullptr).isNull());
}

void ButtonGlyphsTest::scaleGlyphs_data()
{
    QTest::addColumn<int>("toDpi");
    QTest::addColumn<QSize>("small"); // a 32 x 16 glyph afterwards
    QTest::addColumn<QSize>("large"); // a 40 x 20 glyph afterwards

    QTest::newRow("96 DPI: as drawn") << 96 << QSize(32, 16) << QSize(40, 20);
    QTest::newRow("120 DPI (125 %): as drawn") << 120 << QSize(32, 16) << QSize(40, 20);
    QTest::newRow("124 DPI (129 %): as drawn") << 124 << QSize(32, 16) << QSize(40, 20);
    QTest::newRow("125 DPI (130 %): enlarged") << 125 << QSize(42, 21) << QSize(52, 26);
    QTest::newRow("144 DPI (150 %)") << 144 << QSize(48, 24) << QSize(60, 30);
    QTest::newRow("192 DPI (200 %)") << 192 << QSize(64, 32) << QSize(80, 40);
    QTest::newRow("72 DPI: never smaller") << 72 << QSize(32, 16) << QSize(40, 20);
}

void ButtonGlyphsTest::scaleGlyphs()
{
    QFETCH(int, toDpi);
    QFETCH(QSize, small);
    QFETCH(QSize, large);

    TContainer c;
    ScaleGlyphs(&c.Window, 96, toDpi);

    QCOMPARE(ButtonGlyph(c.GlyphButton).size(), small);
    QCOMPARE(c.GlyphButton->iconSize(), QSize(small.width() / 2, small.height()));
    // Buttons inside the group box are reached too.
    QCOMPARE(ButtonGlyph(c.BoxButton).size(), large);
    QCOMPARE(ButtonGlyph(c.FlatTool).size(), large);
    QCOMPARE(c.FlatTool->iconSize(), QSize(large.width() / 2, large.height()));
    // A raised tool button is no glyph button: it keeps its glyph.
    QCOMPARE(ButtonGlyph(c.RaisedTool).size(), QSize(32, 16));
    QVERIFY(ButtonGlyph(c.PlainButton).isNull());
    QVERIFY(c.PlainButton->icon().isNull());
    QCOMPARE(ButtonGlyphCount(c.GlyphButton), 2);

    // Stretched as one picture: each half still shows its own image.
    const QImage normal = IconImage(c.GlyphButton, QIcon::Normal);
    const QImage disabled = IconImage(c.GlyphButton, QIcon::Disabled);
    const QPoint middle(small.width() / 4, small.height() / 2);
    QCOMPARE(QColor(normal.pixel(middle)), NormalMark);
    QCOMPARE(QColor(disabled.pixel(middle)), DisabledMark);
    QCOMPARE(qAlpha(normal.pixel(0, small.height() - 1)), 0);
}

QTEST_MAIN(ButtonGlyphsTest)
#include "ButtonGlyphsTest.moc"
