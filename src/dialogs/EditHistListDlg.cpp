#include "dialogs/EditHistListDlg.h"

#include "dialogs/ButtonGlyphs.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/TranslateComponent.h"
#include "support/Translation.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <functional>

namespace
{

// The dialog is laid out for this resolution.
constexpr int DesignDpi = 96;
constexpr int ClientWidth = 336;
constexpr int ClientHeight = 276;
constexpr int ButtonColumnWidth = 111;

// Glyph backgrounds take this colour; the bottom-left pixel tells it to the
// buttons, which show it transparent.
const QColor GlyphBackground(255, 0, 255);
const QColor DisabledShade(128, 128, 128);
const QColor DisabledHighlight(255, 255, 255);

using TGlyphShape = std::function<void(QPainter&, const QColor&)>;

// A glyph of two square-ish images side by side: the shape in its colour, then
// the disabled look (grey with a white highlight below right). Drawn without
// antialiasing so that no edge pixel mixes with the background colour.
QPixmap MakeGlyph(int imageWidth, int imageHeight, const QColor& color, const TGlyphShape& shape)
{
    QPixmap glyph(2 * imageWidth, imageHeight);
    glyph.fill(GlyphBackground);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing, false);
    shape(painter, color);
    painter.translate(imageWidth + 1, 1);
    shape(painter, DisabledHighlight);
    painter.translate(-1, -1);
    shape(painter, DisabledShade);
    return glyph;
}

QPixmap OkGlyph()
{
    return MakeGlyph(16, 16, QColor(0, 128, 0), [](QPainter& p, const QColor& c) {
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 11), QPoint(12, 4)}));
    });
}

QPixmap CancelGlyph()
{
    return MakeGlyph(16, 16, QColor(192, 0, 0), [](QPainter& p, const QColor& c) {
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(4, 4, 11, 11);
        p.drawLine(11, 4, 4, 11);
    });
}

QPixmap RemoveGlyph()
{
    return MakeGlyph(20, 20, QColor(160, 0, 0), [](QPainter& p, const QColor& c) {
        // A struck-out list line.
        p.fillRect(3, 9, 14, 3, c);
        p.setPen(QPen(c, 1));
        p.drawRect(2, 8, 15, 4);
    });
}

QPixmap ArrowGlyph(bool up)
{
    return MakeGlyph(20, 20, QColor(0, 0, 160), [up](QPainter& p, const QColor& c) {
        const QPolygon arrow = up ? QPolygon({QPoint(10, 3), QPoint(17, 11), QPoint(3, 11)})
                                  : QPolygon({QPoint(10, 16), QPoint(17, 8), QPoint(3, 8)});
        p.setPen(c);
        p.setBrush(c);
        p.drawPolygon(arrow);
        p.fillRect(7, up ? 11 : 4, 7, 5, c);
    });
}

// The DPI of the monitor the dialog opens on: its owner's, else its own.
int MonitorDpi(const QWidget* dialog)
{
    const QWidget* owner = dialog->parentWidget();
    QScreen* screen = owner ? owner->screen() : dialog->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : DesignDpi;
}

