#pragma once

#include "support/TextFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// A profile-style INI file (sections in square brackets, key=value lines) held
// in memory. It reads the file as it is on disk when constructed; writes change
// the copy in memory and UpdateFile() puts the whole file on disk at once.
//
// Reading follows the Windows profile functions: section and key names match
// without regard to case, blanks around names and values do not count, a value
// wholly inside one pair of double or single quotes loses them, the first
// matching section and key win, a section counts as present only with at least
// one key listed (a line "=value" first in a section is a key without a name,
// which leaves the list empty), and text values are read up to 2047 characters. Writing keeps
// everything it does not change: a changed value is replaced in place, a new key
// goes to the end of its section and a new section to the end of the file.
class TIniFile
{
public:
    // Longest text value that is read back.
    static constexpr int MaxValueLength = 2047;

    // A missing or unreadable file reads as an empty one.
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return FFileName; }
    // Why a file that exists could not be read as profile text ("Cannot open
    // file "%s". %s"): it could not be read (then it reads as empty), or it
    // is not text (a zero character, as in binary data or UTF-16 without a
    // byte-order mark; its lines are held as decoded). Empty when the file
    // was read or is missing. Writing such a file would add a second copy of
    // its keys to what it holds.
    const QString& ReadError() const { return FReadError; }
    bool SectionExists(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "0x" or "$"; anything else gives def.
    qint32 ReadInteger(const QString& section, const QString& key, qint32 def) const;
    // The names for which SectionExists holds, each once, in file order.
    QStringList ReadSections() const;

    // Line breaks inside a value would split the line: they are written as blanks.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, qint32 value);

    // Writes the file atomically; on failure the old file stays intact and
    // TQuorvelError "Unable to write to %s" is thrown. A file keeps its encoding;
    // a new one is UTF-8 without byte-order mark; a file in an ANSI code page
    // that cannot hold a value written, or whose bytes would then read back as
    // other text, becomes UTF-8 with byte-order mark.
    void UpdateFile();
    // The bytes UpdateFile() would write.
    QByteArray ToBytes() const;

private:
    struct TItem {
        QString Raw;
        QString Key; // empty for lines that are not key=value
        QString Value;
    };
    struct TSection {
        QString Header; // raw header line; empty for the lines before the first section
        QString Name;
        std::vector<TItem> Items;
        QHash<QString, int> KeyIndex; // upper-cased key -> first item
        int KeyCount = 0;
        // The first entry is a line "=value": a key without a name, which ends
        // the section's key list before it begins.
        bool StartsNameless = false;
        bool Listed() const { return KeyCount > 0 && !StartsNameless; }
    };

    void Parse(const QStringList& lines);
    const TItem* FindItem(const QString& section, const QString& key) const;
    TSection& SectionForWrite(const QString& section);

    QString FFileName;
    QString FReadError;
    TTextFormat FFormat;
    std::vector<TSection> FSections;   // FSections[0] holds the lines before any section
    QHash<QString, int> FSectionIndex; // upper-cased name -> first section
};
