#include "dialogs/HistListOps.h"

#include <QTest>

namespace
{

// A working list of the given texts; each entry carries its original position
// as its object, so that the tests can see that objects travel with texts.
THistListState MakeState(const QStringList& texts, const QList<int>& selected, int focused)
{
    THistListState state;
    for (int i = 0; i < texts.size(); ++i)
        state.Entries << THistEntry{texts[i], QVariant(i)};
    state.Selected = selected;
    state.Focused = focused;
    return state;
}

QStringList Texts(const QList<THistEntry>& entries)
{
    QStringList texts;
    for (const THistEntry& e : entries)
        texts << e.Text;
    return texts;
}

// Every entry still carries the object it started with.
void VerifyObjects(const QList<THistEntry>& entries, const QStringList& original)
{
    for (const THistEntry& e : entries)
        QCOMPARE(e.Object.toInt(), int(original.indexOf(e.Text)));
}

// Qt 6.4 compares two empty lists with memcmp on a null pointer when only one
// of them holds storage, which the undefined-behaviour sanitizer rejects; an
// empty result is compared as a list without storage.
QList<int> Plain(const QList<int>& list)
{
    return list.isEmpty() ? QList<int>() : list;
}

const QStringList Five = {"a", "b", "c", "d", "e"};

} // namespace

class HistListOpsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moveUp_data();
    void moveUp();
    void moveDown_data();
    void moveDown();
    void remove_data();
    void remove();
};

// Columns shared by the move tests: the list, its selection and focus, how
// often the button is pressed, and the list, selection and focus afterwards.
static void AddMoveColumns()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("focused");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::addColumn<QList<int>>("expectedSelected");
    QTest::addColumn<int>("expectedFocused");
}

void HistListOpsTest::moveUp_data()
{
    AddMoveColumns();
    QTest::newRow("0, 1 and 3 of five")
        << Five << QList<int>{0, 1, 3} << 3 << 1 << QStringList{"a", "b", "d", "c", "e"}
        << QList<int>{0, 1, 2} << 0;
    QTest::newRow("2 and 3 keep their order")
        << Five << QList<int>{2, 3} << 2 << 1 << QStringList{"a", "c", "d", "b", "e"}
        << QList<int>{1, 2} << 1;
    QTest::newRow("nothing selected")
        << Five << QList<int>{} << 2 << 1 << Five << QList<int>{} << 2;
    QTest::newRow("top entry stays")
        << Five << QList<int>{0} << 0 << 1 << Five << QList<int>{0} << 0;
    QTest::newRow("all selected") << Five << QList<int>{0, 1, 2, 3, 4} << 4 << 1 << Five
                                  << QList<int>{0, 1, 2, 3, 4} << 0;
    QTest::newRow("last entry") << Five << QList<int>{4} << 4 << 1
                                << QStringList{"a", "b", "c", "e", "d"} << QList<int>{3} << 3;
    QTest::newRow("every other") << Five << QList<int>{0, 2, 4} << 0 << 1
                                 << QStringList{"a", "c", "b", "e", "d"} << QList<int>{0, 1, 3}
                                 << 0;
    QTest::newRow("selection given unordered")
        << Five << QList<int>{3, 1} << 1 << 1 << QStringList{"b", "a", "d", "c", "e"}
        << QList<int>{0, 2} << 0;
    QTest::newRow("gap closes by one per press")
        << Five << QList<int>{1, 3} << 3 << 2 << QStringList{"b", "d", "a", "c", "e"}
        << QList<int>{0, 1} << 0;
    QTest::newRow("block at top stays on further presses")
        << Five << QList<int>{1, 3} << 3 << 4 << QStringList{"b", "d", "a", "c", "e"}
        << QList<int>{0, 1} << 0;
    QTest::newRow("single entry list")
        << QStringList{"a"} << QList<int>{0} << 0 << 1 << QStringList{"a"} << QList<int>{0} << 0;
    QTest::newRow("empty list") << QStringList{} << QList<int>{} << -1 << 1 << QStringList{}
                                << QList<int>{} << -1;
}

void HistListOpsTest::moveUp()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, selected);
    QFETCH(int, focused);
    QFETCH(int, presses);

    THistListState state = MakeState(texts, selected, focused);
    for (int i = 0; i < presses; ++i)
        state = MoveSelectedUp(state);

    QTEST(Texts(state.Entries), "expectedTexts");
    QTEST(Plain(state.Selected), "expectedSelected");
    QTEST(state.Focused, "expectedFocused");
    VerifyObjects(state.Entries, texts);
}

