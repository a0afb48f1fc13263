// The template editor page and the file choosers of the settings page.
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

class TTemplateEditorTest : public QObject
{
    Q_OBJECT

private:
    TMainForm& Started(TMainFormFixture& f)
    {
        const QString group = f.MakeGroup(QStringLiteral("G"), {QStringLiteral("A.dproj")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        return f.Start();
    }

private Q_SLOTS:
    void editCancelEditShowsTheFile()
    {
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        u.btSettings->click();
        u.btEdit->click();
        QCOMPARE(u.pcMain->currentIndex(), 2);
        QCOMPARE(u.laTemplateFile->text(), u.edTemplate->text());
        const QString original = u.seTemplate->text();
        QVERIFY(original.contains(QStringLiteral("$fvMajor")));
        u.seTemplate->setText(QStringLiteral("changed"));
        u.btCancel->click();
        QCOMPARE(u.pcMain->currentIndex(), 1);
        QCOMPARE(w.height(), u.pcMain->height());
        u.btEdit->click();
        QCOMPARE(u.seTemplate->text(), original);
    }

    void okKeepsTheFileForm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("utf8 bom lf") << QByteArray("\xEF\xBB\xBF"
                                                   "a\nb\n")
                                     << QByteArray("\xEF\xBB\xBF"
                                                   "a\nbX\n");
        QTest::newRow("crlf no final break") << QByteArray("a\r\nb") << QByteArray("a\r\nbX");
        QTest::newRow("utf16le") << QByteArray("\xFF\xFE"
                                               "a\0\r\0\n\0b\0\r\0\n\0",
                                               14)
                                 << QByteArray("\xFF\xFE"
                                               "a\0\r\0\n\0b\0X\0\r\0\n\0",
                                               16);
        QTest::newRow("windows-1252")
            << QByteArray("\xA9\r\nb\r\n") << QByteArray("\xA9\r\nbX\r\n");
    }

    void okKeepsTheFileForm()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        const QString file = f.WorkDir() + QStringLiteral("T.trc");
        TestFiles::Write(file, bytes);
        u.edTemplate->setText(file);
        u.btEdit->click();
        u.seTemplate->setCursorPosition(1, 1);
        u.seTemplate->insert(QStringLiteral("X"));
        u.btOk->click();
        QCOMPARE(u.pcMain->currentIndex(), 1);
        QCOMPARE(TestFiles::Read(file), expected);
    }

    void failuresLeaveTheEditorAsItWas()
    {
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        u.btEdit->click();
        const QString loaded = u.seTemplate->text();
        const QString missing = f.WorkDir() + QStringLiteral("missing.trc");
        u.edTemplate->setText(missing);
        u.btEdit->click();
        QCOMPARE(u.pcMain->currentIndex(), 2);
        QCOMPARE(u.seTemplate->text(), loaded);
        QCOMPARE(f.Boxes.Errors().size(), 1);
        QVERIFY(f.Boxes.Errors()[0].startsWith(
            QStringLiteral("Cannot open file \"%1\". ").arg(missing)));
        // A folder in the way: OK cannot write and keeps the unsaved text.
        const QString folder = f.WorkDir() + QStringLiteral("folder.trc");
        QDir().mkpath(folder);
        u.edTemplate->setText(folder);
        u.seTemplate->setText(QStringLiteral("unsaved"));
        u.btOk->click();
        QCOMPARE(u.pcMain->currentIndex(), 1);
        QCOMPARE(u.seTemplate->text(), QStringLiteral("unsaved"));
        QCOMPARE(f.Boxes.Errors().size(), 2);
        QVERIFY(f.Boxes.Errors()[1].startsWith(
            QStringLiteral("Cannot create file \"%1\". ").arg(folder)));
    }

