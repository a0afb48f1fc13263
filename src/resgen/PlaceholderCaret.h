#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The template editor's placeholder list follows the placeholder at the caret.
// These functions decide which one that is, working on the editor's lines and
// a caret position given as a line and a column, both counted from 1; column k
// stands in front of the k-th character of the line (length + 1 at its end).
// The whole text is the lines joined with CR LF.

// Every character is a word character except the codes 0-47, 58-64, 91-94,
// 96, 123-126, 167, 176 and 180: letters, digits, "_" and most characters
// above 126 are, "$", blanks and punctuation are not.
bool IsWordChar(QChar c);

// The lines joined with CR LF.
QString WholeText(const QStringList& lines);

// 0-based offset of (line, column) in the whole text: the lengths of all
// earlier lines plus 2 for each earlier line break, plus column - 1.
int CharIndexOfPosition(const QStringList& lines, int line, int column);

// Column where the word in front of the caret starts: the column after the
// nearest word-break character before the caret (1 when there is none) when
// the character in front of the caret is a word character, else the caret's
// column. A column beyond the line's end counts as length + 1.
int WordStartColumn(const QStringList& lines, int line, int column);

// The maximal run of word characters around the character behind the caret;
// empty when there is no such character or it is no word character.
QString WordAtCaret(const QStringList& lines, int line, int column);

// Row of the placeholder table the list selects for the caret, or -1 when
// the list keeps its selection: the word at the caret counts only when a "$"
// stands in front of its start, and it is compared with the placeholder
// names without regard to case, the first equal row winning.
int PlaceholderRowAtCaret(const QStringList& lines, int line, int column);
