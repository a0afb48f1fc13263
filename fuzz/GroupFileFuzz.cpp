// The group-file reader on any bytes, and on group files written the way the
// Delphi IDE writes them: every entry comes back as it was written.

#include "FuzzCheck.h"

#include "project/GroupFile.h"
#include "project/XmlReferences.h"
#include "support/TextFile.h"
#include "support/TextHelpers.h"

namespace
{

// An entry as the IDE writes it into the attribute: XML-escaped.
QString XmlEscape(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

void CheckAnyLines(const QStringList& lines)
{
    const QString tag = UpperCaseKeepLength(QLatin1String(ProjectsIncludeTag));
    QStringList expected;
    for (const QString& line : lines) {
        const QString entry = ExtractProjectEntry(line);
        const bool isProjectLine = UpperCaseKeepLength(TrimBlanks(line)).startsWith(tag);
        FUZZ_CHECK(entry.isNull() == !isProjectLine);
        // The entry ends before the first ">" behind the tag.
        FUZZ_CHECK(!entry.contains(u'>'));
        FUZZ_CHECK(entry.size() <= line.size());
        if (!entry.isEmpty())
            expected.append(entry);

        const QString unquoted = RemoveDoubleQuotes(line);
        FUZZ_CHECK(unquoted.size() <= line.size());
        if (!line.startsWith(u'"'))
            FUZZ_CHECK_EQ(unquoted, line);
    }
    FUZZ_CHECK_EQ(ReadProjectEntries(lines), expected);
}

// Quoting with inner quotes doubled is undone exactly, whatever follows the
// closing quote when the quoted text is not empty (but a quote, which would
// double the closing one).
void CheckQuoting(const QString& text, const QString& rest)
{
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    quoted = u'"' + quoted + u'"';
    FUZZ_CHECK_EQ(RemoveDoubleQuotes(quoted), text);
    if (!text.isEmpty() && !rest.startsWith(u'"'))
        FUZZ_CHECK_EQ(RemoveDoubleQuotes(quoted + rest), text);
}

void CheckWrittenGroup(FuzzedDataProvider& input)
{
    QStringList entries;
    const int count = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i) {
        // Names a file can have; blanks at the ends stay part of the entry.
        const QString entry = TakeTextWithout(input, 40, QStringLiteral("\r\n"));
        if (!entry.isEmpty())
            entries.append(entry);
    }
    QStringList lines{
        QStringLiteral("<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"),
        QStringLiteral("    <ItemGroup>")};
    for (const QString& entry : entries) {
        const QString tag = RandomCase(input, QLatin1String(ProjectsIncludeTag));
        lines << QStringLiteral("        ") + tag + u'"' + XmlEscape(entry) + QStringLiteral("\">")
              << QStringLiteral("            <Dependencies/>")
              << QStringLiteral("        </Projects>");
    }
    lines << QStringLiteral("    </ItemGroup>") << QStringLiteral("</Project>");

    TTextFormat format;
    format.Encoding = input.PickValueInArray(
        {TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE});
    format.HasBom = format.Encoding != TTextEncoding::Utf8 || input.ConsumeBool();
    format.LineBreak = input.PickValueInArray({TLineBreak::CrLf, TLineBreak::Lf, TLineBreak::Cr});
    const QStringList read = ReadProjectEntries(DecodeText(EncodeText(lines, format)).Lines);
    QStringList decoded;
    for (const QString& entry : read)
        decoded.append(DecodeXmlReferences(entry));
    FUZZ_CHECK_EQ(decoded, entries);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckAnyLines(DecodeText(AsBytes(data, size)).Lines);

    FuzzedDataProvider input(data, size);
    const QString text = TakeUnits(input, 64);
    CheckQuoting(text, TakeUnits(input, 16));
    CheckWrittenGroup(input);
    return 0;
}