    void insertReplacesTheSelection()
    {
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        u.btEdit->click();
        u.seTemplate->setText(QStringLiteral("x abc y"));
        u.seTemplate->setSelection(0, 2, 0, 5);
        u.cbPlaceholders->setCurrentIndex(6); // "Minor product version"
        QCOMPARE(u.cbPlaceholders->currentText(), QStringLiteral("Minor product version"));
        u.btnInsert->click();
        QCOMPARE(u.seTemplate->text(), QStringLiteral("x $pvMinor y"));
        int line = -1, index = -1;
        u.seTemplate->getCursorPosition(&line, &index);
        QCOMPARE(line, 0);
        QCOMPARE(index, 10);
        // Without a selection the text goes in at the caret.
        u.cbPlaceholders->setCurrentIndex(11);
        u.seTemplate->setCursorPosition(0, 0);
        u.btnInsert->click();
        QCOMPARE(u.seTemplate->text(), QStringLiteral("$Platformx $pvMinor y"));
        // Typed text that names no entry inserts nothing.
        u.cbPlaceholders->setEditText(QStringLiteral("nothing"));
        u.btnInsert->click();
        QCOMPARE(u.seTemplate->text(), QStringLiteral("$Platformx $pvMinor y"));
    }

    void listFollowsTheCaret()
    {
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        u.btEdit->click();
        u.seTemplate->setText(QStringLiteral("VALUE \"Ä\", \"$fvBuild\"\n  $COMPANY"));
        u.cbPlaceholders->setCurrentIndex(0);
        u.seTemplate->setCursorPosition(0, 13); // behind the "$"
        QCOMPARE(u.cbPlaceholders->currentText(), QStringLiteral("Build"));
        u.seTemplate->setCursorPosition(1, 5);
        QCOMPARE(u.cbPlaceholders->currentText(), QStringLiteral("Company"));
        u.seTemplate->setCursorPosition(0, 2); // not in a placeholder: no change
        QCOMPARE(u.cbPlaceholders->currentText(), QStringLiteral("Company"));
    }

    void choosersStartWhereTheFieldsPoint()
    {
        TMainFormFixture f;
        TMainForm& w = Started(f);
        const TMainFormUi u(w);
        f.Dialogs.Requests.clear();
        // Typed with "/", which Windows takes as a delimiter, too.
        u.edTemplate->setText(QStringLiteral("rel/dir/V.trc"));
        f.Dialogs.SetNextFileName(TestFiles::Native(QStringLiteral("/x/T.trc")));
        u.btTemplate->click();
        QCOMPARE(f.Dialogs.Requests[0].InitialDir, TestFiles::Native(QStringLiteral("rel/dir/")));
        QCOMPARE(f.Dialogs.Requests[0].Title, QStringLiteral("Select resource template"));
        QCOMPARE(f.Dialogs.Requests[0].Filter, QStringLiteral("Templates|*.trc|all|*.*"));
        QCOMPARE(u.edTemplate->text(), TestFiles::Native(QStringLiteral("/x/T.trc")));
        u.edTemplate->clear();
        u.btTemplate->click(); // cancelled: the field stays
        QCOMPARE(f.Dialogs.Requests[1].InitialDir, f.ProgramDir());
        QVERIFY(u.edTemplate->text().isEmpty());
        u.edResCompiler->setText(QStringLiteral("/opt/bin/brcc32.exe"));
        u.btResCompiler->click();
        QCOMPARE(f.Dialogs.Requests[2].InitialDir, TestFiles::Native(QStringLiteral("/opt/bin/")));
        u.edResCompiler->clear();
        u.btResCompiler->click();
        QCOMPARE(f.Dialogs.Requests[3].FileName, QStringLiteral("brcc32.exe"));
#ifdef Q_OS_WIN
        QCOMPARE(f.Dialogs.Requests[3].Filter, QStringLiteral("Programs|*.exe"));
#else
        // Programs have no extension here: the chooser lists every file.
        QCOMPARE(f.Dialogs.Requests[3].Filter, QStringLiteral("Programs|*"));
#endif
        QVERIFY(f.Dialogs.Requests[3].InitialDir.endsWith(
            TestFiles::Native(QStringLiteral("programs/"))));
        u.cbProjectGroup->setEditText(QStringLiteral("groups/G.groupproj"));
        u.btProjectGroup->click();
        QCOMPARE(f.Dialogs.Requests[4].InitialDir, TestFiles::Native(QStringLiteral("groups/")));
    }
};

QTEST_MAIN(TTemplateEditorTest)
#include "TemplateEditorTest.moc"
