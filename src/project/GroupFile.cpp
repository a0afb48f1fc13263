#include "project/GroupFile.h"

#include "support/TextHelpers.h"

QString RemoveDoubleQuotes(const QString& text)
{
    if (!text.startsWith(u'"'))
        return text;
    QString quoted;
    bool closed = false;
    int i = 1;
    while (i < text.size()) {
        if (text[i] == u'"') {
            if (i + 1 < text.size() && text[i + 1] == u'"') {
                quoted += u'"';
                i += 2;
                continue;
            }
            closed = true;
            break;
        }
        quoted += text[i++];
    }
    if (closed && !quoted.isEmpty())
        return quoted;
    if (text.endsWith(u'"'))
        return quoted;
    return text;
}

QString ExtractProjectEntry(const QString& line)
{
    const QString tag = QLatin1String(ProjectsIncludeTag);
    if (!UpperCaseKeepLength(TrimBlanks(line)).startsWith(UpperCaseKeepLength(tag)))
        return QString();
    const int start = TextPos(tag, line) + tag.size(); // 1-based, after the "="
    const int end = line.indexOf(u'>', start - 1) + 1; // 1-based, 0 when missing
    if (end == 0)
        return QStringLiteral(""); // no ">" on the line: no entry
    // mid() gives a null string for an empty part ("Include=>"), and null
    // means "not a project line".
    const QString entry = RemoveDoubleQuotes(line.mid(start - 1, end - start));
    return entry.isNull() ? QStringLiteral("") : entry;
}

QStringList ReadProjectEntries(const QStringList& lines)
{
    QStringList entries;
    for (const QString& line : lines) {
        const QString entry = ExtractProjectEntry(line);
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

void AddToHistory(QStringList& history, const QString& fileName)
{
    for (int i = 0; i < history.size(); ++i)
        if (SameText(history[i], fileName)) {
            history.removeAt(i);
            break;
        }
    history.prepend(fileName);
}
