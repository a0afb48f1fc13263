// Placeholder substitution with any template and any values.
//
// SubstitutePlaceholder is compared with a plain scan that reads the text
// once from left to right. Note what it does not promise: "$Name" can still
// be in the result, formed across the edge of an inserted value ("$Na" +
// value "" + "me"), or inside a value; only the text between two insertions
// never holds it, and that is what is checked. The filled template is checked against one assembled
// from its parts, and escaped values must keep every script printable ASCII.

#include "FuzzCheck.h"

#include "resgen/Placeholders.h"
#include "resgen/TemplateFill.h"
#include "support/TextHelpers.h"

namespace
{

bool SameUnit(QChar a, QChar b)
{
    return a.toUpper() == b.toUpper();
}

// "$" + name replaced, found left to right without regard to case; the scan
// goes on behind each match. The texts left between the matches go to
// *between.
QString PlainSubstitute(const QString& text, const QString& name, const QString& value,
                        QStringList* between)
{
    const QString pattern = u'$' + name;
    QString out;
    QString segment;
    qsizetype i = 0;
    while (i < text.size()) {
        bool match = i + pattern.size() <= text.size();
        for (qsizetype k = 0; match && k < pattern.size(); ++k)
            match = SameUnit(text[i + k], pattern[k]);
        if (match) {
            out += value;
            between->append(segment);
            segment.clear();
            i += pattern.size();
        } else {
            segment += text[i];
            out += text[i++];
        }
    }
    between->append(segment);
    return out;
}

void CheckSubstitute(const QString& text, const QString& name, const QString& value)
{
    QStringList between;
    const QString substituted = SubstitutePlaceholder(text, name, value);
    FUZZ_CHECK_EQ(substituted, PlainSubstitute(text, name, value, &between));
    const QString pattern = UpperCaseKeepLength(u'$' + name);
    for (const QString& segment : between)
        FUZZ_CHECK(!UpperCaseKeepLength(segment).contains(pattern));
    if (between.size() == 1)
        FUZZ_CHECK_EQ(substituted, text);
    FUZZ_CHECK(substituted.size() ==
               text.size() + (between.size() - 1) * (value.size() - pattern.size()));
}

bool OnlyCrLfBreaks(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    }
    return true;
}

QString WithoutBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

void CheckNormalise(const QString& text)
{
    const QString normal = NormaliseLineBreaks(text);
    FUZZ_CHECK(OnlyCrLfBreaks(normal));
    FUZZ_CHECK(normal.isEmpty() == text.isEmpty());
    FUZZ_CHECK(normal.isEmpty() || normal.endsWith(QStringLiteral("\r\n")));
    FUZZ_CHECK_EQ(WithoutBreaks(normal), WithoutBreaks(text));
    FUZZ_CHECK_EQ(NormaliseLineBreaks(normal), normal);
}

// Undoes EscapeResourceString; false when the text is not in its form.
bool Unescape(const QString& text, QString& out)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x20 || u > 0x7E)
            return false;
        if (u == u'"' || u == u'\\') {
            if (i + 1 >= text.size())
                return false;
            if (text[i + 1] == text[i]) {
                out += text[i++];
                continue;
            }
            if (u == u'"' || text[i + 1] != u'x' || i + 5 >= text.size())
                return false;
            bool ok = false;
            const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
            if (!ok || text.mid(i + 2, 4) != text.mid(i + 2, 4).toUpper())
                return false;
            out += QChar(char16_t(code));
            i += 5;
            continue;
        }
        out += text[i];
    }
    return true;
}

void CheckEscape(const QString& text)
{
    const QString escaped = EscapeResourceString(text);
    QString back;
    FUZZ_CHECK(Unescape(escaped, back));
    FUZZ_CHECK_EQ(back, text);
}

bool PrintableOrCrLf(const QString& text)
{
    for (const QChar c : text)
        if ((c.unicode() < 0x20 || c.unicode() > 0x7E) && c != u'\r' && c != u'\n')
            return false;
    return true;
}

struct TFillValues {
    TProjectData Project;
    TGroupValues Group;
};

// The value each placeholder row stands for ("$Platform" by its text).
QString ValueOf(const TFillValues& v, const char* name, TProjectState platform, bool escape)
{
    const QString n = QLatin1String(name);
    // Unescaped, a double quote still goes in doubled: raw, it would end the string.
    const auto text = [escape](const QString& s) {
        return escape ? EscapeResourceString(s) : QString(s).replace(u'"', QStringLiteral("\"\""));
    };
    if (n == QLatin1String("fvMajor"))
        return QString::number(v.Project.FileVersionMajor);
    if (n == QLatin1String("fvMinor"))
        return QString::number(v.Project.FileVersionMinor);
    if (n == QLatin1String("fvRelease"))
        return QString::number(v.Project.FileVersionRelease);
    if (n == QLatin1String("fvBuild"))
        return QString::number(v.Project.FileVersionBuild);
    if (n == QLatin1String("Description"))
        return text(v.Project.FileDescription);
    if (n == QLatin1String("pvMajor"))
        return QString::number(v.Group.ProdMajor);
    if (n == QLatin1String("pvMinor"))
        return QString::number(v.Group.ProdMinor);
    if (n == QLatin1String("Author"))
        return text(v.Group.Author);
    if (n == QLatin1String("Company"))
        return text(v.Group.Company);
    if (n == QLatin1String("Copyright"))
        return text(v.Group.Copyright);
    if (n == QLatin1String("Product"))
        return text(v.Group.Product);
    return PlatformText(platform);
}

