#include "project/GroupFile.h"

#include "project/XmlReferences.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QXmlStreamReader>

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

QStringList SkippedProjectItems(const QStringList& lines)
{
    // What the line reader took, as the XML reader reads it.
    QStringList taken = ReadProjectEntries(lines);
    for (QString& entry : taken)
        entry = DecodeXmlReferences(entry);
    QStringList skipped;
    QXmlStreamReader xml(lines.join(u'\n'));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("Projects") ||
            !xml.attributes().hasAttribute(QLatin1String("Include")))
            continue;
        const QString item = xml.attributes().value(QLatin1String("Include")).toString();
        if (item.isEmpty())
            continue;
        const qsizetype at = taken.indexOf(item);
        if (at >= 0)
            taken.removeAt(at);
        else
            skipped.append(item);
    }
    return skipped;
}

QString SkippedProjectWarning(const QString& item)
{
    return Tr("the group file lists the project \"%1\" in a form this program does not read "
              "(Delphi writes <Projects Include=\"...\"> at the start of a line): it is left out")
        .arg(item);
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
