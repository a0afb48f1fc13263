#include "support/IniFile.h"

#include "support/CodePage.h"
#include "support/QuorvelError.h"

#include "QtPrinters.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class IniFileTestBase
{
protected:
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QString WriteFile(const QString& name, const QByteArray& bytes) const
    {
        TestFiles::Write(Path(name), bytes);
        return Path(name);
    }
    QTemporaryDir Dir;
};

// ---- Reading text values -----------------------------------------------------

const QByteArray ReadSample("; settings\r\n"
                            "[Main]\r\n"
                            "Name=Alpha\r\n"
                            "   Spaced Key   =   spaced value   \r\n"
                            "Quoted=\"  in quotes  \"\r\n"
                            "Single='single'\r\n"
                            "Outer =  \"x\"  \r\n"
                            "Open=\"open\r\n"
                            "Lone=\"\r\n"
                            "Mixed=\"mixed'\r\n"
                            "Empty=\r\n"
                            "Dup=first\r\n"
                            "dup=second\r\n"
                            "Eq=a=b\r\n"
                            ";Commented=1\r\n"
                            "[Empty Section]\r\n"
                            "; no keys here\r\n"
                            "[main]\r\n"
                            "Name=Shadowed\r\n"
                            "Extra=second section\r\n"
                            "[  Trimmed  ]\r\n"
                            "Key=v\r\n"
                            "[Größe]\r\n"
                            "Äpfel=7\r\n"
                            "[Demos\\[Archive]\\Old.dproj]\r\n"
                            "fvBuild=12\r\n"
                            "[Nameless First]\r\n"
                            "=x\r\n"
                            "k=1\r\n");

struct TReadCase {
    const char* Section;
    const char* Key;
    const char* Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os)
{
    *os << "[" << c.Section << "] " << c.Key;
}

class IniReadTest : public IniFileTestBase, public testing::TestWithParam<TReadCase>
{
};

TEST_P(IniReadTest, FindsValueLikeTheProfileFunctions)
{
    ASSERT_TRUE(Dir.isValid());
    const TIniFile ini(WriteFile("read.ini", ReadSample));
    EXPECT_EQ(ini.ReadString(GetParam().Section, GetParam().Key, "<default>"),
              QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniReadTest,
    testing::Values(
        TReadCase{"Main", "Name", "Alpha"}, TReadCase{"MAIN", "nAmE", "Alpha"},
        TReadCase{"main", "Spaced Key", "spaced value"},
        TReadCase{"Main", "Quoted", "  in quotes  "}, TReadCase{"Main", "Single", "single"},
        TReadCase{"Main", "Outer", "x"}, TReadCase{"Main", "Open", "\"open"},
        TReadCase{"Main", "Lone", "\""}, TReadCase{"Main", "Mixed", "\"mixed'"},
        TReadCase{"Main", "Empty", ""}, TReadCase{"Main", "Dup", "first"},
        TReadCase{"Main", "Eq", "a=b"}, TReadCase{"Main", "Commented", "<default>"},
        TReadCase{"Main", ";Commented", "<default>"}, TReadCase{"Main", "Missing", "<default>"},
        TReadCase{"Main", "Extra", "<default>"}, TReadCase{"Nowhere", "Name", "<default>"},
        TReadCase{"Trimmed", "Key", "v"}, TReadCase{"GRÖßE", "äPFEL", "7"},
        TReadCase{"Demos\\[Archive]\\Old.dproj", "fvBuild", "12"},
        TReadCase{"Nameless First", "k", "1"},
        TReadCase{" demos\\[archive]\\old.dproj ", "FVBUILD", "12"}));

struct TSectionCase {
    const char* Section;
    bool Exists;
};

class IniSectionTest : public IniFileTestBase, public testing::TestWithParam<TSectionCase>
{
};

TEST_P(IniSectionTest, ExistsOnlyWithKeys)
{
    ASSERT_TRUE(Dir.isValid());
    const TIniFile ini(WriteFile("read.ini", ReadSample));
    EXPECT_EQ(ini.SectionExists(GetParam().Section), GetParam().Exists) << GetParam().Section;
}

INSTANTIATE_TEST_SUITE_P(Sections, IniSectionTest,
                         testing::Values(TSectionCase{"Main", true}, TSectionCase{"mAIN", true},
                                         TSectionCase{"Empty Section", false},
                                         TSectionCase{"Trimmed", true},
                                         TSectionCase{"Nameless First", false},
                                         TSectionCase{"Nowhere", false}));

// ---- Reading integers --------------------------------------------------------

struct TIntCase {
    const char* Value;
    qint32 Expected; // with the default 99
};

void PrintTo(const TIntCase& c, std::ostream* os)
{
    *os << "k=" << c.Value;
}

class IniIntegerTest : public IniFileTestBase, public testing::TestWithParam<TIntCase>
{
};

TEST_P(IniIntegerTest, ReadsDecimalOrHex)
{
    ASSERT_TRUE(Dir.isValid());
    const TIniFile ini(WriteFile("int.ini", QByteArray("[S]\r\nk=") + GetParam().Value + "\r\n"));
    EXPECT_EQ(ini.ReadInteger("S", "k", 99), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    testing::Values(TIntCase{"42", 42}, TIntCase{"-42", -42}, TIntCase{"+7", 7}, TIntCase{" 5 ", 5},
                    TIntCase{"\"12\"", 12}, TIntCase{"0x1F", 31}, TIntCase{"0X1f", 31},
                    TIntCase{"$ff", 255}, TIntCase{"$7FFFFFFF", 2147483647},
                    TIntCase{"2147483647", 2147483647}, TIntCase{"-2147483648", -2147483647 - 1},
                    TIntCase{"2147483648", 99}, TIntCase{"-2147483649", 99},
                    TIntCase{"$100000000", 99}, TIntCase{"99999999999999999999999", 99},
                    TIntCase{"abc", 99}, TIntCase{"12abc", 99}, TIntCase{"1.5", 99},
                    TIntCase{"", 99}, TIntCase{"0x", 99}, TIntCase{"$", 99}, TIntCase{"0x1G", 99},
                    TIntCase{"- 1", 99}));

// ---- Writing -----------------------------------------------------------------

class IniFileTest : public IniFileTestBase, public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
};

TEST_F(IniFileTest, TextValueIsReadUpTo2047Characters)
{
    const QString longValue(3000, u'v');
    const QString exact(2047, u'e');
    const QString file = WriteFile(
        "long.ini", ("[S]\r\nlong=" + longValue + "\r\nexact=" + exact + "\r\n").toUtf8());
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("S", "long", ""), longValue.left(2047));
    EXPECT_EQ(ini.ReadString("S", "exact", ""), exact);
}

