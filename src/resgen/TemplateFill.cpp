#include "resgen/TemplateFill.h"

#include "support/TextFile.h"
#include "support/TextHelpers.h"

namespace
{

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString SubstitutePlaceholder(const QString& text, const QString& name, const QString& value)
{
    const QString pattern = UpperCaseKeepLength(QLatin1Char('$') + name);
    // Upper-casing keeps the length, so a position in the upper-cased text is
    // the same position in the text itself.
    const QString upper = UpperCaseKeepLength(text);
    QString result;
    qsizetype done = 0;
    qsizetype found = upper.indexOf(pattern, 0);
    if (found < 0)
        return text;
    while (found >= 0) {
        result += QStringView(text).mid(done, found - done);
        result += value;
        done = found + pattern.size();
        found = upper.indexOf(pattern, done);
    }
    result += QStringView(text).mid(done);
    return result;
}

QString NormaliseLineBreaks(const QString& text)
{
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
    const auto text = [escapeValues](const QString& value) {
        return escapeValues ? EscapeResourceString(value) : value;
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
    QString t = TemplateText(templateLines);
    const int count = int(sizeof(values) / sizeof(values[0]));
    for (int i = 0; i < count; ++i) {
        t = SubstitutePlaceholder(t, QLatin1String(values[i].Name), values[i].Value);
        // Not after the last one: the platform step normalises anyway.
        if (i < count - 1)
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
