#include "dialogs/EditHistListDlg.h"
#include "dialogs/ButtonGlyphs.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace
{

// What the driver saw in the open dialog.
struct TSeen {
    QString Caption;
    QString Desc;
    QStringList Entries;
    QList<int> Selected;
    int Current = -1;
    bool ListHasFocus = false;
    QRect Frame;
};

QListWidget* StringList(QWidget* dialog)
{
    return dialog->findChild<QListWidget*>(QStringLiteral("lbxStringList"));
}

template <typename T> T* Control(QWidget* dialog, const char* name)
{
    T* control = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qWarning("control %s is missing", name);
    return control;
}

TSeen Look(QWidget* dialog)
{
    TSeen seen;
    seen.Caption = dialog->windowTitle();
    if (auto* desc = Control<QLabel>(dialog, "lbDesc"))
        seen.Desc = desc->text();
    QListWidget* list = StringList(dialog);
    for (int i = 0; i < list->count(); ++i) {
        seen.Entries << list->item(i)->text();
        if (list->item(i)->isSelected())
            seen.Selected << i;
    }
    seen.Current = list->currentRow();
    seen.ListHasFocus = dialog->focusWidget() == list;
    seen.Frame = dialog->frameGeometry();
    return seen;
}

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers)
{
    QListWidgetItem* item = list->item(row);
    if (!item) {
        qWarning("no row %d", row);
        return;
    }
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

void ClickButton(QWidget* dialog, const char* name)
{
    if (auto* button = Control<QAbstractButton>(dialog, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

// Plays one step of a test script on the open dialog:
// "click n", "ctrl n", "shift n" (mouse on row n), "all" (Ctrl+A), "remove",
// "up", "down", and the closing steps "ok", "cancel", "esc", "enter", "close".
void Play(QDialog* dialog, const QString& step)
{
    QListWidget* list = StringList(dialog);
    const QStringList words = step.split(QLatin1Char(' '));
    const QString verb = words.value(0);
    const int row = words.value(1).toInt();
    if (verb == QLatin1String("click"))
        ClickRow(list, row, Qt::NoModifier);
    else if (verb == QLatin1String("ctrl"))
        ClickRow(list, row, Qt::ControlModifier);
    else if (verb == QLatin1String("shift"))
        ClickRow(list, row, Qt::ShiftModifier);
    else if (verb == QLatin1String("all"))
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    else if (verb == QLatin1String("remove"))
        ClickButton(dialog, "btnDelete");
    else if (verb == QLatin1String("up"))
        ClickButton(dialog, "UpBtn");
    else if (verb == QLatin1String("down"))
        ClickButton(dialog, "DownBtn");
    else if (verb == QLatin1String("ok"))
        ClickButton(dialog, "OKBtn");
    else if (verb == QLatin1String("cancel"))
        ClickButton(dialog, "CancelBtn");
    else if (verb == QLatin1String("esc"))
        QTest::keyClick(list, Qt::Key_Escape);
    else if (verb == QLatin1String("enter")) {
        // Enter in the list reaches the dialog, which presses its default button.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    } else if (verb == QLatin1String("close"))
        dialog->close();
    else
        qWarning("unknown step %s", qPrintable(step));
}

// Runs EditHistoryList while a queued driver works on the modal dialog. The
// driver sees the dialog once it is open; whatever it does, the dialog is
// rejected afterwards if still open, so that a failing test cannot hang.
bool RunEditor(const QPoint& pos, const QString& titel, const QString& desc, QStringList& list,
               const std::function<void(QDialog*)>& driver)
{
    bool driven = false;
    std::function<void()> poll;
    poll = [&]() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            QTimer::singleShot(10, poll);
            return;
        }
        driven = true;
        driver(dialog);
        if (dialog->isVisible())
            dialog->reject();
    };
    QTimer::singleShot(0, poll);
    const bool result = EditHistoryList(pos, titel, desc, list);
    if (!driven)
        qWarning("the dialog was never driven");
    return result;
}

// The frame geometry of the dialog is only final once a platform window exists;
// the offscreen platform draws no frame, so frame and widget geometry agree.
QRect AvailableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

const QStringList Four = {"a", "b", "c", "d"};
const QStringList Five = {"a", "b", "c", "d", "e"};

} // namespace

class EditHistListDlgTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void edit_data();
    void edit();
    void openState_data();
    void openState();
    void placement_data();
    void placement();
    void controls();
    void glyphsOnHighDpi_data();
    void glyphsOnHighDpi();
    void buttonColumnFollowsResize();
    void screenshot();
};

void EditHistListDlgTest::edit_data()
{
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<QStringList>("steps");        // the last one closes the dialog
    QTest::addColumn<QStringList>("shownEntries"); // before the closing step
    QTest::addColumn<QList<int>>("shownSelected");
    QTest::addColumn<int>("shownCurrent");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<QStringList>("expectedList");

    QTest::newRow("remove two, focus on the second, OK")
        << Four << QStringList{"click 1", "ctrl 2", "remove", "ok"} << QStringList{"a", "d"}
        << QList<int>{1} << 1 << true << QStringList{"a", "d"};
    QTest::newRow("remove two by shift, focus on the first, OK")
        << Four << QStringList{"click 2", "shift 1", "remove", "ok"} << QStringList{"a", "d"}
        << QList<int>{1} << 1 << true << QStringList{"a", "d"};
    QTest::newRow("remove the last entry selects the new last")
        << Four << QStringList{"click 3", "remove", "ok"} << QStringList{"a", "b", "c"}
        << QList<int>{2} << 2 << true << QStringList{"a", "b", "c"};
    QTest::newRow("remove twice, the follower each time")
        << Four << QStringList{"click 0", "remove", "remove", "ok"} << QStringList{"c", "d"}
        << QList<int>{0} << 0 << true << QStringList{"c", "d"};
    QTest::newRow("remove, then Cancel")
        << Four << QStringList{"click 1", "remove", "cancel"} << QStringList{"a", "c", "d"}
        << QList<int>{1} << 1 << false << Four;
    QTest::newRow("remove, then Esc")
        << Four << QStringList{"click 0", "ctrl 3", "remove", "esc"} << QStringList{"b", "c"}
        << QList<int>{1} << 1 << false << Four;
    QTest::newRow("remove, then close the window")
        << Four << QStringList{"all", "remove", "close"} << QStringList{} << QList<int>{} << -1
        << false << Four;
    QTest::newRow("remove every entry, OK")
        << Four << QStringList{"all", "remove", "ok"} << QStringList{} << QList<int>{} << -1 << true
        << QStringList{};
    QTest::newRow("remove every entry by clicks, OK")
        << QStringList{"x", "y"} << QStringList{"click 1", "ctrl 0", "remove", "ok"}
        << QStringList{} << QList<int>{} << -1 << true << QStringList{};
    QTest::newRow("up with 0, 1 and 3 of five")
        << Five << QStringList{"click 0", "ctrl 1", "ctrl 3", "up", "ok"}
        << QStringList{"a", "b", "d", "c", "e"} << QList<int>{0, 1, 2} << 0 << true
        << QStringList{"a", "b", "d", "c", "e"};
    QTest::newRow("up with 2 and 3") << Five << QStringList{"click 2", "ctrl 3", "up", "ok"}
                                     << QStringList{"a", "c", "d", "b", "e"} << QList<int>{1, 2}
                                     << 1 << true << QStringList{"a", "c", "d", "b", "e"};
    QTest::newRow("up twice closes the gap")
        << Five << QStringList{"click 1", "ctrl 4", "up", "up", "ok"}
        << QStringList{"b", "a", "e", "c", "d"} << QList<int>{0, 2} << 0 << true
        << QStringList{"b", "a", "e", "c", "d"};
    QTest::newRow("down with the last two: nothing moves")
        << Five << QStringList{"click 3", "ctrl 4", "down", "ok"} << Five << QList<int>{3, 4} << 4
        << true << Five;
    QTest::newRow("down with 0 and 2") << Five << QStringList{"click 0", "ctrl 2", "down", "ok"}
                                       << QStringList{"b", "a", "d", "c", "e"} << QList<int>{1, 3}
                                       << 3 << true << QStringList{"b", "a", "d", "c", "e"};
    QTest::newRow("down to the bottom and past it")
        << Four << QStringList{"click 1", "down", "down", "down", "ok"}
        << QStringList{"a", "c", "d", "b"} << QList<int>{3} << 3 << true
        << QStringList{"a", "c", "d", "b"};
    QTest::newRow("up with nothing selected")
        << Four << QStringList{"up", "ok"} << Four << QList<int>{} << -2 << true << Four;
    QTest::newRow("down with nothing selected")
        << Four << QStringList{"down", "ok"} << Four << QList<int>{} << -2 << true << Four;
    QTest::newRow("remove with nothing selected")
        << Four << QStringList{"remove", "ok"} << Four << QList<int>{} << -2 << true << Four;
    QTest::newRow("move, then Cancel")
        << Four << QStringList{"click 3", "up", "up", "cancel"} << QStringList{"a", "d", "b", "c"}
        << QList<int>{1} << 1 << false << Four;
    QTest::newRow("remove, move, Enter") << Five << QStringList{"click 1", "remove", "up", "enter"}
                                         << QStringList{"c", "a", "d", "e"} << QList<int>{0} << 0
                                         << true << QStringList{"c", "a", "d", "e"};
    QTest::newRow("OK without changes")
        << Four << QStringList{"ok"} << Four << QList<int>{} << -2 << true << Four;
    QTest::newRow("empty list, OK") << QStringList{} << QStringList{"up", "remove", "ok"}
                                    << QStringList{} << QList<int>{} << -1 << true << QStringList{};
}

void EditHistListDlgTest::edit()
{
    QFETCH(QStringList, initial);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shownEntries);
    QFETCH(QList<int>, shownSelected);
    QFETCH(int, shownCurrent);
    QFETCH(bool, expectedResult);
    QFETCH(QStringList, expectedList);

    QStringList history = initial;
    TSeen seen;
    const bool result = RunEditor(QPoint(40, 40), QString(), QStringLiteral("Delphi projects"),
                                  history, [&](QDialog* dialog) {
                                      for (int i = 0; i + 1 < steps.size(); ++i)
                                          Play(dialog, steps[i]);
                                      seen = Look(dialog);
                                      Play(dialog, steps.last());
                                  });

    QCOMPARE(seen.Entries, shownEntries);
    QCOMPARE(seen.Selected, shownSelected);
    if (shownCurrent != -2) // -2: the list's own choice of a current row is not looked at
        QCOMPARE(seen.Current, shownCurrent);
    QCOMPARE(result, expectedResult);
    QCOMPARE(history, expectedList);
}