TEST_F(IniFileTest, UpdateChangesValuesInPlaceAndKeepsTheRest)
{
    const QByteArray before = "; kept comment\r\n"
                              "[A]\r\n"
                              "Unknown=u\r\n"
                              "Name=old\r\n"
                              "; inside\r\n"
                              "x=1\r\n"
                              "\r\n"
                              "\r\n"
                              "[Other]\r\n"
                              "y=2\r\n"
                              "[Demos\\[Archive]\\Old.dproj]\r\n"
                              "fvBuild=1\r\n";
    const QString file = WriteFile("s.vprj", before);
    TIniFile ini(file);
    ini.WriteString("a", "NAME", "new");
    ini.WriteInteger("A", "Added", -5);
    ini.WriteString("New", "k", "v");
    // A "]" inside a section name: the section is found, not added again.
    ini.WriteInteger("Demos\\[Archive]\\Old.dproj", "fvBuild", 2);
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), QByteArray("; kept comment\r\n"
                                                "[A]\r\n"
                                                "Unknown=u\r\n"
                                                "Name=new\r\n"
                                                "; inside\r\n"
                                                "x=1\r\n"
                                                "Added=-5\r\n"
                                                "\r\n"
                                                "\r\n"
                                                "[Other]\r\n"
                                                "y=2\r\n"
                                                "[Demos\\[Archive]\\Old.dproj]\r\n"
                                                "fvBuild=2\r\n"
                                                "[New]\r\n"
                                                "k=v\r\n"));
    const TIniFile again(file);
    EXPECT_EQ(again.ReadInteger("A", "added", 0), -5);
    EXPECT_EQ(again.ReadString("A", "Name", ""), "new");
}

TEST_F(IniFileTest, KeyWrittenToEmptySectionMakesItExist)
{
    const QString file = WriteFile("e.ini", "[Empty]\n[Next]\nk=1\n");
    TIniFile ini(file);
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_EQ(ini.ReadSections(), QStringList{"Next"});
    ini.WriteInteger("EMPTY", "n", 2147483647);
    EXPECT_TRUE(ini.SectionExists("Empty"));
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), QByteArray("[Empty]\nn=2147483647\n[Next]\nk=1\n"));
}