TFillValues TakeValues(FuzzedDataProvider& input, const QString& banned)
{
    TFillValues v;
    v.Project.FileVersionMajor = input.ConsumeIntegral<qint32>();
    v.Project.FileVersionMinor = input.ConsumeIntegral<qint32>();
    v.Project.FileVersionRelease = input.ConsumeIntegral<qint32>();
    v.Project.FileVersionBuild = input.ConsumeIntegral<qint32>();
    v.Project.FileDescription = TakeTextWithout(input, 24, banned);
    v.Group.ProdMajor = input.ConsumeIntegral<qint32>();
    v.Group.ProdMinor = input.ConsumeIntegral<qint32>();
    v.Group.Author = TakeTextWithout(input, 24, banned);
    v.Group.Company = TakeTextWithout(input, 24, banned);
    v.Group.Copyright = TakeTextWithout(input, 24, banned);
    v.Group.Product = TakeTextWithout(input, 24, banned);
    return v;
}

// A template of literal text (without "$") and placeholders in any case:
// each placeholder becomes its value, nothing else changes.
void CheckAssembledTemplate(FuzzedDataProvider& input)
{
    const bool escape = input.ConsumeBool();
    const TProjectState platform = input.ConsumeBool() ? psWin64 : psWin32;
    // Values without "$" and without line breaks cannot form or hide a name.
    const TFillValues v = TakeValues(input, QStringLiteral("$\r\n"));
    QStringList lines;
    QString expected;
    const int lineCount = input.ConsumeIntegralInRange(0, 6);
    for (int l = 0; l < lineCount; ++l) {
        QString line;
        const int parts = input.ConsumeIntegralInRange(0, 6);
        for (int p = 0; p < parts; ++p) {
            if (input.ConsumeBool()) {
                const QString literal = TakeTextWithout(input, 12, QStringLiteral("$\r\n"));
                line += literal;
                expected += literal;
            } else {
                const char* name =
                    Placeholders[input.ConsumeIntegralInRange(0, PlaceholderCount - 1)].ph;
                line += u'$' + RandomCase(input, QLatin1String(name));
                expected += ValueOf(v, name, platform, escape);
            }
        }
        lines.append(line);
        expected += QStringLiteral("\r\n");
    }
    const QString filled = FillPlatform(FillTemplate(lines, v.Project, v.Group, escape), platform);
    FUZZ_CHECK_EQ(filled, expected);
}

// The filling as first written: substitute each value in its order and
// normalise after each but the last.
QString StepByStepFill(const QStringList& lines, const TFillValues& v, bool escape)
{
    const char* order[] = {"fvMajor", "fvMinor", "fvRelease", "fvBuild", "Description", "pvMajor",
                           "pvMinor", "Company", "Copyright", "Product", "Author"};
    QString t = TemplateText(lines);
    for (int i = 0; i < 11; ++i) {
        t = SubstitutePlaceholder(t, QLatin1String(order[i]),
                                  ValueOf(v, order[i], psWin32, escape));
        if (i < 10)
            t = NormaliseLineBreaks(t);
    }
    return t;
}

// Any template and any values: the script has CR LF breaks only, and with
// escaped values and a printable template it is printable ASCII throughout.
void CheckAnyTemplate(FuzzedDataProvider& input)
{
    const bool escape = input.ConsumeBool();
    QStringList lines;
    const int lineCount = input.ConsumeIntegralInRange(0, 6);
    for (int l = 0; l < lineCount; ++l)
        lines.append(TakeUnits(input, 40));
    const TFillValues v = TakeValues(input, QString());
    const QString template1 = FillTemplate(lines, v.Project, v.Group, escape);
    FUZZ_CHECK_EQ(template1, StepByStepFill(lines, v, escape));
    const QString filled = FillPlatform(template1, psWin32);
    FUZZ_CHECK(OnlyCrLfBreaks(filled));
    bool printable = true;
    for (const QString& line : lines)
        printable = printable && PrintableOrCrLf(line);
    if (escape && printable)
        FUZZ_CHECK(PrintableOrCrLf(filled));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString text = TakeUnits(input, 200);
    const QString name =
        input.ConsumeBool()
            ? QLatin1String(Placeholders[input.ConsumeIntegralInRange(0, PlaceholderCount - 1)].ph)
            : TakeUnits(input, 8);
    const QString value = TakeUnits(input, 16);
    CheckSubstitute(text, name, value);

    CheckNormalise(text);
    CheckEscape(text);
    CheckAssembledTemplate(input);
    CheckAnyTemplate(input);
    return 0;
}
