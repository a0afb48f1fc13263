#include "resgen/TemplateFill.h"

#include "support/TextFile.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <utility>

namespace
{

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString SubstitutePlaceholder(const QString& text, const QString& name, const QString& value)
{
    // TextPos compares without regard to case one UTF-16 unit at a time, so
    // a position found is a position in the text itself.
    const QString pattern = QLatin1Char('$') + name;
    int found = TextPos(pattern, text);
    if (found == 0)
        return text;
    QString result;
    result.reserve(text.size() + value.size());
    qsizetype done = 0;
    while (found > 0) {
        result += QStringView(text).mid(done, found - 1 - done);
        result += value;
        done = found - 1 + pattern.size();
        found = done < text.size() ? TextPosFrom(pattern, text, int(done) + 1) : 0;
    }
    result += QStringView(text).mid(done);
    return result;
}

namespace
{

// Whether every line of the text ends with CR LF and there is no other break:
// the text is then its own normal form. Each step of filling normalises, so
// most texts already are.
bool IsNormalised(const QString& text)
{
    if (text.isEmpty())
        return true;
    const auto* p = reinterpret_cast<const char16_t*>(text.constData());
    const auto* const end = p + text.size();
    if (text.size() < 2 || end[-2] != u'\r' || end[-1] != u'\n')
        return false;
    for (; p < end; ++p) {
        if (*p > u'\r')
            continue;
        if (*p == u'\n')
            return false;
        if (*p == u'\r') {
            if (p + 1 == end || p[1] != u'\n')
                return false;
            ++p;
        }
    }
    return true;
}

} // namespace

QString NormaliseLineBreaks(const QString& text)
{
    if (IsNormalised(text))
        return text;
    QString result;
    result.reserve(text.size() + 16);
    for (const QString& line : SplitLines(text))
        result += line + CrLf;
    return result;
}

QString EscapeResourceString(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"')
            result += QStringLiteral("\"\"");
        else if (u == u'\\')
            result += QStringLiteral("\\\\");
        else if (u >= 0x20 && u <= 0x7E)
            result += c;
        else
            result += QStringLiteral("\\x") +
                      QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper();
    }
    return result;
}

QString TemplateText(const QStringList& templateLines)
{
    QString result;
    for (const QString& line : templateLines)
        result += line + CrLf;
    return result;
}

QString FillTemplate(const QStringList& templateLines, const TProjectData& project,
                     const TGroupValues& group, bool escapeValues)
{
    // A raw double quote would end the string early: the rest of the value
    // would become script text, another VALUE even. It goes in as the
    // resource script writes a quote inside a string, "" in every case.
    const auto text = [escapeValues](const QString& value) {
        if (escapeValues)
            return EscapeResourceString(value);
        QString quoted = value;
        return quoted.replace(u'"', QStringLiteral("\"\""));
    };
    struct TValue {
        const char* Name;
        QString Value;
    };
    // The order matters: later substitutions also run over values inserted
    // earlier, so a description holding "$Company" gets the company.
    const TValue values[] = {
        {"fvMajor", QString::number(project.FileVersionMajor)},
        {"fvMinor", QString::number(project.FileVersionMinor)},
        {"fvRelease", QString::number(project.FileVersionRelease)},
        {"fvBuild", QString::number(project.FileVersionBuild)},
        {"Description", text(project.FileDescription)},
        {"pvMajor", QString::number(group.ProdMajor)},
        {"pvMinor", QString::number(group.ProdMinor)},
        {"Company", text(group.Company)},
        {"Copyright", text(group.Copyright)},
        {"Product", text(group.Product)},
        {"Author", text(group.Author)},
    };
    // The text is normalised after each substitution. A value without line
    // breaks leaves a normalised text normalised (and the first value, a
    // number, finds the same places before or after), so the work is done
    // once up front and again only after a value that brings line breaks.
    QString t = NormaliseLineBreaks(TemplateText(templateLines));
    const int count = int(sizeof(values) / sizeof(values[0]));
    for (int i = 0; i < count; ++i) {
        const QString& value = values[i].Value;
        t = SubstitutePlaceholder(t, QLatin1String(values[i].Name), value);
        // Not after the last one: the platform step normalises anyway.
        if (i < count - 1 && (value.contains(u'\r') || value.contains(u'\n')))
            t = NormaliseLineBreaks(t);
    }
    return t;
}

QString PlatformText(TProjectState platform)
{
    return platform == psWin64 ? QStringLiteral("64-bit") : QStringLiteral("32-bit");
}

QString FillPlatform(const QString& filledTemplate, TProjectState platform)
{
    return NormaliseLineBreaks(
        SubstitutePlaceholder(filledTemplate, QStringLiteral("Platform"), PlatformText(platform)));
}

QString RawValueWarning(const QString& key, const QString& value, bool escapeValues)
{
    if (escapeValues)
        return QString();
    for (const QChar c : value)
        if (c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return Tr("%1 holds a backslash or a control character, which the compiler reads "
                      "as an escape or a break while \"Escape text values\" is off: switch it "
                      "on on the settings page, or build with --escape-values")
                .arg(key);
    return QString();
}

QStringList RawValueWarnings(const TProjectData& project, const TGroupValues& group,
                             bool escapeValues)
{
    QStringList warnings;
    const std::pair<const char*, const QString*> values[] = {
        {"Description", &project.FileDescription},
        {"Company", &group.Company},
        {"Copyright", &group.Copyright},
        {"Product", &group.Product},
        {"Author", &group.Author}};
    for (const auto& [key, value] : values) {
        const QString warning = RawValueWarning(QLatin1String(key), *value, escapeValues);
        if (!warning.isEmpty())
            warnings << warning;
    }
    return warnings;
}