// The monitor of the window that is active now (the dialog itself is not shown yet).
QScreen* ActiveMonitor(const QWidget* dialog)
{
    if (const QWidget* active = QApplication::activeWindow())
        return active->screen();
    if (const QWidget* owner = dialog->parentWidget())
        return owner->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace

TEditHistListDialog::TEditHistListDialog(QWidget* Owner) : QDialog(Owner)
{
    BuildControls();
    TranslateComponent(this, "dialogs");

    const int dpi = MonitorDpi(this);
    ScaleGlyphs(this, DesignDpi, dpi);
    // The move buttons stay square whatever their glyphs have become.
    for (QToolButton* button : {UpBtn, DownBtn}) {
        const QSize hint = button->sizeHint();
        const int side = qMax(hint.width(), hint.height());
        button->setFixedSize(side, side);
    }
    const int column = MulDiv(ButtonColumnWidth, dpi, DesignDpi);
    for (QWidget* w : std::initializer_list<QWidget*>{btnDelete, gbxMove, OKBtn, CancelBtn})
        w->setFixedWidth(column);
    resize(MulDiv(ClientWidth, dpi, DesignDpi), MulDiv(ClientHeight, dpi, DesignDpi));
}

void TEditHistListDialog::BuildControls()
{
    setObjectName(QStringLiteral("EditHistListDialog"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setSizeGripEnabled(true);
    // Texts are the English originals; TranslateComponent puts them into the user's language.
    setWindowTitle(QStringLiteral(DlgNoop("Edit list entries")));

    lbDesc = new QLabel(this);
    lbDesc->setObjectName(QStringLiteral("lbDesc"));

    lbxStringList = new QListWidget(this);
    lbxStringList->setObjectName(QStringLiteral("lbxStringList"));
    lbxStringList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    btnDelete = new QPushButton(QStringLiteral(DlgNoop("Remove")), this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    btnDelete->setToolTip(QStringLiteral(DlgNoop("Remove item")));
    SetButtonGlyph(btnDelete, RemoveGlyph(), 2);

    gbxMove = new QGroupBox(QStringLiteral(DlgNoop("Move entry")), this);
    gbxMove->setObjectName(QStringLiteral("gbxMove"));
    UpBtn = new QToolButton(gbxMove);
    UpBtn->setObjectName(QStringLiteral("UpBtn"));
    UpBtn->setToolTip(QStringLiteral(DlgNoop("Move item up")));
    DownBtn = new QToolButton(gbxMove);
    DownBtn->setObjectName(QStringLiteral("DownBtn"));
    DownBtn->setToolTip(QStringLiteral(DlgNoop("Move item down")));
    for (QToolButton* button : {UpBtn, DownBtn}) {
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    SetButtonGlyph(UpBtn, ArrowGlyph(true), 2);
    SetButtonGlyph(DownBtn, ArrowGlyph(false), 2);

    OKBtn = new QPushButton(QStringLiteral(DlgNoop("OK")), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    SetButtonGlyph(OKBtn, OkGlyph(), 2);

    CancelBtn = new QPushButton(QStringLiteral(DlgNoop("Cancel")), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    SetButtonGlyph(CancelBtn, CancelGlyph(), 2);

    auto* moveLayout = new QHBoxLayout(gbxMove);
    moveLayout->addStretch(1);
    moveLayout->addWidget(UpBtn);
    moveLayout->addWidget(DownBtn);
    moveLayout->addStretch(1);

    // The button column keeps to the bottom-right corner; the list takes the rest.
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addStretch(1);
    buttonColumn->addWidget(btnDelete);
    buttonColumn->addWidget(gbxMove);
    buttonColumn->addWidget(OKBtn);
    buttonColumn->addWidget(CancelBtn);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lbDesc, 0, 0);
    grid->addWidget(lbxStringList, 1, 0);
    grid->addLayout(buttonColumn, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);

    // Enter means OK wherever the focus is: a clicked button does not take
    // the default over, as push buttons in dialogs otherwise do.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    connect(btnDelete, &QPushButton::clicked, this, &TEditHistListDialog::btnDeleteClick);
    connect(UpBtn, &QToolButton::clicked, this, &TEditHistListDialog::UpBtnClick);
    connect(DownBtn, &QToolButton::clicked, this, &TEditHistListDialog::DownBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TEditHistListDialog::PlaceAt(const QPoint& APos)
{
    // The outer size needs the window frame, which the platform tells once the
    // window exists (some window managers only after it is shown: then 0).
    create();
    QSize outer = size();
    if (const QWindow* window = windowHandle())
        outer = outer.grownBy(window->frameMargins());

    if (APos.x() < 0 || APos.y() < 0) {
        // A negative coordinate may well be a real point on a monitor left of
        // or above the primary one; the caller asks for centring all the same.
        if (QScreen* screen = ActiveMonitor(this)) {
            QRect frame(QPoint(), outer);
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        return;
    }
    int x = APos.x();
    int y = APos.y();
    FitToMonitor(x, y, outer.width(), outer.height());
    move(x, y);
}

void TEditHistListDialog::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    // Windows opens a tool window without giving it the keyboard, which then
    // stays with the blocked main window: Enter and Esc would reach neither.
    activateWindow();
}

bool TEditHistListDialog::Execute(const QPoint& APos, const QString& Titel, const QString& Desc,
                                  QStringList& HList)
{
    PlaceAt(APos);
    if (!Titel.isEmpty())
        setWindowTitle(Titel);
    lbDesc->setText(Desc);

    lbxStringList->clear();
    DelList.clear();
    lbxStringList->addItems(HList);
    lbxStringList->clearSelection();
    lbxStringList->setFocus();

    if (exec() != QDialog::Accepted)
        return false;

    // The history's entries carry no objects, so DelList holds nothing to free.
    HList.clear();
    for (int i = 0; i < lbxStringList->count(); ++i)
        HList.append(lbxStringList->item(i)->text());
    return true;
}

THistListState TEditHistListDialog::WorkingState() const
{
    THistListState state;
    for (int i = 0; i < lbxStringList->count(); ++i) {
        const QListWidgetItem* item = lbxStringList->item(i);
        state.Entries << THistEntry{item->text(), item->data(Qt::UserRole)};
        if (item->isSelected())
            state.Selected << i;
    }
    state.Focused = lbxStringList->currentRow();
    return state;
}

void TEditHistListDialog::ShowWorkingState(const THistListState& State)
{
    lbxStringList->clear();
    for (const THistEntry& entry : State.Entries) {
        auto* item = new QListWidgetItem(entry.Text, lbxStringList);
        item->setData(Qt::UserRole, entry.Object);
    }
    if (State.Focused >= 0 && State.Focused < lbxStringList->count())
        lbxStringList->setCurrentRow(State.Focused, QItemSelectionModel::NoUpdate);
    for (int p : State.Selected) {
        if (QListWidgetItem* item = lbxStringList->item(p))
            item->setSelected(true);
    }
    if (QListWidgetItem* focused = lbxStringList->currentItem())
        lbxStringList->scrollToItem(focused);
}

void TEditHistListDialog::btnDeleteClick()
{
    const THistListState state = WorkingState();
    if (state.Selected.isEmpty())
        return;
    const THistListRemoval removal = RemoveSelected(state);
    DelList += removal.Removed;
    ShowWorkingState(removal.State);
}

void TEditHistListDialog::UpBtnClick()
{
    const THistListState state = WorkingState();
    if (state.Entries.isEmpty() || state.Selected.isEmpty())
        return;
    ShowWorkingState(MoveSelectedUp(state));
}

void TEditHistListDialog::DownBtnClick()
{
    const THistListState state = WorkingState();
    if (state.Entries.isEmpty() || state.Selected.isEmpty())
        return;
    ShowWorkingState(MoveSelectedDown(state));
}

bool EditHistoryList(const QPoint& APos, const QString& Titel, const QString& Desc,
                     QStringList& HList)
{
    TEditHistListDialog dialog(QApplication::activeWindow());
    return dialog.Execute(APos, Titel, Desc, HList);
}