void EditHistListDlgTest::openState_data()
{
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("expectedCaption");

    QTest::newRow("from the main window")
        << QString() << QStringLiteral("Delphi projects")
        << QStringList{"C:\\Work\\Group1.groupproj", "D:\\Other\\Group2.groupproj"}
        << QStringLiteral("Edit list entries");
    QTest::newRow("own title") << QStringLiteral("Recent files")
                               << QStringLiteral("Files opened lately")
                               << QStringList{"one", "two", "three"}
                               << QStringLiteral("Recent files");
    QTest::newRow("empty list") << QString() << QString() << QStringList{}
                                << QStringLiteral("Edit list entries");
}

void EditHistListDlgTest::openState()
{
    QFETCH(QString, titel);
    QFETCH(QString, desc);
    QFETCH(QStringList, history);
    QFETCH(QString, expectedCaption);

    QStringList list = history;
    TSeen seen;
    const bool result = RunEditor(QPoint(10, 10), titel, desc, list, [&](QDialog* dialog) {
        seen = Look(dialog);
        Play(dialog, QStringLiteral("esc"));
    });

    QCOMPARE(seen.Caption, expectedCaption);
    QCOMPARE(seen.Desc, desc);
    QCOMPARE(seen.Entries, history);
    QVERIFY(seen.Selected.isEmpty());
    QVERIFY(seen.ListHasFocus);
    QVERIFY(!result);
    QCOMPARE(list, history);
}

