// The window follows the group's files on disk, and its saves put only the
// user's edits over what other writers (quorvel-cli, git) left there.
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "support/IniFile.h"
#include "testsupport/TestFiles.h"

#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#ifndef Q_OS_WIN
#include <csignal>
#include <unistd.h>
#endif

namespace
{

// A watcher's report on a busy machine: far above the 100 ms the window waits
// for a burst of writes to end.
constexpr int ShownWithinMs = 5000;

const QString App = QStringLiteral("App.dproj");
const QString Lib = QStringLiteral("Lib.dproj");

// Writes a file as git and editors do: a new file renamed over the old one.
void ReplaceFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    QVERIFY(file.commit());
}

} // namespace

class TFollowTheDiskTest : public QObject
{
    Q_OBJECT

private:
    // A shown window on App (file version 1.2.3.15) and Lib.
    static TMainForm& Shown(TMainFormFixture& f)
    {
        const QString group = f.MakeGroup(QStringLiteral("Group"), {App, Lib},
                                          {QStringLiteral("1.2.3.15"), QStringLiteral("2.0.0.7")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        TMainForm& w = f.Start();
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qWarning("the window was not exposed");
        return w;
    }

    static TestFiles::TCliRun Cli(TMainFormFixture& f, const QStringList& arguments)
    {
        return TestFiles::RunCli(QStringList{QStringLiteral("--config"), f.ConfigFile()} +
                                     arguments,
                                 f.WorkDir(), f.WorkDir());
    }

private Q_SLOTS:
    void outsideWritesAreKept_data()
    {
        QTest::addColumn<QStringList>("cli");
        QTest::addColumn<QByteArray>("renamedOver"); // the settings file, as a checkout writes it
        QTest::addColumn<QStringList>("entries");    // the group file rewritten with these
        QTest::addColumn<QString>("typed");          // the user's company, typed before
        QTest::addColumn<bool>("wait");              // for the window to show it
        QTest::addColumn<int>("build");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("lastEntry");
        QTest::addColumn<QString>("logLine");
        const QStringList bump{QStringLiteral("bump"), QStringLiteral("--build")};
        const QStringList set{QStringLiteral("set"), QStringLiteral("Company=FromCLI")};
        const QString acme = QStringLiteral("Acme");
        QTest::newRow("bump") << bump << QByteArray() << QStringList() << QString() << true << 16
                              << acme << Lib << QString();
        QTest::newRow("set") << set << QByteArray() << QStringList() << QString() << true << 15
                             << QStringLiteral("FromCLI") << Lib << QString();
        QTest::newRow("edit, bump, close at once")
            << bump << QByteArray() << QStringList() << QStringLiteral("Mine") << false << 16
            << QStringLiteral("Mine") << Lib << QString();
        QTest::newRow("older file checked out")
            << QStringList()
            << QByteArray("[Global]\r\nCompany=Old\r\n[App.dproj]\r\nfvMajor=1\r\nfvBuild=3\r\n")
            << QStringList() << QString() << true << 3 << QStringLiteral("Old") << Lib << QString();
        QTest::newRow("both changed the company")
            << set << QByteArray() << QStringList() << QStringLiteral("Mine") << true << 15
            << QStringLiteral("Mine") << Lib
            << QStringLiteral("Project group: Company was changed on disk to \"FromCLI\" and in "
                              "the window to \"Mine\"; the window's value is kept");
        QTest::newRow("project added without its file")
            << QStringList() << QByteArray() << QStringList{App, Lib, QStringLiteral("New.dproj")}
            << QStringLiteral("Mine") << true << 15 << QStringLiteral("Mine")
            << QStringLiteral("New.dproj (missing)") << QString();
    }

    void outsideWritesAreKept()
    {
        QFETCH(QStringList, cli);
        QFETCH(QByteArray, renamedOver);
        QFETCH(QStringList, entries);
        QFETCH(QString, typed);
        QFETCH(bool, wait);
        QFETCH(int, build);
        QFETCH(QString, company);
        QFETCH(QString, lastEntry);
        QFETCH(QString, logLine);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        const QString group = Groups(w).Group().LastProjectGrp;
        const QString settings = Groups(w).Group().LastGroupFile;
        if (!typed.isEmpty()) {
            u.edCompany->selectAll();
            QTest::keyClicks(u.edCompany, typed);
        }
        if (!cli.isEmpty()) {
            cli.insert(1, group);
            const TestFiles::TCliRun run = Cli(f, cli);
            QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        }
        if (!renamedOver.isEmpty())
            ReplaceFile(settings, renamedOver);
        if (!entries.isEmpty())
            ReplaceFile(group, TestFiles::GroupFile(entries));
        if (wait) {
            QTRY_COMPARE_WITH_TIMEOUT(u.lbProjects->item(u.lbProjects->count() - 1)->text(),
                                      lastEntry, ShownWithinMs);
            QTRY_COMPARE_WITH_TIMEOUT(u.udBuild->value(), build, ShownWithinMs);
            QTRY_COMPARE_WITH_TIMEOUT(u.edCompany->text(), company, ShownWithinMs);
            if (!logLine.isEmpty())
                QTRY_VERIFY_WITH_TIMEOUT(u.mmDos->toPlainText().contains(logLine), ShownWithinMs);
        }
        QVERIFY(w.close());
        const TIniFile ini(settings);
        QCOMPARE(ini.ReadInteger(App, QStringLiteral("fvBuild"), -1), build);
        QCOMPARE(ini.ReadString(QStringLiteral("Global"), QStringLiteral("Company"), QString()),
                 company);
    }

    // Opening another group saves the open group's edits, whichever way it is
    // opened; the field then names the group listed.
    void openingAnotherGroupSaves_data()
    {
        QTest::addColumn<bool>("typedPath");
        QTest::newRow("folder button") << false;
        QTest::newRow("typed path and Enter") << true;
    }

    void openingAnotherGroupSaves()
    {
        QFETCH(bool, typedPath);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        const QString settings = Groups(w).Group().LastGroupFile;
        const QString other = f.MakeGroup(QStringLiteral("Other"), {QStringLiteral("One.dproj")});
        u.edCompany->selectAll();
        QTest::keyClicks(u.edCompany, QStringLiteral("Mine"));
        if (typedPath) {
            u.cbProjectGroup->lineEdit()->selectAll();
            QTest::keyClicks(u.cbProjectGroup->lineEdit(), other);
            QTest::keyClick(u.cbProjectGroup->lineEdit(), Qt::Key_Return);
        } else {
            f.Dialogs.SetNextFileName(other);
            QTest::mouseClick(u.btProjectGroup, Qt::LeftButton);
        }
        QCOMPARE(u.lbProjects->count(), 1);
        QCOMPARE(u.cbProjectGroup->currentText(), other);
        QCOMPARE(TIniFile(settings).ReadString(QStringLiteral("Global"), QStringLiteral("Company"),
                                               QString()),
                 QStringLiteral("Mine"));
    }

    void runTakesTheTemplateOnDisk()
    {
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        QTest::mouseClick(u.btSettings, Qt::LeftButton);
        QTest::mouseClick(u.btEdit, Qt::LeftButton);
        u.seTemplate->append(QStringLiteral("// edited in the window\r\n"));
        QTest::mouseClick(u.btOk, Qt::LeftButton);
        QTest::mouseClick(u.btBack, Qt::LeftButton);
        QTest::mouseClick(u.btProcess, Qt::LeftButton);
        QTRY_VERIFY(!Runs(w).IsRunning());
        QVERIFY(TestFiles::Read(f.WorkDir() + QStringLiteral("Resources/App-32.rc"))
                    .contains("// edited in the window"));
    }

    void signalSavesLikeAClose()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX signals");
#else
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        u.edCompany->selectAll();
        QTest::keyClicks(u.edCompany, QStringLiteral("Mine"));
        ::kill(::getpid(), SIGTERM);
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(w.ExitCode(), 128 + SIGTERM);
        QCOMPARE(TIniFile(Groups(w).Group().LastGroupFile)
                     .ReadString(QStringLiteral("Global"), QStringLiteral("Company"), QString()),
                 QStringLiteral("Mine"));
#endif
    }
};

QTEST_MAIN(TFollowTheDiskTest)
#include "FollowTheDiskTest.moc"
