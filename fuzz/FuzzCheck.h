#pragma once

// What the fuzz targets share: checks that stop the run with a readable
// message (libFuzzer then keeps the input as a crash), and ways to turn the
// fuzzer's bytes into texts and numbers.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// A text with every character outside printable ASCII written as \uXXXX, so
// that a failure message shows exactly what was compared.
inline std::string Shown(const QString& text)
{
    std::string out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'\\' && u != u'"') {
            out += char(u);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", unsigned(u));
            out += buffer;
        }
    }
    return out + "\"";
}

inline std::string Shown(const QStringList& lines)
{
    std::string out = "[";
    for (const QString& line : lines)
        out += Shown(line) + (&line == &lines.back() ? "" : ", ");
    return out + "]";
}

inline std::string Shown(const QByteArray& bytes)
{
    return "hex " + bytes.left(512).toHex().toStdString() + (bytes.size() > 512 ? "..." : "");
}

[[noreturn]] inline void FuzzFail(const char* file, int line, const char* condition,
                                  const std::string& detail)
{
    std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzFail(__FILE__, __LINE__, #condition, std::string());                               \
    } while (0)

#define FUZZ_CHECK_EQ(actual, expected)                                                            \
    do {                                                                                           \
        const auto& fuzzActual = (actual);                                                         \
        const auto& fuzzExpected = (expected);                                                     \
        if (!(fuzzActual == fuzzExpected))                                                         \
            FuzzFail(__FILE__, __LINE__, #actual " == " #expected,                                 \
                     "actual:   " + Shown(fuzzActual) + "\nexpected: " + Shown(fuzzExpected));     \
    } while (0)

inline QByteArray AsBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A text of any UTF-16 code units, lone surrogates included.
inline QString TakeUnits(FuzzedDataProvider& input, size_t maxUnits)
{
    const size_t units = input.ConsumeIntegralInRange<size_t>(0, maxUnits);
    QString text;
    text.reserve(qsizetype(units));
    for (size_t i = 0; i < units && input.remaining_bytes() > 0; ++i)
        text.append(QChar(input.ConsumeIntegral<char16_t>()));
    return text;
}

// A well-formed text: the fuzzer's bytes read as UTF-8 (what a user can type
// or a file can hold); malformed sequences become U+FFFD.
inline QString TakeText(FuzzedDataProvider& input, size_t maxBytes)
{
    return QString::fromStdString(input.ConsumeRandomLengthString(maxBytes));
}

// A well-formed text without the given characters.
inline QString TakeTextWithout(FuzzedDataProvider& input, size_t maxBytes, const QString& banned)
{
    QString text = TakeText(input, maxBytes);
    for (const QChar c : banned)
        text.remove(c);
    return text;
}

// The text with characters at random positions switched to the other case,
// for names matched without regard to case.
inline QString RandomCase(FuzzedDataProvider& input, const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (input.ConsumeBool())
            c = c.isUpper() ? c.toLower() : c.toUpper();
    return out;
}