void EditHistListDlgTest::placement_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("expectation"); // "centred", "exact", or "fitted"

    const QRect area = AvailableArea();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    QTest::newRow("negative X") << QPoint(-200, 100) << "centred";
    QTest::newRow("negative Y") << QPoint(100, -1) << "centred";
    QTest::newRow("both negative") << QPoint(-5, -5) << "centred";
    QTest::newRow("inside the work area") << QPoint(area.x() + 30, area.y() + 40) << "exact";
    QTest::newRow("near the bottom-right corner") << QPoint(right - 10, bottom - 10) << "fitted";
    QTest::newRow("over the right edge only") << QPoint(right - 50, area.y() + 40) << "fitted";
    QTest::newRow("over the bottom edge only") << QPoint(area.x() + 30, bottom - 1) << "fitted";
    QTest::newRow("beyond the work area") << QPoint(right + 500, bottom + 500) << "fitted";
}

void EditHistListDlgTest::placement()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, expectation);

    QStringList list = Four;
    TSeen seen;
    RunEditor(pos, QString(), QString(), list, [&](QDialog* dialog) {
        seen = Look(dialog);
        Play(dialog, QStringLiteral("cancel"));
    });

    const QRect area = AvailableArea();
    const QSize size = seen.Frame.size();
    if (expectation == QLatin1String("centred")) {
        QVERIFY2(qAbs(seen.Frame.center().x() - area.center().x()) <= 1,
                 qPrintable(QString::number(seen.Frame.x())));
        QVERIFY2(qAbs(seen.Frame.center().y() - area.center().y()) <= 1,
                 qPrintable(QString::number(seen.Frame.y())));
    } else if (expectation == QLatin1String("exact")) {
        QCOMPARE(seen.Frame.topLeft(), pos);
    } else {
        // Pulled in with 20 pixels to spare on the right and 30 at the bottom,
        // where the window overhangs; left alone where it does not.
        const int right = area.x() + area.width();
        const int bottom = area.y() + area.height();
        const int x = pos.x() + size.width() > right ? right - size.width() - 20 : pos.x();
        const int y = pos.y() + size.height() > bottom ? bottom - size.height() - 30 : pos.y();
        QCOMPARE(seen.Frame.topLeft(), QPoint(x, y));
        QVERIFY(area.contains(seen.Frame));
    }
}