TEST_F(IniFileTest, NewFileIsUtf8WithoutMark)
{
    const QString file = Path("new.ini");
    TIniFile ini(file);
    EXPECT_FALSE(ini.SectionExists("S"));
    ini.WriteString("S", "k", QString::fromUtf8("Größe"));
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), QByteArray("[S]\r\nk=Gr\xC3\xB6\xC3\x9F\x65\r\n"));
}

class IniEncodingTest : public IniFileTestBase, public testing::TestWithParam<TTextEncoding>
{
};

TEST_P(IniEncodingTest, Utf16FileStaysUtf16)
{
    ASSERT_TRUE(Dir.isValid());
    TTextFormat f;
    f.Encoding = GetParam();
    f.HasBom = true;
    const QStringList lines{"[S]", QString::fromUtf8("a=日本")};
    const QString file = WriteFile("u16.ini", EncodeText(lines, f));
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("s", "A", ""), QString::fromUtf8("日本"));
    ini.WriteString("S", "b", QString::fromUtf8("€"));
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), EncodeText(lines + QStringList{QString::fromUtf8("b=€")}, f));
}

INSTANTIATE_TEST_SUITE_P(Encodings, IniEncodingTest,
                         testing::Values(TTextEncoding::Utf16LE, TTextEncoding::Utf16BE));

TEST_F(IniFileTest, AnsiFileBecomesUtf8OnlyWhenItCannotHoldAValue)
{
    const QByteArray ansi = "[S]\r\nname=Gr\xF6\xDF\x65\r\n";
    const QString file = WriteFile("ansi.ini", ansi);
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString("S", "name", ""), QString::fromUtf8("Größe"));
        ini.WriteString("S", "t", QString::fromUtf8("café"));
        ini.UpdateFile();
        EXPECT_EQ(TestFiles::Read(file), ansi + "t=caf\xE9\r\n");
    }
    TIniFile ini(file);
    ini.WriteString("S", "u", QString::fromUtf8("日本"));
    ini.UpdateFile();
    const QByteArray after = TestFiles::Read(file);
    EXPECT_TRUE(after.startsWith("\xEF\xBB\xBF"));
    const TTextContent content = DecodeText(after);
    EXPECT_EQ(content.Format.Encoding, TTextEncoding::Utf8);
    EXPECT_EQ(content.Lines,
              (QStringList{"[S]", QString::fromUtf8("name=Größe"), QString::fromUtf8("t=café"),
                           QString::fromUtf8("u=日本")}));
}

TEST_F(IniFileTest, FailedUpdateLeavesOldFileAndNamesIt)
{
    const QString old = WriteFile("plain", "[S]\r\nk=1\r\n");
    QDir(Dir.path()).mkdir("folder.vprj");
    for (const QString& target : {Path("plain/below.vprj"), Path("folder.vprj")}) {
        SCOPED_TRACE(target.toStdString());
        TIniFile ini(target);
        ini.WriteString("S", "k", "2");
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "no error";
        } catch (const TQuorvelError& e) {
            EXPECT_TRUE(e.Message().startsWith("Unable to write to " + target + ". ")) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(Path("folder.vprj")).isDir());
    EXPECT_EQ(TestFiles::Read(old), QByteArray("[S]\r\nk=1\r\n"));
}

TEST_F(IniFileTest, FailedUpdateOfWriteProtectedFileKeepsOldBytes)
{
    if (!TestFiles::PermissionsBind())
        GTEST_SKIP() << "root may write any file";
    const QString file = WriteFile("ro.vprj", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
    TIniFile ini(file);
    ini.WriteString("S", "k", "2");
    EXPECT_THROW(ini.UpdateFile(), TQuorvelError);
    EXPECT_EQ(TestFiles::Read(file), QByteArray("[S]\r\nk=1\r\n"));
}

TEST_F(IniFileTest, BinaryFileKeepsWhatASaveDoesNotChange)
{
    // Every byte value but the line breaks, in lines ended by CR LF, some of
    // them looking like broken headers and keys.
    static const char head[] = "\0\x01[\xFF\xFE]]\r\n=\x81=\x9D\r\n[\r\n\x7F\x80\x8D\x8F\x90\r\n";
    QByteArray junk(head, sizeof(head) - 1);
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            junk.append(char(b));
    junk.append("\r\n");
    const QString file = WriteFile("junk.vprj", junk);
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    ini.WriteString("S", "k", "v");
    ini.UpdateFile();
    EXPECT_EQ(TestFiles::Read(file), junk + "[S]\r\nk=v\r\n");
}

} // namespace
