#pragma once

#include <QString>
#include <QStringList>

// The text that starts a project entry in a group file.
inline constexpr char ProjectsIncludeTag[] = "<Projects Include=";

// Removes the double quotes around an entry: the text inside the first pair of
// quotes (a doubled quote inside stands for one), also when other characters
// follow; unchanged when it does not begin with a quote, or when the closing
// quote is missing or the quoted part is empty, unless it also ends with a quote.
QString RemoveDoubleQuotes(const QString& text);

// The project entry of one group-file line, or a null string when the line is
// not a project line. The entry may be empty.
QString ExtractProjectEntry(const QString& line);

// The non-empty entries of a group file's lines, in file order, duplicates kept.
QStringList ReadProjectEntries(const QStringList& lines);

// The projects a group file's XML lists (the Include of each Projects
// element) that ReadProjectEntries does not give: written by another tool
// with the attribute on the next line, in single quotes or after another
// attribute. Empty for a file that is not XML.
QStringList SkippedProjectItems(const QStringList& lines);
// The warning for such a project.
QString SkippedProjectWarning(const QString& item);

// Puts a file name at the top of a history list, removing an entry equal to it
// without regard to case.
void AddToHistory(QStringList& history, const QString& fileName);
