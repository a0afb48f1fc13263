#pragma once
// The main window and its list editor as a user meets them: shown, with the
// focus where a user leaves it, driven by keys and clicks. The German program
// runs the same cases on the translated window.
#include "app/TranslationSamples.h"
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "project/Configuration.h"
#include "support/IniFile.h"
#include "support/Translation.h"
#include "testsupport/TestFiles.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shlobj.h>
#endif

class TWindowOnScreenTest : public QObject
{
    Q_OBJECT

private:
    // A shown and active window on a group of two projects.
    static TMainForm& Shown(TMainFormFixture& f)
    {
        const QString group = f.MakeGroup(
            QStringLiteral("Group"), {QStringLiteral("App.dproj"), QStringLiteral("Lib.dproj")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            qWarning("the window did not become active");
        return w;
    }

    // Clicks the window's buttons named, in order.
    static void Click(TMainForm& w, const QStringList& buttons)
    {
        for (const QString& name : buttons) {
            auto* button = w.findChild<QAbstractButton*>(name);
            QVERIFY2(button, qPrintable(name));
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

private Q_SLOTS:
    void pagesTakeTheirHeight_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("withLog");
        QTest::newRow("settings") << QStringList{QStringLiteral("btSettings")} << false;
        QTest::newRow("editor") << QStringList{QStringLiteral("btSettings"),
                                               QStringLiteral("btEdit")}
                                << false;
        QTest::newRow("back") << QStringList{QStringLiteral("btSettings"), QStringLiteral("btBack")}
                              << true;
    }

    void pagesTakeTheirHeight()
    {
        QFETCH(QStringList, buttons);
        QFETCH(bool, withLog);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        const int start = w.height();
        Click(w, buttons);
        QCOMPARE(u.mmDos->isVisible(), withLog);
        QCOMPARE(w.height(), withLog ? start : u.pcMain->height());
        QCOMPARE(u.pcMain->height(), 451);
    }

    // Esc and Enter press the button of the page they belong to, wherever the
    // focus stands, except in the log pane (Esc) and in the template (Enter).
    void keysPressThePageButton_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed");
        const QStringList process;
        const QStringList settings{QStringLiteral("btSettings")};
        const QStringList editor{QStringLiteral("btSettings"), QStringLiteral("btEdit")};
        QTest::newRow("Esc, group field") << process << QStringLiteral("cbProjectGroup")
                                          << int(Qt::Key_Escape) << QStringLiteral("btProcess");
        QTest::newRow("Esc, log pane")
            << process << QStringLiteral("mmDos") << int(Qt::Key_Escape) << QString();
        QTest::newRow("Esc, settings") << settings << QStringLiteral("edResPath")
                                       << int(Qt::Key_Escape) << QStringLiteral("btBack");
        QTest::newRow("Esc, template") << editor << QStringLiteral("seTemplate")
                                       << int(Qt::Key_Escape) << QStringLiteral("btCancel");
        QTest::newRow("Enter, placeholders") << editor << QStringLiteral("cbPlaceholders")
                                             << int(Qt::Key_Return) << QStringLiteral("btOk");
        QTest::newRow("Enter, Insert button") << editor << QStringLiteral("btnInsert")
                                              << int(Qt::Key_Enter) << QStringLiteral("btOk");
        QTest::newRow("Enter, template")
            << editor << QStringLiteral("seTemplate") << int(Qt::Key_Return) << QString();
    }

    void keysPressThePageButton()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, pressed);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        Click(w, buttons);
        const int lines = u.seTemplate->lines();
        w.findChild<QWidget*>(focus)->setFocus();
        QStringList clicked;
        QObject watch;
        for (QPushButton* b : {u.btProcess, u.btBack, u.btOk, u.btCancel})
            connect(b, &QPushButton::clicked, &watch,
                    [&clicked, b] { clicked << b->objectName(); });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!Runs(w).IsRunning());
        QCOMPARE(clicked, pressed.isEmpty() ? QStringList() : QStringList{pressed});
        // Enter in the template is a line break there.
        if (focus == QLatin1String("seTemplate") && key == Qt::Key_Return)
            QCOMPARE(u.seTemplate->lines(), lines + 1);
    }

    void okWritesTheTextAsShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF, empty last line") << QByteArray("line1\r\nline2\r\n\r\n");
        QTest::newRow("LF, two empty last lines") << QByteArray("a\n\n\n");
        QTest::newRow("empty line, no final break") << QByteArray("a\r\n\r\nb");
    }

    void okWritesTheTextAsShown()
    {
        QFETCH(QByteArray, bytes);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        const QString file = f.WorkDir() + QStringLiteral("T.trc");
        TestFiles::Write(file, bytes);
        u.edTemplate->setText(file);
        Click(w, {QStringLiteral("btSettings"), QStringLiteral("btEdit"), QStringLiteral("btOk")});
        QCOMPARE(TestFiles::Read(file), bytes);
    }

    void insertLeavesTheCaretBehind_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        QTest::newRow("over a selection") << 0 << 3 << QStringLiteral("$pvMinor$pvMinor") << 8;
        QTest::newRow("at the caret") << 3 << 3 << QStringLiteral("abc$pvMinor$pvMinor") << 11;
    }

    void insertLeavesTheCaretBehind()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        Click(w, {QStringLiteral("btSettings"), QStringLiteral("btEdit")});
        u.seTemplate->setText(QStringLiteral("abc$pvMinor"));
        u.seTemplate->setSelection(0, from, 0, to);
        u.cbPlaceholders->setCurrentIndex(u.cbPlaceholders->findData(6)); // pvMinor
        Click(w, {QStringLiteral("btnInsert")});
        QCOMPARE(u.seTemplate->text(), expected);
        int line = -1, index = -1;
        u.seTemplate->getCursorPosition(&line, &index);
        QCOMPARE(index, caret);
    }

    // However the drop-down closes, the fields are stored, the group saved and
    // opened again.
    void historyDropDownClosing_data()
    {
        QTest::addColumn<int>("key"); // none: a click elsewhere
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("click elsewhere") << 0;
        QTest::newRow("entry chosen") << int(Qt::Key_Return);
    }

    void historyDropDownClosing()
    {
        QFETCH(int, key);
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        u.edCompany->setText(QStringLiteral("Edited"));
        u.cbProjectGroup->showPopup();
        QWidget* popup = u.cbProjectGroup->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        if (key)
            QTest::keyClick(u.cbProjectGroup->view(), Qt::Key(key));
        else
            QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {},
                              u.lbProjectName->mapTo(&w, u.lbProjectName->rect().center()));
        QTRY_VERIFY(!popup->isVisible());
        // The close-up comes from the event loop: the file is read anew
        // until it holds the value.
        const QString settings = f.WorkDir() + QStringLiteral("Group.vprj");
        QTRY_COMPARE(TIniFile(settings).ReadString(QStringLiteral("Global"),
                                                   QStringLiteral("Company"), QString()),
                     QStringLiteral("Edited"));
        // Esc there closes the drop-down only: it does not also run "Create
        // resource files".
        QVERIFY(!Runs(w).IsRunning());
        QCOMPARE(u.mmDos->toPlainText(), QString());
        QCOMPARE(u.lbProjects->count(), 2);
        QCOMPARE(Groups(w).LastIndex(), 0);
    }

    // After Remove (or a move) Enter is still OK: no button takes the default
    // from OK by being clicked.
    // Disabling "Create resource files" for the run moves the focus on; at
    // the run's end it comes back, so that a second Space runs again instead
    // of pressing "Close program".
    void focusReturnsToCreateAfterARun()
    {
        TMainFormFixture f;
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        u.btProcess->setFocus();
        QTest::keyClick(u.btProcess, Qt::Key_Space);
        QVERIFY(Runs(w).IsRunning());
        QTRY_VERIFY(!Runs(w).IsRunning());
        QCOMPARE(QApplication::focusWidget(), u.btProcess);
    }

    // Esc during a run is "Cancel"; closing asks, and "Yes" cancels and
    // closes once the compiler has ended. Either way the running compiler
    // ends with the processes it started, no further script is written, and
    // the log says how far the run came; the group cannot change meanwhile.
    void cancelEndsTheRun_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("Esc") << false;
        QTest::newRow("close") << true;
    }

    void cancelEndsTheRun()
    {
        QFETCH(bool, close);
        TMainFormFixture f;
        f.HoldCompilers();
        TMainForm& w = Shown(f);
        const TMainFormUi u(w);
        u.btProcess->click();
        QTRY_VERIFY(f.CompilerHeld());
        QCOMPARE(u.btProcess->text(), Tr("Cancel (%1 of %2)").arg(0).arg(4));
        QVERIFY(!u.cbProjectGroup->isEnabled() && !u.btProjectGroup->isEnabled() &&
                !u.btSettings->isEnabled());
        if (close)
            QVERIFY(!w.close());
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!Runs(w).IsRunning());
        QCOMPARE(w.isVisible(), !close);
        QCOMPARE(f.Boxes.Questions.size(), close ? 1 : 0);
        QVERIFY(!TestFiles::ProcessAlive(f.HeldCompiler()));
        QCOMPARE(TestFiles::FindFiles(f.WorkDir(), {QStringLiteral(".rc")}).size(), 1);
        QVERIFY2(
            u.mmDos->toPlainText().contains(Tr("Cancelled after %1 of %2 scripts").arg(1).arg(4)),
            qPrintable(u.mmDos->toPlainText()));
        QVERIFY(u.cbProjectGroup->isEnabled());
        QCOMPARE(u.btProcess->text(), Tr("Create resource files"));
    }

    // An arrow key or a wheel notch on the closed group field opens nothing.
    void closedGroupFieldKeepsItsGroup_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Down") << int(Qt::Key_Down);
        QTest::newRow("PageDown") << int(Qt::Key_PageDown);
        QTest::newRow("wheel") << 0;
    }

    void closedGroupFieldKeepsItsGroup()
    {
        QFETCH(int, key);
        TMainFormFixture f;
        const QStringList groups{f.MakeGroup(QStringLiteral("a"), {QStringLiteral("A.dproj")}),
                                 f.MakeGroup(QStringLiteral("b"), {QStringLiteral("B.dproj")})};
        f.WriteConfig(groups[1], TestFiles::FakeCompiler(), {}, {groups[1], groups[0]});
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        u.cbProjectGroup->setFocus();
        if (key != 0)
            QTest::keyClick(u.cbProjectGroup, Qt::Key(key));
        else {
            const QPoint at = u.cbProjectGroup->rect().center();
            QWheelEvent wheel(at, u.cbProjectGroup->mapToGlobal(at), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(u.cbProjectGroup, &wheel);
        }
        // An opened group would arrive through the event loop.
        QTest::qWait(0);
        QCOMPARE(u.cbProjectGroup->currentText(), groups[1]);
        QCOMPARE(Groups(w).Group().LastProjectGrp, groups[1]);
    }

    void enterInTheListEditorIsOk_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Remove") << QStringList{QStringLiteral("btnDelete")}
                                << QStringList{QStringLiteral("a"), QStringLiteral("c")};
        QTest::newRow("Remove, Up")
            << QStringList{QStringLiteral("btnDelete"), QStringLiteral("UpBtn")}
            << QStringList{QStringLiteral("c"), QStringLiteral("a")};
    }

    void enterInTheListEditorIsOk()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, expected);
        TMainFormFixture f;
        QStringList groups;
        for (const QString& name : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
            groups << f.MakeGroup(name, {QStringLiteral("A.dproj")});
        f.WriteConfig(groups[0], TestFiles::FakeCompiler(), {}, groups);
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const bool driven = TranslationSamples::DriveModal(
            [&] { u.pmiEditList->trigger(); },
            [&](QWidget* dialog) {
                QVERIFY(QTest::qWaitForWindowExposed(dialog));
                dialog->findChild<QListWidget*>()->setCurrentRow(1);
                for (const QString& name : buttons)
                    QTest::mouseClick(dialog->findChild<QAbstractButton*>(name), Qt::LeftButton);
                QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->isDefault());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
        QVERIFY(driven);
        // The edited history is what the configuration keeps.
        QVERIFY(w.close());
        const TIniFile ini(f.ConfigFile());
        QStringList saved;
        QCOMPARE(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("ProjGroupCount"), 0),
                 expected.size());
        for (int i = 1; i <= expected.size(); ++i)
            saved << QFileInfo(
                         ini.ReadString(QStringLiteral("Config"), ProjGroupsKey(i), QString()))
                         .baseName();
        QCOMPARE(saved, expected);
    }

    // Without a Documents folder the group chooser starts at home, not in the
    // folder the program was started from.
    void groupChooserStartFolder_data()
    {
        QTest::addColumn<bool>("documents");
        QTest::newRow("Documents") << true;
        QTest::newRow("no Documents") << false;
    }

    void groupChooserStartFolder()
    {
        QFETCH(bool, documents);
        TMainFormFixture f;
#ifdef Q_OS_WIN
        if (!documents)
            QSKIP("Windows always has a Documents folder: the shell names it, and a test cannot "
                  "take it away");
        // The shell names the user's folders, and a test cannot point them
        // elsewhere: the configuration goes into the user's roaming folder,
        // under a name of this run's own, removed afterwards.
        wchar_t folder[MAX_PATH];
        QVERIFY(SUCCEEDED(
            SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)));
        const QString expected = QString::fromWCharArray(folder) + u'\\';
        QVERIFY(SUCCEEDED(
            SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)));
        f.ExeBaseName = QStringLiteral("quorvel-test-%1").arg(QCoreApplication::applicationPid());
        const QString config =
            QString::fromWCharArray(folder) + u'\\' + f.ExeBaseName + QStringLiteral(".ini");
        const auto remove = qScopeGuard([&] { QFile::remove(config); });
        TestFiles::Write(config,
                         TestFiles::CrLf({QStringLiteral("[Config]"),
                                          QStringLiteral("ResourceCompiler=") +
                                              TestFiles::Native(TestFiles::FakeCompiler())}));
#else
        const QString home = f.WorkDir() + QStringLiteral("home");
        QDir().mkpath(documents ? home + QStringLiteral("/Documents") : home);
        const QString expected =
            home + (documents ? QStringLiteral("/Documents/") : QStringLiteral("/"));
        // The user's folders as the program finds them, below the fixture's.
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            oldConfig.isEmpty() ? qunsetenv("XDG_CONFIG_HOME")
                                : qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(f.ConfigDir()));
        f.WriteConfig(QString(), TestFiles::FakeCompiler());
        const QString config = f.ConfigFile();
#endif
        f.SystemFolders = true;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        w.show();
        QTRY_VERIFY(!w.isVisible()); // the chooser was cancelled
        QCOMPARE(f.Dialogs.Requests.size(), 1);
        QCOMPARE(f.Dialogs.Requests[0].InitialDir, expected);
        // Closing wrote the configuration back where it was read from.
        QCOMPARE(TIniFile(config).ReadString(QStringLiteral("Config"),
                                             QStringLiteral("ResourcePath"), QString()),
                 QStringLiteral("Resources"));
    }
};