void EditHistListDlgTest::controls()
{
    TEditHistListDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit list entries"));
    QCOMPARE(dialog.windowType(), Qt::Tool);
    QVERIFY(dialog.minimumSize() != dialog.maximumSize());
    // Laid out for 96 DPI, and the offscreen screen has 96 DPI.
    QCOMPARE(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()), 96);
    QCOMPARE(dialog.size(), QSize(336, 276));

    auto* list = Control<QListWidget>(&dialog, "lbxStringList");
    QVERIFY(list);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(Control<QLabel>(&dialog, "lbDesc"));

    struct TButton {
        const char* Name;
        const char* Text;
        const char* Tip;
        QSize Glyph;
    };
    const TButton buttons[] = {
        {"btnDelete", "Remove", "Remove item", QSize(40, 20)},
        {"UpBtn", "", "Move item up", QSize(40, 20)},
        {"DownBtn", "", "Move item down", QSize(40, 20)},
        {"OKBtn", "OK", "", QSize(32, 16)},
        {"CancelBtn", "Cancel", "", QSize(32, 16)},
    };
    for (const TButton& b : buttons) {
        auto* button = Control<QAbstractButton>(&dialog, b.Name);
        QVERIFY2(button, b.Name);
        QCOMPARE(button->text(), QString::fromLatin1(b.Text));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.Tip));
        const QPixmap glyph = ButtonGlyph(button);
        QCOMPARE(glyph.size(), b.Glyph);
        QCOMPARE(ButtonGlyphCount(button), 2);
        QCOMPARE(button->iconSize(), QSize(b.Glyph.width() / 2, b.Glyph.height()));
        // The disabled image is a picture of its own, not the normal one greyed by Qt.
        const QImage normal = button->icon().pixmap(button->iconSize(), QIcon::Normal).toImage();
        const QImage disabled =
            button->icon().pixmap(button->iconSize(), QIcon::Disabled).toImage();
        QVERIFY2(normal != disabled, b.Name);
    }

    auto* move = Control<QGroupBox>(&dialog, "gbxMove");
    QVERIFY(move);
    QCOMPARE(move->title(), QStringLiteral("Move entry"));
    for (const char* name : {"UpBtn", "DownBtn"}) {
        auto* button = Control<QToolButton>(&dialog, name);
        QCOMPARE(button->parentWidget(), move);
        QCOMPARE(button->width(), button->height());
    }
    QVERIFY(Control<QPushButton>(&dialog, "OKBtn")->isDefault());
    QVERIFY(!Control<QPushButton>(&dialog, "CancelBtn")->isDefault());
    QVERIFY(!Control<QPushButton>(&dialog, "btnDelete")->isDefault());
}