void HistListOpsTest::moveDown_data()
{
    AddMoveColumns();
    QTest::newRow("last two stay")
        << Five << QList<int>{3, 4} << 3 << 1 << Five << QList<int>{3, 4} << 4;
    QTest::newRow("first two") << Five << QList<int>{0, 1} << 0 << 1
                               << QStringList{"c", "a", "b", "d", "e"} << QList<int>{1, 2} << 2;
    QTest::newRow("nothing selected")
        << Five << QList<int>{} << 1 << 1 << Five << QList<int>{} << 1;
    QTest::newRow("every other") << Five << QList<int>{0, 2, 4} << 0 << 1
                                 << QStringList{"b", "a", "d", "c", "e"} << QList<int>{1, 3, 4}
                                 << 4;
    QTest::newRow("1 and 3") << Five << QList<int>{1, 3} << 1 << 1
                             << QStringList{"a", "c", "b", "e", "d"} << QList<int>{2, 4} << 4;
    QTest::newRow("first entry") << Five << QList<int>{0} << 0 << 1
                                 << QStringList{"b", "a", "c", "d", "e"} << QList<int>{1} << 1;
    QTest::newRow("gap closes by one per press")
        << Five << QList<int>{0, 2} << 0 << 3 << QStringList{"b", "d", "e", "a", "c"}
        << QList<int>{3, 4} << 4;
    QTest::newRow("all selected") << Five << QList<int>{0, 1, 2, 3, 4} << 0 << 1 << Five
                                  << QList<int>{0, 1, 2, 3, 4} << 4;
    QTest::newRow("empty list") << QStringList{} << QList<int>{} << -1 << 1 << QStringList{}
                                << QList<int>{} << -1;
}

void HistListOpsTest::moveDown()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, selected);
    QFETCH(int, focused);
    QFETCH(int, presses);

    THistListState state = MakeState(texts, selected, focused);
    for (int i = 0; i < presses; ++i)
        state = MoveSelectedDown(state);

    QTEST(Texts(state.Entries), "expectedTexts");
    QTEST(Plain(state.Selected), "expectedSelected");
    QTEST(state.Focused, "expectedFocused");
    VerifyObjects(state.Entries, texts);
}

void HistListOpsTest::remove_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("focused");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::addColumn<QList<int>>("expectedSelected");
    QTest::addColumn<int>("expectedFocused");
    QTest::addColumn<QStringList>("expectedRemoved");

    const QStringList abcd = {"a", "b", "c", "d"};
    QTest::newRow("1 and 2, 2 focused") << abcd << QList<int>{1, 2} << 2 << QStringList{"a", "d"}
                                        << QList<int>{1} << 1 << QStringList{"c", "b"};
    QTest::newRow("one entry: the next is selected")
        << abcd << QList<int>{1} << 1 << QStringList{"a", "c", "d"} << QList<int>{1} << 1
        << QStringList{"b"};
    QTest::newRow("last entry: the new last is selected")
        << abcd << QList<int>{3} << 3 << QStringList{"a", "b", "c"} << QList<int>{2} << 2
        << QStringList{"d"};
    QTest::newRow("every entry") << abcd << QList<int>{0, 1, 2, 3} << 0 << QStringList{}
                                 << QList<int>{} << -1 << QStringList{"d", "c", "b", "a"};
    QTest::newRow("only entry") << QStringList{"a"} << QList<int>{0} << 0 << QStringList{}
                                << QList<int>{} << -1 << QStringList{"a"};
    QTest::newRow("nothing selected")
        << abcd << QList<int>{} << 2 << abcd << QList<int>{} << 2 << QStringList{};
    QTest::newRow("focus on an unselected entry stays a position")
        << abcd << QList<int>{0} << 2 << QStringList{"b", "c", "d"} << QList<int>{2} << 2
        << QStringList{"a"};
    QTest::newRow("focus beyond the shortened list")
        << abcd << QList<int>{0} << 3 << QStringList{"b", "c", "d"} << QList<int>{2} << 2
        << QStringList{"a"};
    QTest::newRow("no focus: the last is selected")
        << abcd << QList<int>{0, 2} << -1 << QStringList{"b", "d"} << QList<int>{1} << 1
        << QStringList{"c", "a"};
    QTest::newRow("selection given unordered")
        << abcd << QList<int>{2, 0} << 0 << QStringList{"b", "d"} << QList<int>{0} << 0
        << QStringList{"c", "a"};
}

void HistListOpsTest::remove()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, selected);
    QFETCH(int, focused);

    const THistListRemoval result = RemoveSelected(MakeState(texts, selected, focused));

    QTEST(Texts(result.State.Entries), "expectedTexts");
    QTEST(Plain(result.State.Selected), "expectedSelected");
    QTEST(result.State.Focused, "expectedFocused");
    QTEST(Texts(result.Removed), "expectedRemoved");
    VerifyObjects(result.State.Entries, texts);
    VerifyObjects(result.Removed, texts);
}

QTEST_GUILESS_MAIN(HistListOpsTest)
#include "HistListOpsTest.moc"
