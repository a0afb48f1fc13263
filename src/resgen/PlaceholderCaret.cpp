#include "resgen/PlaceholderCaret.h"

#include "resgen/Placeholders.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <limits>

namespace
{

// The line's text for a 1-based line number; an empty text outside the lines.
QString LineText(const QStringList& lines, int line)
{
    if (line < 1 || line > lines.size())
        return QString();
    return lines[line - 1];
}

// A column limited to the range 1 .. length + 1 of its line.
int ClampColumn(const QString& text, int column)
{
    return std::clamp(column, 1, int(text.size()) + 1);
}

} // namespace

bool IsWordChar(QChar c)
{
    const char16_t code = c.unicode();
    if (code <= 47)
        return false;
    if (code >= 58 && code <= 64)
        return false;
    if (code >= 91 && code <= 94)
        return false;
    if (code == 96)
        return false;
    if (code >= 123 && code <= 126)
        return false;
    return code != 167 && code != 176 && code != 180;
}

QString WholeText(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

int CharIndexOfPosition(const QStringList& lines, int line, int column)
{
    // Counted in 64 bits: a position far outside the text (the editor passes
    // whatever it is given) must not overflow.
    qint64 index = 0;
    const qint64 earlierLines = std::clamp<qint64>(qint64(line) - 1, 0, lines.size());
    for (qint64 i = 0; i < earlierLines; ++i)
        index += lines[i].size() + 2;
    return int(std::clamp<qint64>(index + column - 1, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

int WordStartColumn(const QStringList& lines, int line, int column)
{
    const QString text = LineText(lines, line);
    const int k = ClampColumn(text, column);
    if (k <= 1 || !IsWordChar(text[k - 2]))
        return k;
    // Column k - 1 is a word character; walk left to the nearest break.
    int start = k - 1;
    while (start > 1 && IsWordChar(text[start - 2]))
        --start;
    return start;
}

QString WordAtCaret(const QStringList& lines, int line, int column)
{
    const QString text = LineText(lines, line);
    const int k = ClampColumn(text, column);
    if (k > text.size() || !IsWordChar(text[k - 1]))
        return QString();
    int first = k - 1; // 0-based bounds of the run
    int last = k - 1;
    while (first > 0 && IsWordChar(text[first - 1]))
        --first;
    while (last + 1 < text.size() && IsWordChar(text[last + 1]))
        ++last;
    return text.mid(first, last - first + 1);
}

int PlaceholderRowAtCaret(const QStringList& lines, int line, int column)
{
    const int i = CharIndexOfPosition(lines, line, WordStartColumn(lines, line, column));
    if (i < 1)
        return -1;
    const QString whole = WholeText(lines);
    if (i - 1 >= whole.size() || whole[i - 1] != QLatin1Char('$'))
        return -1;
    const QString word = WordAtCaret(lines, line, column);
    if (word.isEmpty())
        return -1;
    for (int row = 0; row < PlaceholderCount; ++row) {
        if (SameText(word, QString::fromLatin1(Placeholders[row].ph)))
            return row;
    }
    return -1;
}
