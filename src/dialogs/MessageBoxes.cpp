#include "dialogs/MessageBoxes.h"

#include "support/Translation.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QWidget>

namespace
{

QScreen* MonitorScreen(TDefaultMonitor monitor)
{
    QWidget* window = nullptr;
    switch (monitor) {
    case dmActiveForm:
        window = QApplication::activeWindow();
        break;
    case dmMainForm: {
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops)
            if (w->isVisible() && !w->parentWidget()) {
                window = w;
                break;
            }
        break;
    }
    case dmDesktop:
    case dmPrimary:
        break;
    }
    if (window && window->screen())
        return window->screen();
    return QGuiApplication::primaryScreen();
}

void CenterOn(QMessageBox& box, TDefaultMonitor monitor)
{
    box.adjustSize();
    if (QScreen* screen = MonitorScreen(monitor)) {
        const QRect area =
            monitor == dmDesktop ? screen->virtualGeometry() : screen->availableGeometry();
        QRect frame = box.frameGeometry();
        frame.moveCenter(area.center());
        box.move(frame.topLeft());
    }
}

int ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& title,
            const QString& text, TDefaultMonitor monitor)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (!title.isEmpty()) {
        box.setWindowTitle(title);
        // The caption must be readable in full: widen the box to the title.
        const int wanted = QFontMetrics(box.font()).horizontalAdvance(title) + 50;
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
            grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                          grid->rowCount(), 0, 1, grid->columnCount());
    }
    CenterOn(box, monitor);
    box.exec();
    // One OK button: its result is 1, whatever closed the box.
    return 1;
}

} // namespace

int TMessageBoxes::ShowInfo(const QString& Title, const QString& Text, TDefaultMonitor Monitor)
{
    return ShowBox(QMessageBox::Information, Tr("Information"), Title, Text, Monitor);
}

int TMessageBoxes::ShowError(const QString& Text, TDefaultMonitor Monitor)
{
    return ShowBox(QMessageBox::Critical, Tr("Error"), QString(), Text, Monitor);
}

bool TMessageBoxes::Confirm(const QString& Text, TDefaultMonitor Monitor)
{
    QMessageBox box(QMessageBox::Question, Tr("Confirm"), Text, QMessageBox::Yes | QMessageBox::No);
    // Enter or Esc by mistake changes nothing.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    CenterOn(box, Monitor);
    return box.exec() == QMessageBox::Yes;
}
