#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };
enum class TLineBreak { CrLf, Lf, Cr };

// The form a text file was found in, so that it can be written back the same.
struct TTextFormat {
    TTextEncoding Encoding = TTextEncoding::Utf8;
    bool HasBom = false;
    TLineBreak LineBreak = TLineBreak::CrLf;
    bool FinalLineBreak = true;
    int CodePage = 0; // for Ansi: the code page; 0 means AnsiCodePage()

    bool operator==(const TTextFormat& o) const
    {
        return Encoding == o.Encoding && HasBom == o.HasBom && LineBreak == o.LineBreak &&
               FinalLineBreak == o.FinalLineBreak && CodePage == o.CodePage;
    }
};

struct TTextContent {
    QStringList Lines;
    TTextFormat Format;
    // The break that ended each line, in order: a file may mix them (Delphi
    // keeps a lone CR inside an element's text), and Format names only one.
    QList<TLineBreak> LineBreaks;
};

// Decodes a whole file's bytes. A byte-order mark selects UTF-8, UTF-16 LE or
// UTF-16 BE; without one the bytes are in the ANSI code page: the system's on
// Windows, elsewhere UTF-8 when they are valid UTF-8, else Windows-1252.
// CR LF, LF and CR all end a line; the first break found gives the style.
TTextContent DecodeText(const QByteArray& bytes);
// The text DecodeText splits into lines, in one piece, and the form it was
// found in: for readers that look for a few elements in a large file.
QString DecodeTextString(const QByteArray& bytes, TTextFormat& format);

// Encodes lines in a format: every line but the last followed by the line
// break, the last one too when FinalLineBreak is set. Characters an ANSI code
// page cannot hold become "?" and clear *lossless when given.
QByteArray EncodeText(const QStringList& lines, const TTextFormat& format,
                      bool* lossless = nullptr);

// The text as it stands in the format's encoding, with its byte-order mark;
// its line breaks are left as they are.
QByteArray EncodeTextString(const QString& text, const TTextFormat& format,
                            bool* lossless = nullptr);

// Encodes what DecodeText read back to the same bytes, each line with the
// break it had. Lines added or removed since make the breaks unknown: then all
// lines take Format's break, as the other overload writes them.
QByteArray EncodeText(const TTextContent& content, bool* lossless = nullptr);

// The largest file read whole (group, project, settings, template,
// configuration files).
constexpr qint64 MaxReadBytes = 64 * 1024 * 1024;

// The bytes of a regular file of at most MaxReadBytes; throws TQuorvelError
// "Cannot open file "%s". %s" (for a pipe, a device or a larger file too,
// without waiting on it).
QByteArray ReadFileBytes(const QString& fileName);
// A whole text file as lines; throws TQuorvelError "Cannot open file "%s". %s".
TTextContent ReadTextFile(const QString& fileName);
// Replaces a file with the bytes, atomically: on failure the old file stays as
// it was. A link is kept and the file it points to replaced. A device or a
// pipe is written in place (a pipe only while something reads it). Throws
// TQuorvelError "Cannot create file "%s". %s".
void WriteFileBytes(const QString& fileName, const QByteArray& bytes);
// Writes the bytes over the file itself: no temporary file and no flush to
// disk, so a failure can leave it cut short. For files that are read right
// away and written anew each time (resource scripts). Throws as WriteFileBytes.
void WriteFileBytesInPlace(const QString& fileName, const QByteArray& bytes);
void WriteTextFile(const QString& fileName, const QStringList& lines, const TTextFormat& format);

// Splits text at CR LF, lone CR and lone LF; a final break adds no empty line.
QStringList SplitLines(const QString& text);
