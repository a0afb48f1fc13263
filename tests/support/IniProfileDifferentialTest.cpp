// Our INI reading against the Windows profile functions, which the settings
// files were defined by: generated files, random and hand-picked, are read
// both ways and every answer is compared. Runs in the Windows build; the cases
// it found stay as regression cases in IniFileTest on every platform.
//
// Left out on purpose, where we read differently by design: a file without a
// byte-order mark whose bytes are valid UTF-8 is read as UTF-8 (the profile
// functions read it in the ANSI code page, which garbles the files we write
// ourselves), and integers follow the rule "decimal, or hexadecimal after 0x or
// $, anything else gives the default" rather than GetPrivateProfileInt's
// leading digits: only plain decimal values are compared as integers.

#include "support/IniFile.h"

#include "support/CodePage.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace
{

// How many random files one run reads; QUORVEL_INI_FILES sets another number.
// Under Wine each file takes about 0.12 s (its profile functions read the
// file again for every key): 10,000 ran past the test's time limit on a busy
// machine.
constexpr int DefaultFileCount = 2000;

#ifdef Q_OS_WIN

const std::vector<QString>& SectionPool()
{
    static const std::vector<QString> pool{
        QStringLiteral("Global"),
        QStringLiteral("GLOBAL"),
        QStringLiteral("App.dproj"),
        QStringLiteral("Tools\\App.dproj"),
        QStringLiteral("Demo [old]\\App.dproj"),
        QStringLiteral("a]b"),
        QStringLiteral("x"),
        QStringLiteral("X"),
        QStringLiteral("Gr\u00f6\u00dfe"),
        QStringLiteral("spaced name"),
        QStringLiteral("[nested]"),
        QStringLiteral("semi;colon"),
        QStringLiteral("eq=sign"),
        QStringLiteral("\u20ac uro"),
    };
    return pool;
}

const std::vector<QString>& KeyPool()
{
    static const std::vector<QString> pool{
        QStringLiteral("fvMajor"),    QStringLiteral("FVMAJOR"), QStringLiteral("Company"),
        QStringLiteral("k"),          QStringLiteral("K"),       QStringLiteral("two words"),
        QStringLiteral("\u00c4pfel"), QStringLiteral("a]b"),     QStringLiteral("[k]"),
    };
    return pool;
}

class TGenerator
{
public:
    explicit TGenerator(quint32 seed) : FRandom(seed) {}

    int Below(int n) { return int(FRandom.bounded(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    QString Blanks()
    {
        static const QString kinds[] = {QString(), QStringLiteral(" "), QStringLiteral("  "),
                                        QStringLiteral("\t"), QStringLiteral(" \t ")};
        return Chance(60) ? QString() : kinds[Below(5)];
    }

    template <class T> const T& Pick(const std::vector<T>& items)
    {
        return items[size_t(Below(int(items.size())))];
    }

    QString Value()
    {
        switch (Below(14)) {
        case 0:
            return QString();
        case 1:
            return QString::number(Below(100000) - 50000);
        case 2:
            return QStringLiteral("0x") + QString::number(Below(65536), 16);
        case 3:
            return QStringLiteral("$") + QString::number(Below(65536), 16).toUpper();
        case 4:
            return QStringLiteral("\"quoted\"");
        case 5:
            return QStringLiteral("'single'");
        case 6:
            return QStringLiteral("\"open");
        case 7:
            return QStringLiteral("a=b=c");
        case 8:
            return QStringLiteral("\"  in quotes  \"");
        case 9:
            return QString(2040 + Below(20), QChar(u'a' + Below(26)));
        case 10:
            return QStringLiteral("12abc");
        case 11:
            return QStringLiteral("M\u00fcller & S\u00f6hne \u00a9");
        case 12:
            return FWide ? QStringLiteral("\u20ac \u65e5\u672c")
                         : QStringLiteral("\u20ac \u00e9t\u00e9");
        default:
            return QStringLiteral("value ") + QString::number(Below(1000));
        }
    }

    QString Line()
    {
        switch (Below(16)) {
        case 0:
            return QString();
        case 1:
            return QStringLiteral("; comment=1");
        case 2:
            return QStringLiteral("no equals sign");
        case 3:
            return QStringLiteral("=no key");
        case 4:
        case 5:
        case 6: {
            // A section header, sometimes with text after its "]".
            QString header = Blanks() + u'[' + Blanks() + Pick(SectionPool()) + Blanks() + u']';
            if (Chance(10))
                header += QStringLiteral(" ; note");
            return header + Blanks();
        }
        default:
            return Blanks() + Pick(KeyPool()) + Blanks() + u'=' + Blanks() + Value() + Blanks();
        }
    }

    // Whether the file holds UTF-16 or UTF-8, so that any character can be in it.
    void SetWide(bool wide) { FWide = wide; }

    QStringList Lines()
    {
        QStringList lines;
        const int count = 1 + Below(25);
        for (int i = 0; i < count; ++i)
            lines << Line();
        return lines;
    }

private:
    QRandomGenerator FRandom;
    bool FWide = true;
};

// The file's bytes in one of the forms the profile functions read; empty
// when the text cannot be put into that form without leaving the cases both
// sides read alike.
QByteArray FileBytes(const QStringList& lines, int form)
{
    const QString eol = form == 2 ? QStringLiteral("\n") : QStringLiteral("\r\n");
    const QString text = lines.join(eol) + eol;
    if (form == 0) { // UTF-16 little-endian with byte-order mark
        QByteArray bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        return bytes;
    }
    if (form == 3) // UTF-8 with byte-order mark
        return "\xEF\xBB\xBF" + text.toUtf8();
    // The ANSI code page, without byte-order mark.
    bool lossless = true;
    const QByteArray bytes = EncodeCodePage(text, AnsiCodePage(), &lossless);
    if (!lossless)
        return QByteArray();
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && uchar(c) < 0x80;
    if (!ascii && QString::fromUtf8(bytes).toUtf8() == bytes &&
        !QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter))
        return QByteArray(); // valid UTF-8: read as such by design
    return bytes;
}

QString ProfileString(const QString& file, const QString* section, const QString* key,
                      const QString& def)
{
    std::vector<wchar_t> buffer(65536);
    const std::wstring f = file.toStdWString();
    const std::wstring s = section ? section->toStdWString() : std::wstring();
    const std::wstring k = key ? key->toStdWString() : std::wstring();
    const std::wstring d = def.toStdWString();
    // A value is read into 2048 characters, as the settings code reads it.
    const DWORD size = key ? 2048 : DWORD(buffer.size());
    const DWORD n =
        GetPrivateProfileStringW(section ? s.c_str() : nullptr, key ? k.c_str() : nullptr,
                                 d.c_str(), buffer.data(), size, f.c_str());
    return QString::fromWCharArray(buffer.data(), int(n));
}

// A double-null-terminated list, read as its callers read it: it ends at the
// first empty name.
QStringList SplitList(const QString& list)
{
    QStringList names;
    for (const QString& name : list.split(QChar(0))) {
        if (name.isEmpty())
            break;
        names << name;
    }
    return names;
}

QStringList ProfileSections(const QString& file)
{
    std::vector<wchar_t> buffer(65536);
    const std::wstring f = file.toStdWString();
    const DWORD n = GetPrivateProfileSectionNamesW(buffer.data(), DWORD(buffer.size()), f.c_str());
    return SplitList(QString::fromWCharArray(buffer.data(), int(n)));
}

bool IsPlainDecimal(const QString& value)
{
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    return ok && !value.isEmpty() && value == QString::number(n) && n >= -2147483647 &&
           n <= 2147483647;
}

// Every answer of ours that differs from the profile functions' for one file.
QStringList Differences(const QString& file)
{
    QStringList diffs;
    const TIniFile ini(file);
    const QStringList windowsSections = ProfileSections(file);
    QStringList names = windowsSections;
    names << QStringLiteral("Nowhere");
    // Each name once, in another letter case than written.
    for (QString& name : names)
        name = name.toUpper();
    names.removeDuplicates();
    names += ini.ReadSections();
    QStringList withKeys; // the profile functions' sections holding keys, first of each name
    for (const QString& name : windowsSections) {
        const QStringList keys = SplitList(ProfileString(file, &name, nullptr, QString()));
        bool seen = false;
        for (const QString& w : withKeys)
            seen = seen || w.compare(name, Qt::CaseInsensitive) == 0;
        if (!keys.isEmpty() && !seen)
            withKeys << name;
    }
    if (ini.ReadSections() != withKeys)
        diffs << QStringLiteral("sections: ours [%1], Windows [%2]")
                     .arg(ini.ReadSections().join(u'|'), withKeys.join(u'|'));
    for (const QString& section : names) {
        const QStringList windowsKeys =
            SplitList(ProfileString(file, &section, nullptr, QString()));
        if (ini.SectionExists(section) != !windowsKeys.isEmpty())
            diffs << QStringLiteral("[%1] exists: ours %2, Windows %3")
                         .arg(section)
                         .arg(ini.SectionExists(section))
                         .arg(!windowsKeys.isEmpty());
        QStringList keys = windowsKeys;
        for (const QString& key : KeyPool())
            keys << key;
        for (const QString& key : keys) {
            const QString def = QStringLiteral("<default>");
            const QString theirs = ProfileString(file, &section, &key, def);
            const QString ours = ini.ReadString(section, key, def);
            if (ours != theirs)
                diffs << QStringLiteral("[%1] %2: ours \"%3\", Windows \"%4\"")
                             .arg(section, key, ours.left(80), theirs.left(80));
            if (theirs != def && IsPlainDecimal(theirs)) {
                const std::wstring f = file.toStdWString(), s = section.toStdWString(),
                                   k = key.toStdWString();
                const int windowsInt =
                    int(GetPrivateProfileIntW(s.c_str(), k.c_str(), 7, f.c_str()));
                if (ini.ReadInteger(section, key, 7) != windowsInt)
                    diffs << QStringLiteral("[%1] %2 as integer: ours %3, Windows %4")
                                 .arg(section, key)
                                 .arg(ini.ReadInteger(section, key, 7))
                                 .arg(windowsInt);
            }
        }
    }
    return diffs;
}

// Files that once read differently, or that show the rules most plainly.
const std::vector<QStringList>& HandPicked()
{
    static const std::vector<QStringList> files{
        {QStringLiteral("[Demo [old]\\App.dproj]"), QStringLiteral("fvBuild=3")},
        {QStringLiteral("[ spaced ]"), QStringLiteral("k=1")},
        {QStringLiteral("[S]"), QStringLiteral("k=\"quoted\"")},
        {QStringLiteral("[S]"), QStringLiteral("[S]"), QStringLiteral("k=1"), QStringLiteral("[s]"),
         QStringLiteral("k=2"), QStringLiteral("j=3")},
        {QStringLiteral("[Empty]"), QStringLiteral("[Next]"), QStringLiteral("k=1")},
        {QStringLiteral("[S]"), QStringLiteral("  Key  =  spaced value  "),
         QStringLiteral("key=second")},
        {QStringLiteral("[a]b]"), QStringLiteral("k=v"), QStringLiteral("[c] ; x]"),
         QStringLiteral("k=w")},
        {QStringLiteral("[S]"), QStringLiteral("k=") + QString(2100, u'z')},
        {QStringLiteral("[S]"), QStringLiteral("n=0x1F"), QStringLiteral("m=$1f"),
         QStringLiteral("o=-12")},
    };
    return files;
}

TEST(IniProfileDifferential, ReadsEveryFileAsTheProfileFunctions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int count = qEnvironmentVariableIsSet("QUORVEL_INI_FILES")
                          ? qEnvironmentVariableIntValue("QUORVEL_INI_FILES")
                          : DefaultFileCount;
    TGenerator generator(20261209);
    int compared = 0;
    QStringList report;
    for (int i = 0; i < int(HandPicked().size()) + count && report.size() < 20; ++i) {
        const bool picked = i < int(HandPicked().size());
        const int form = picked ? 1 : generator.Below(4);
        generator.SetWide(form == 0 || form == 3);
        const QStringList lines = picked ? HandPicked()[size_t(i)] : generator.Lines();
        const QByteArray bytes = FileBytes(lines, form);
        if (bytes.isEmpty())
            continue;
        // A name of its own for each file: the profile functions keep files
        // they read in a cache.
        const QString file =
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("f%1.ini").arg(i)));
        TestFiles::Write(file, bytes);
        const QStringList diffs = Differences(file);
        if (!diffs.isEmpty())
            report << QStringLiteral("file %1 (form %2):\n  %3\n  --\n  %4")
                          .arg(i)
                          .arg(form)
                          .arg(lines.join(QStringLiteral("\n  ")),
                               diffs.join(QStringLiteral("\n  ")));
        QFile::remove(file);
        ++compared;
    }
    EXPECT_TRUE(report.isEmpty()) << report.join(u'\n').toStdString();
    EXPECT_GE(compared, count * 9 / 10) << "too many files left out";
    std::printf("%d files compared with the profile functions (ANSI code page %d)\n", compared,
                AnsiCodePage());
}

#else

TEST(IniProfileDifferential, ReadsEveryFileAsTheProfileFunctions)
{
    (void)DefaultFileCount;
    GTEST_SKIP()
        << "the Windows profile functions are the reference: this runs in the Windows build";
}

#endif

} // namespace
