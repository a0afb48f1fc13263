#pragma once

// GoogleTest printers for the Qt and support types the support tests compare,
// so that a failure shows readable text instead of raw object bytes.

#include "support/TextFile.h"

#include <QByteArray>
#include <QString>

#include <ostream>
#include <string>

// A text as it may appear in a test name: ctest builds its names from the
// printed parameters and trips over backslashes, semicolons and line breaks.
inline std::string CaseText(const QString& s)
{
    std::string out;
    for (const QChar c : s) {
        if (c == u'\\')
            out += "\u2216"; // looks like a backslash
        else if (c == u';')
            out += ',';
        else if (c.unicode() < 32)
            out += '^', out += char(c.unicode() + 64);
        else
            out += QString(c).toStdString();
    }
    return out;
}

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << "hex[" << b.toHex(' ').toStdString() << ']';
}

inline void PrintTo(const TTextFormat& f, std::ostream* os)
{
    static const char* const encodings[] = {"Ansi", "Utf8", "Utf16LE", "Utf16BE"};
    static const char* const breaks[] = {"CrLf", "Lf", "Cr"};
    *os << encodings[int(f.Encoding)] << (f.HasBom ? "+BOM" : "") << '/' << breaks[int(f.LineBreak)]
        << (f.FinalLineBreak ? "/final" : "/open") << "/cp" << f.CodePage;
}
