// quorvel-cli speaks the user's language through the window's catalogs:
// German with LANGUAGE=de, English for a language without a catalog.
#include "testsupport/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <ostream>

namespace
{

enum class TStream { Out, Err };

struct TCliLanguageCase {
    const char* Name;
    const char* Language;
    QStringList Arguments; // "GROUP1" and "GROUP2": a group of one or two projects
    int ExitCode;
    TStream Stream;
    const char* Expected; // a line or lines of the output, "%1" the temporary folder
};

void PrintTo(const TCliLanguageCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CliTranslationTest : public testing::TestWithParam<TCliLanguageCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        // Groups whose projects agree with the group: check finds nothing.
        const QByteArray project = TestFiles::ProjectFile(
            QStringLiteral("CompanyName=Acme;FileVersion=1.0.0.0;ProductVersion=1.0.0.0"),
            QStringLiteral("3"));
        TestFiles::Write(Dir.filePath(QStringLiteral("A.dproj")), project);
        TestFiles::Write(Dir.filePath(QStringLiteral("B.dproj")), project);
        TestFiles::Write(Dir.filePath(QStringLiteral("One.groupproj")),
                         TestFiles::GroupFile({QStringLiteral("A.dproj")}));
        TestFiles::Write(
            Dir.filePath(QStringLiteral("Two.groupproj")),
            TestFiles::GroupFile({QStringLiteral("A.dproj"), QStringLiteral("B.dproj")}));
        // A named configuration must exist; an empty one gives the defaults.
        TestFiles::Write(Dir.filePath(QStringLiteral("empty.ini")), QByteArray());
    }

    QTemporaryDir Dir;
};

TEST_P(CliTranslationTest, SpeaksTheLanguage)
{
    const TCliLanguageCase& c = GetParam();
    QStringList arguments{QStringLiteral("--config"), Dir.filePath(QStringLiteral("empty.ini"))};
    for (const QString& a : c.Arguments)
        arguments << (a == QLatin1String("GROUP1")   ? QStringLiteral("One.groupproj")
                      : a == QLatin1String("GROUP2") ? QStringLiteral("Two.groupproj")
                                                     : a);
    QProcess cli;
    cli.setWorkingDirectory(Dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), Dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("LANGUAGE"), QLatin1String(c.Language));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    cli.setProcessEnvironment(env);
    ASSERT_TRUE(TestFiles::Start(cli, TestFiles::CliProgram(), arguments))
        << cli.errorString().toStdString();
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString out = TestFiles::ProgramOutput(cli.readAllStandardOutput());
    const QString err = TestFiles::ProgramOutput(cli.readAllStandardError());
    EXPECT_EQ(cli.exitCode(), c.ExitCode) << err.toStdString();
    const QString expected =
        QString::fromUtf8(c.Expected)
            .replace(QStringLiteral("%1/"), TestFiles::Native(Dir.path() + u'/'));
    const QString& shown = c.Stream == TStream::Out ? out : err;
    EXPECT_TRUE(shown.contains(expected)) << "expected:\n"
                                          << expected.toStdString() << "\nshown:\n"
                                          << shown.toStdString();
}

const QString Help = QStringLiteral("--help");

INSTANTIATE_TEST_SUITE_P(
    Languages, CliTranslationTest,
    testing::Values(
        TCliLanguageCase{
            "GermanOverview",
            "de",
            {Help},
            0,
            TStream::Out,
            "Aufruf: quorvel-cli [--config FILE] COMMAND [ARGS...]\n\n"
            "Pflegt die Versionsinformationen einer Delphi-Projektgruppe und erzeugt ihre\n"
            "Versionsressourcen, wie es das Quorvel-Fenster tut.\n\nBefehle:\n"
            "  list    die Werte der Gruppe und jedes Projekt zeigen\n"},
        TCliLanguageCase{"GermanOptions",
                         "de",
                         {Help},
                         0,
                         TStream::Out,
                         "\nOptionen:\n  --config FILE  diese Konfigurationsdatei statt der des "
                         "Fensters lesen\n"},
        TCliLanguageCase{"GermanUnknownOption",
                         "de",
                         {QStringLiteral("--fast")},
                         2,
                         TStream::Err,
                         "quorvel-cli: unbekannte Option --fast\nAufruf: "},
        TCliLanguageCase{"GermanUnknownCommand",
                         "de",
                         {QStringLiteral("make")},
                         2,
                         TStream::Err,
                         "quorvel-cli: unbekannter Befehl make\n"},
        TCliLanguageCase{"GermanUsageError",
                         "de",
                         {QStringLiteral("list")},
                         2,
                         TStream::Err,
                         "quorvel-cli: keine Gruppendatei angegeben\n"
                         "Aufruf: quorvel-cli [--config FILE] list GROUP [--json]\n"},
        TCliLanguageCase{
            "GermanCommandHelp",
            "de",
            {QStringLiteral("set"), Help},
            0,
            TStream::Out,
            "Aufruf: quorvel-cli [--config FILE] set GROUP [--project ENTRY]... [--all] "
            "KEY=VALUE...\nGruppenschlüssel:  pvMajor"},
        TCliLanguageCase{"GermanFileError",
                         "de",
                         {QStringLiteral("list"), QStringLiteral("Missing.groupproj")},
                         1,
                         TStream::Err,
                         "Die Datei „%1/Missing.groupproj“ kann nicht geöffnet werden. "},
        TCliLanguageCase{"GermanOneProject",
                         "de",
                         {QStringLiteral("check"), QStringLiteral("GROUP1")},
                         0,
                         TStream::Out,
                         "Keine Warnungen für 1 Projekt\n"},
        TCliLanguageCase{"GermanTwoProjects",
                         "de",
                         {QStringLiteral("check"), QStringLiteral("GROUP2")},
                         0,
                         TStream::Out,
                         "Keine Warnungen für 2 Projekte\n"},
        TCliLanguageCase{"GermanList",
                         "de",
                         {QStringLiteral("list"), QStringLiteral("GROUP1")},
                         0,
                         TStream::Out,
                         "Gruppe:            %1/One.groupproj\n"
                         "Einstellungsdatei: %1/One.vprj (noch nicht geschrieben)\n"
                         "Produktversion 1.0  Firma: Acme"},
        TCliLanguageCase{"FrenchUsageError",
                         "fr",
                         {QStringLiteral("list")},
                         2,
                         TStream::Err,
                         "quorvel-cli: no group file given\n"
                         "usage: quorvel-cli [--config FILE] list GROUP [--json]\n"},
        TCliLanguageCase{"FrenchFileError",
                         "fr",
                         {QStringLiteral("list"), QStringLiteral("Missing.groupproj")},
                         1,
                         TStream::Err,
                         "Cannot open file \"%1/Missing.groupproj\". "},
        TCliLanguageCase{"EnglishOneProject",
                         "en",
                         {QStringLiteral("check"), QStringLiteral("GROUP1")},
                         0,
                         TStream::Out,
                         "No warnings for 1 project\n"},
        TCliLanguageCase{"EnglishTwoProjects",
                         "en",
                         {QStringLiteral("check"), QStringLiteral("GROUP2")},
                         0,
                         TStream::Out,
                         "No warnings for 2 projects\n"}),
    [](const testing::TestParamInfo<TCliLanguageCase>& info) {
        return std::string(info.param.Name);
    });

} // namespace