void EditHistListDlgTest::glyphsOnHighDpi_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("okGlyph");
    QTest::addColumn<QSize>("moveGlyph");
    QTest::newRow("120 DPI keeps them") << 120 << QSize(32, 16) << QSize(40, 20);
    QTest::newRow("144 DPI enlarges them") << 144 << QSize(48, 24) << QSize(60, 30);
}

void EditHistListDlgTest::glyphsOnHighDpi()
{
    QFETCH(int, dpi);
    QFETCH(QSize, okGlyph);
    QFETCH(QSize, moveGlyph);

    // What the constructor does on a monitor of that resolution.
    TEditHistListDialog dialog;
    ScaleGlyphs(&dialog, 96, dpi);
    for (const char* name : {"OKBtn", "CancelBtn"})
        QCOMPARE(ButtonGlyph(Control<QAbstractButton>(&dialog, name)).size(), okGlyph);
    // Up and Down sit in the group box and are reached through it.
    for (const char* name : {"btnDelete", "UpBtn", "DownBtn"})
        QCOMPARE(ButtonGlyph(Control<QAbstractButton>(&dialog, name)).size(), moveGlyph);
}

void EditHistListDlgTest::buttonColumnFollowsResize()
{
    TEditHistListDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    auto* list = Control<QListWidget>(&dialog, "lbxStringList");
    auto* remove = Control<QWidget>(&dialog, "btnDelete");
    auto* move = Control<QWidget>(&dialog, "gbxMove");
    auto* ok = Control<QWidget>(&dialog, "OKBtn");
    auto* cancel = Control<QWidget>(&dialog, "CancelBtn");
    auto* up = Control<QWidget>(&dialog, "UpBtn");
    auto* down = Control<QWidget>(&dialog, "DownBtn");

    for (const QSize size : {QSize(336, 276), QSize(600, 450), QSize(420, 300)}) {
        dialog.resize(size);
        QCoreApplication::processEvents();
        const QRect client = dialog.rect();
        // The column keeps its width and its distance to the bottom-right corner.
        for (QWidget* w : {remove, move, ok, cancel})
            QCOMPARE(w->width(), 111);
        const int rightGap = client.right() - cancel->geometry().right();
        const int bottomGap = client.bottom() - cancel->geometry().bottom();
        QVERIFY2(rightGap >= 0 && rightGap <= 20, qPrintable(QString::number(rightGap)));
        QVERIFY2(bottomGap >= 0 && bottomGap <= 20, qPrintable(QString::number(bottomGap)));
        // Top to bottom: Remove, the move box, OK, Cancel.
        QVERIFY(remove->geometry().bottom() < move->geometry().top());
        QVERIFY(move->geometry().bottom() < ok->geometry().top());
        QVERIFY(ok->geometry().bottom() < cancel->geometry().top());
        // The move buttons side by side.
        QCOMPARE(up->y(), down->y());
        QVERIFY(up->geometry().right() < down->x());
        // The list fills the rest on the left.
        QVERIFY(list->geometry().right() < remove->x());
        QVERIFY(client.width() - list->width() - 111 <= 40);
        QVERIFY(list->geometry().bottom() >= cancel->geometry().bottom() - 1);
    }
}

void EditHistListDlgTest::screenshot()
{
    const QString dir = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    QStringList history = {
        "C:\\Projects\\Billing\\Billing.groupproj", "C:\\Projects\\Tools\\ToolsGroup.groupproj",
        "D:\\Work\\Legacy\\Legacy.groupproj",
        "C:\\Users\\dev\\Documents\\Embarcadero\\Studio\\Projects\\Demo.groupproj"};
    QImage shot;
    RunEditor(QPoint(50, 50), QString(), QStringLiteral("Delphi projects"), history,
              [&](QDialog* dialog) {
                  Play(dialog, QStringLiteral("click 1"));
                  Play(dialog, QStringLiteral("ctrl 2"));
                  shot = dialog->grab().toImage();
                  Play(dialog, QStringLiteral("cancel"));
              });
    QCOMPARE(shot.size(), QSize(336, 276) * shot.devicePixelRatio());
    if (dir.isEmpty())
        QSKIP("QUORVEL_SCREENSHOT_DIR is not set");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(shot.save(dir + QStringLiteral("/list-editor.png")));
}

QTEST_MAIN(EditHistListDlgTest)
#include "EditHistListDlgTest.moc"
