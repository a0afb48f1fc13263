// The template editor's caret logic with any lines and any caret position,
// positions far outside the text included; and lines holding a placeholder
// with the caret on it, which must select that placeholder.

#include "FuzzCheck.h"

#include "resgen/PlaceholderCaret.h"
#include "resgen/Placeholders.h"
#include "support/TextHelpers.h"

#include <limits>

namespace
{

int TakePosition(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return input.ConsumeIntegral<int>();
    case 1:
        return input.PickValueInArray({std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max(),
                                       std::numeric_limits<int>::min() + 1, -1, 0});
    default:
        return input.ConsumeIntegralInRange(-2, 80);
    }
}

void CheckAnyCaret(const QStringList& lines, int line, int column)
{
    const QString text = line >= 1 && line <= lines.size() ? lines[line - 1] : QString();
    const int start = WordStartColumn(lines, line, column);
    FUZZ_CHECK(start >= 1 && start <= text.size() + 1);
    const int caret = std::clamp(column, 1, int(text.size()) + 1);
    FUZZ_CHECK(start <= caret);
    // Between the word start and the caret stand only word characters.
    for (int c = start; c < caret; ++c)
        FUZZ_CHECK(IsWordChar(text[c - 1]));

    const QString word = WordAtCaret(lines, line, column);
    for (const QChar c : word)
        FUZZ_CHECK(IsWordChar(c));
    if (!word.isEmpty())
        FUZZ_CHECK(text.contains(word));

    const int row = PlaceholderRowAtCaret(lines, line, column);
    FUZZ_CHECK(row >= -1 && row < PlaceholderCount);
    if (row >= 0) {
        FUZZ_CHECK(SameText(word, QLatin1String(Placeholders[row].ph)));
        FUZZ_CHECK(start >= 2 && text[start - 2] == u'$');
    }
}

// A line with "$" and a placeholder name, the caret on one of its characters.
void CheckCaretOnPlaceholder(FuzzedDataProvider& input, QStringList lines)
{
    const int row = input.ConsumeIntegralInRange(0, PlaceholderCount - 1);
    const QString name = RandomCase(input, QLatin1String(Placeholders[row].ph));
    // Text that ends the word on either side.
    const QString before = TakeText(input, 16);
    QString after = TakeText(input, 16);
    while (!after.isEmpty() && IsWordChar(after.front()))
        after.remove(0, 1);
    const int index = lines.isEmpty() ? 0 : input.ConsumeIntegralInRange<int>(0, int(lines.size()));
    lines.insert(index, before + u'$' + name + after);
    const int column =
        int(before.size()) + 2 + input.ConsumeIntegralInRange(0, int(name.size()) - 1);
    // The first of equal names wins, and every name is listed once.
    FUZZ_CHECK(PlaceholderRowAtCaret(lines, index + 1, column) == row);
    FUZZ_CHECK_EQ(WordAtCaret(lines, index + 1, column), name);
    FUZZ_CHECK(WordStartColumn(lines, index + 1, column) == int(before.size()) + 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QStringList lines;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i)
        lines.append(TakeUnits(input, 48));
    for (int i = 0; i < 4; ++i) {
        const int line = TakePosition(input);
        const int column = TakePosition(input);
        CheckAnyCaret(lines, line, column);
    }
    CheckCaretOnPlaceholder(input, lines);
    return 0;
}
