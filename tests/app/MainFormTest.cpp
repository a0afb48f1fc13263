// The main window driven through its controls, offscreen, on temporary folders.
#include "QuorvelVersion.h"
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "support/IniFile.h"
#include "support/ProgramInfo.h"
#include "testsupport/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

class TMainFormTest : public QObject
{
    Q_OBJECT

private:
    // A window started on a group of three projects with a valid compiler.
    TMainForm& StartOnGroup(TMainFormFixture& f,
                            const QStringList& entries = {QStringLiteral("App.dproj"),
                                                          QStringLiteral("Lib.dproj"),
                                                          QStringLiteral("sub\\Tool.dproj")})
    {
        const QString group = f.MakeGroup(QStringLiteral("Group"), entries,
                                          {QStringLiteral("1.2.3.4"), QStringLiteral("2.0.0.7")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        return f.Start();
    }

private Q_SLOTS:
    void firstRunAsksForCompilerAndGroup()
    {
        TMainFormFixture f;
        const QString group = f.MakeGroup(QStringLiteral("G"), {QStringLiteral("A.dproj")});
        f.Dialogs.SetNextFileName(TestFiles::FakeCompiler());
        f.Dialogs.SetNextFileName(group);
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        QCOMPARE(u.edTemplate->text(), f.ProgramDir() + QStringLiteral("VersInfo.trc"));
        QCOMPARE(u.edResPath->text(), QStringLiteral("Resources"));
        QCOMPARE(u.edSuffix32->text(), QStringLiteral("-32"));
        QCOMPARE(u.edSuffix64->text(), QStringLiteral("-64"));
        QCOMPARE(f.Dialogs.Requests.size(), 2);
        QCOMPARE(f.Dialogs.Requests[0].FileName, QStringLiteral("brcc32.exe"));
        QCOMPARE(f.Dialogs.Requests[0].Title, QStringLiteral("Select resource compiler"));
        QCOMPARE(f.Dialogs.Requests[1].Title, QStringLiteral("Select Delphi project group"));
        QCOMPARE(f.Dialogs.Requests[1].InitialDir, f.DocumentsDir());
        QCOMPARE(u.lbProjects->count(), 1);
        QCOMPARE(Groups(w).Group().LastGroupFile, f.WorkDir() + QStringLiteral("G.vprj"));
    }

    // A first start on a fresh configuration builds the shipped demo with
    // llvm-rc: the configuration the window creates escapes text values.
    void firstRunBuildsTheDemoWithLlvmRc()
    {
#ifdef Q_OS_WIN
        QSKIP("the build machine's llvm-rc is a Linux program");
#endif
        const QString llvmRc = QStringLiteral("/usr/bin/llvm-rc");
        if (!QFileInfo::exists(llvmRc))
            QSKIP("llvm-rc is not installed (Debian package llvm-14)");
        TMainFormFixture f;
        const QString examples = TestFiles::ExamplesDir() + QStringLiteral("/demo/");
        for (const QString& file : TestFiles::FindFiles(
                 examples, {QStringLiteral(".groupproj"), QStringLiteral(".dproj")}))
            TestFiles::Write(f.WorkDir() + file.mid(examples.size()), TestFiles::Read(file));
        f.Dialogs.SetNextFileName(llvmRc);
        f.Dialogs.SetNextFileName(f.WorkDir() + QStringLiteral("Demo.groupproj"));
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        u.btProcess->click();
        QTRY_VERIFY_WITH_TIMEOUT(!Runs(w).IsRunning(), 60000);
        const QString log = u.mmDos->toPlainText();
        QVERIFY2(log.count(QStringLiteral("Version resource: ")) == 5 &&
                     !log.contains(QStringLiteral("***")),
                 qPrintable(log));
        QVERIFY(f.Boxes.Errors().isEmpty());
    }

    // "Create resource files" with nothing checked says so in the log.
    void nothingCheckedIsSaid()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        u.sbCheckNone->click();
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        QCOMPARE(RunOutput(u.mmDos),
                 QStringLiteral("No checked project with a platform: no script was written\n"));
    }

    void cancellingAChooserEndsTheProgram()
    {
        TMainFormFixture f;
        f.Dialogs.SetNextCancel();
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        w.show();
        QTRY_VERIFY(!f.Dialogs.Requests.isEmpty());
        QTRY_VERIFY(!w.isVisible());
        // Closing ran all the same: the configuration was written.
        QVERIFY(QFileInfo::exists(f.ConfigFile()));
        QCOMPARE(
            TIniFile(f.ConfigFile())
                .ReadString(QStringLiteral("Config"), QStringLiteral("ResourcePath"), QString()),
            QStringLiteral("Resources"));
    }

    // quorvel GROUP: the named group opens instead of the last one and goes
    // to the top of the history; the first-run choosers still come first.
    void groupNamedOnTheCommandLine_data()
    {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("choosers");
        QTest::addColumn<bool>("error");
        QTest::newRow("instead of the last group")
            << true << true << QStringList{QStringLiteral("Named"), QStringLiteral("Last")}
            << QStringList() << false;
        QTest::newRow("after the compiler chooser")
            << false << true << QStringList{QStringLiteral("Named")}
            << QStringList{QStringLiteral("Select resource compiler")} << false;
        QTest::newRow("missing: reported, the last group opens")
            << true << false << QStringList{QStringLiteral("Last")} << QStringList() << true;
    }

    void groupNamedOnTheCommandLine()
    {
        QFETCH(bool, configured);
        QFETCH(bool, named);
        QFETCH(QStringList, history);
        QFETCH(QStringList, choosers);
        QFETCH(bool, error);
        TMainFormFixture f;
        const QString last = f.MakeGroup(QStringLiteral("Last"), {QStringLiteral("A.dproj")});
        const QString group =
            named ? f.MakeGroup(QStringLiteral("Named"),
                                {QStringLiteral("B.dproj"), QStringLiteral("C.dproj")})
                  : f.WorkDir() + QStringLiteral("Named.groupproj");
        if (configured)
            f.WriteConfig(last, TestFiles::FakeCompiler());
        else
            f.Dialogs.SetNextFileName(TestFiles::FakeCompiler());
        f.StartGroup = group;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!Groups(w).Group().LastGroupFile.isEmpty());
        QStringList titles, shown;
        for (const TOpenDialogRequest& r : f.Dialogs.Requests)
            titles.append(r.Title);
        QCOMPARE(titles, choosers);
        for (int i = 0; i < u.cbProjectGroup->count(); ++i)
            shown.append(QFileInfo(u.cbProjectGroup->itemText(i)).completeBaseName());
        QCOMPARE(shown, history);
        QCOMPARE(Groups(w).Group().LastProjectGrp, named ? group : last);
        QCOMPARE(u.lbProjects->count(), named ? 2 : 1);
        QCOMPARE(f.Boxes.Errors(), error ? QStringList{QStringLiteral("Cannot open file \"%1\". %2")
                                                           .arg(group, TestFiles::NotFoundText())}
                                         : QStringList());
#ifndef Q_OS_WIN
        // The window carries the program's icon (Qt's SVG plugin draws it).
        QVERIFY(!w.windowIcon().pixmap(32, 32).isNull());
#endif
    }

    void captionAndPlaceholderList()
    {
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvel  (Version %1)")
                                      .arg(CutVersion(QStringLiteral(QUORVEL_VERSION_TEXT), 3)));
        QCOMPARE(u.cbPlaceholders->count(), 12);
        QCOMPARE(u.cbPlaceholders->currentIndex(), 0);
        QCOMPARE(u.cbPlaceholders->itemText(0), QStringLiteral("Major version"));
        QCOMPARE(u.cbPlaceholders->itemData(11).toInt(), 11);
        QCOMPARE(u.cbPlaceholders->itemText(10), QStringLiteral("Product name"));
        QCOMPARE(Groups(w).LastIndex(), -1);
        QCOMPARE(u.pcMain->currentIndex(), 0);
    }

    void escapeActsPerPage()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        u.lbProjects->setFocus();
        u.btSettings->click();
        QCOMPARE(u.pcMain->currentIndex(), 1);
        QTest::keyClick(u.edResPath, Qt::Key_Escape);
        QCOMPARE(u.pcMain->currentIndex(), 0);
        // On the process page Esc creates the resource files.
        u.lbProjects->setFocus();
        QTest::keyClick(u.lbProjects, Qt::Key_Escape);
        QTRY_VERIFY(u.mmDos->toPlainText().contains(QStringLiteral("Compile resource file: ")));
        // ... but not while the focus is in the log pane.
        const QString log = u.mmDos->toPlainText();
        u.mmDos->setFocus();
        QTest::keyClick(u.mmDos, Qt::Key_Escape);
        QCOMPARE(u.mmDos->toPlainText(), log);
    }

    void backRestoresTheStartHeight()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        const int start = w.height();
        u.btSettings->click();
        QCOMPARE(w.height(), u.pcMain->height());
        QVERIFY(!u.mmDos->isVisibleTo(&w));
        w.resize(w.width(), start + 200);
        u.btBack->click();
        QCOMPARE(w.height(), start);
        QVERIFY(u.mmDos->isVisibleTo(&w));
    }

    void aboutBoxRepeatsTheCaption()
    {
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        u.btInfo->click();
        QCOMPARE(f.Boxes.Calls.size(), 1);
        const QStringList lines = f.Boxes.Calls[0].Text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QString name, version, versionDate;
        TFileVersionInfo info;
        GetProgramIdentity(QCoreApplication::applicationFilePath(), QString(),
                           QStringLiteral(" - Vers. 1.0"), 3, name, version, versionDate, info);
        QCOMPARE(lines[0], w.windowTitle() + QStringLiteral(" - ") + versionDate);
        QVERIFY(lines[2].startsWith(QStringLiteral("E-Mail: ")));
        QCOMPARE(f.Boxes.Calls[0].Title, name);
    }

    void selectingAnotherEntryStoresTheFields()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        QCOMPARE(u.udMajor->value(), 1);
        QCOMPARE(u.udBuild->value(), 4);
        u.udBuild->setValue(9);
        u.edProject->setText(QStringLiteral("Edited"));
        u.lbProjects->setCurrentRow(1);
        const TProjectData& first = Groups(w).Group().Projects[0].Info->ProjectData;
        QCOMPARE(first.FileVersionBuild, 9);
        QCOMPARE(first.FileDescription, QStringLiteral("Edited"));
        QCOMPARE(u.udMajor->value(), 2);
        QCOMPARE(u.udBuild->value(), 7);
        QCOMPARE(Groups(w).LastIndex(), 1);
    }

    void checkBoxOfAnUnselectedEntry()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        u.udRelease->setValue(42);
        QListWidgetItem* item = u.lbProjects->item(2);
        QCOMPARE(item->checkState(), Qt::Checked);
        item->setCheckState(Qt::Unchecked);
        QCOMPARE(u.lbProjects->currentRow(), 2);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionRelease, 42);
        QVERIFY(!Groups(w).Group().Projects[2].Info->ProjectData.Status.Contains(psEnabled));
        QVERIFY(!Groups(w).Group().Projects[2].Checked);
    }

    void checkAllThenSave()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        u.lbProjects->item(0)->setCheckState(Qt::Unchecked);
        u.lbProjects->item(1)->setCheckState(Qt::Unchecked);
        u.sbCheckAll->click();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(u.lbProjects->item(i)->checkState(), Qt::Checked);
            QVERIFY(Groups(w).Group().Projects[i].Info->ProjectData.Status.Contains(psEnabled));
        }
        QVERIFY(w.close());
        const TIniFile ini(f.WorkDir() + QStringLiteral("Group.vprj"));
        for (const char* section : {"App.dproj", "Lib.dproj", "sub\\Tool.dproj"})
            QCOMPARE(ini.ReadInteger(QLatin1String(section), QStringLiteral("Status"), -1) & 1, 1);
        u.sbCheckNone->click();
        QVERIFY(!Groups(w).Group().Projects[1].Info->ProjectData.Status.Contains(psEnabled));
    }

    void copyFromGroupThenMoveOn()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        QCOMPARE(u.udProdMajor->value(), 2); // ProductVersion=2.5 of the first project
        QCOMPARE(u.udProdMinor->value(), 5);
        u.sbCopyMajor->click();
        u.sbCopyMinor->click();
        QCOMPARE(u.udMajor->value(), 2);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionMajor, 1);
        u.lbProjects->setCurrentRow(1);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionMajor, 2);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionMinor, 5);
    }

    void nonNumberInBuildKeepsTheLastValidValue()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLineEdit* edBuild = w.findChild<QLineEdit*>(QStringLiteral("edBuild"));
        QVERIFY(edBuild);
        edBuild->setFocus();
        edBuild->selectAll();
        QTest::keyClicks(edBuild, QStringLiteral("x7y"));
        u.lbProjects->setCurrentRow(1);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionBuild, 7);
        u.lbProjects->setCurrentRow(0);
        edBuild->setFocus();
        edBuild->selectAll();
        QTest::keyClicks(edBuild, QStringLiteral("abc"));
        u.lbProjects->setCurrentRow(1);
        QCOMPARE(Groups(w).Group().Projects[0].Info->ProjectData.FileVersionBuild, 7);
    }

    void groupWithoutProjectsKeepsTheFields()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        const QString settings = Groups(w).Group().LastGroupFile;
        const QString empty = f.WorkDir() + QStringLiteral("Empty.groupproj");
        TestFiles::Write(empty, TestFiles::GroupFile({}));
        u.udBuild->setValue(33);
        f.Dialogs.SetNextFileName(empty);
        u.btProjectGroup->click();
        QCOMPARE(u.lbProjects->count(), 0);
        QCOMPARE(u.udBuild->value(), 33);
        QCOMPARE(Groups(w).Group().LastGroupFile, settings);
        QCOMPARE(u.cbProjectGroup->itemText(0), empty);
        QCOMPARE(Groups(w).LastIndex(), -1);
    }

    void valuesAboveTheSpinnerRangeSurvive()
    {
        TMainFormFixture f;
        const QString group = f.MakeGroup(QStringLiteral("Big"),
                                          {QStringLiteral("A.dproj"), QStringLiteral("B.dproj")});
        TestFiles::Write(
            f.WorkDir() + QStringLiteral("Big.vprj"),
            TestFiles::CrLf({QStringLiteral("[Global]"), QStringLiteral("pvMajor=250"),
                             QStringLiteral("[A.dproj]"), QStringLiteral("fvBuild=250"),
                             QStringLiteral("fvMajor=0"), QStringLiteral("Status=7")}));
        f.WriteConfig(group, TestFiles::FakeCompiler());
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        QCOMPARE(u.udBuild->value(), 250);
        QCOMPARE(u.udMajor->value(), 0);
        QCOMPARE(u.udProdMajor->value(), 250);
        u.lbProjects->setCurrentRow(1);
        u.lbProjects->setCurrentRow(0);
        QVERIFY(w.close());
        const TIniFile ini(f.WorkDir() + QStringLiteral("Big.vprj"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("A.dproj"), QStringLiteral("fvBuild"), -1), 250);
        QCOMPARE(ini.ReadInteger(QStringLiteral("A.dproj"), QStringLiteral("fvMajor"), -1), 0);
        QCOMPARE(ini.ReadInteger(QStringLiteral("Global"), QStringLiteral("pvMajor"), -1), 250);
    }

    void failedSaveKeepsTheWindowOpen()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        w.show();
        // A folder where the settings file should be: the save cannot succeed.
        QDir().mkpath(Groups(w).Group().LastGroupFile);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(f.Boxes.Errors().size(), 1);
        QVERIFY(f.Boxes.Errors()[0].startsWith(
            QStringLiteral("Unable to write to %1. ").arg(Groups(w).Group().LastGroupFile)));
        QVERIFY(!QFileInfo::exists(f.ConfigFile()) ||
                TIniFile(f.ConfigFile())
                    .ReadString(QStringLiteral("Config"), QStringLiteral("ResourcePath"), QString())
                    .isEmpty());
        QDir(Groups(w).Group().LastGroupFile).removeRecursively();
        QVERIFY(w.close());
    }

    void unreadableGroupKeepsTheOldList()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        const QString missing = f.WorkDir() + QStringLiteral("Gone.groupproj");
        u.cbProjectGroup->insertItem(0, missing);
        u.cbProjectGroup->setCurrentIndex(0);
        Q_EMIT u.cbProjectGroup->activated(0);
        QCOMPARE(f.Boxes.Errors().size(), 1);
        QVERIFY(f.Boxes.Errors()[0].startsWith(
            QStringLiteral("Cannot open file \"%1\". ").arg(missing)));
        QCOMPARE(u.lbProjects->count(), 3);
        // The fields still belong to the project shown: they are stored into it.
        QCOMPARE(Groups(w).LastIndex(), 0);
        // The field and a run name the group still listed; the history keeps the failed file.
        const QString shown = f.WorkDir() + QStringLiteral("Group.groupproj");
        QCOMPARE(Groups(w).Group().LastProjectGrp, shown);
        QCOMPARE(u.cbProjectGroup->currentText(), shown);
        QCOMPARE(u.cbProjectGroup->itemText(0), missing);
    }

    void endToEndWithTheFakeCompiler()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, {QStringLiteral("App.dproj"), QStringLiteral("Lib.dproj")});
        const TMainFormUi u(w);
        u.lbProjects->item(1)->setCheckState(Qt::Unchecked);
        u.lbProjects->setCurrentRow(0);
        u.udMinor->setValue(8);
        u.cbWin64->setChecked(false);
        u.edCompany->setText(QStringLiteral("Umbrella"));
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        // The busy cursor ends with the run.
        QVERIFY(!QApplication::overrideCursor());
        const QString script = f.WorkDir() + QStringLiteral("Resources/App-32.rc");
        QVERIFY(QFileInfo::exists(script));
        QVERIFY(!QFileInfo::exists(f.WorkDir() + QStringLiteral("Resources/App-64.rc")));
        QVERIFY(!QFileInfo::exists(f.WorkDir() + QStringLiteral("Resources/Lib-32.rc")));
        const QString text = QString::fromUtf8(TestFiles::Read(script));
        QVERIFY(text.contains(QStringLiteral("1,8,3,4")));
        QVERIFY(text.contains(QStringLiteral("Umbrella")));
        const QString log = RunOutput(u.mmDos);
        QVERIFY(log.startsWith(QStringLiteral("=====================================\n"
                                              "Compile resource file: %1 => App-32.res")
                                   .arg(TestFiles::Native(QStringLiteral("Resources/App-32.rc")))));
        SaveScreenshot(&w, QStringLiteral("process-page.png"));
        QVERIFY(w.close());
        const TIniFile settings(f.WorkDir() + QStringLiteral("Group.vprj"));
        QCOMPARE(settings.ReadInteger(QStringLiteral("App.dproj"), QStringLiteral("fvMinor"), -1),
                 8);
        QCOMPARE(settings.ReadInteger(QStringLiteral("App.dproj"), QStringLiteral("Status"), -1),
                 3);
        QCOMPARE(
            settings.ReadString(QStringLiteral("Global"), QStringLiteral("Company"), QString()),
            QStringLiteral("Umbrella"));
        const TIniFile config(f.ConfigFile());
        QCOMPARE(
            config.ReadString(QStringLiteral("Config"), QStringLiteral("TemplateName"), QString()),
            QStringLiteral("VersInfo.trc"));
        QCOMPARE(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("ProjGroupCount"), -1),
                 1);
        QCOMPARE(
            config.ReadString(QStringLiteral("Config"), QStringLiteral("LastProjGroup"), QString()),
            f.WorkDir() + QStringLiteral("Group.groupproj"));
    }

    // The window is live while the compiler runs: the command returns at
    // once with the header lines in the log and the button disabled, the
    // output follows, and a close asked for during the run closes the window
    // (settings saved) once the run has ended.
    void logIsLiveWhileTheCompilerRuns()
    {
        qputenv("FAKERC_STDOUT", "compiled\\n");
        qputenv("FAKERC_SLEEP_MS", "1500");
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, {QStringLiteral("App.dproj")});
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        u.cbWin64->setChecked(false);
        u.udBuild->setValue(9);
        const QString headers = QStringLiteral("=====================================\n"
                                               "Compile resource file: %1 => App-32.res\n")
                                    .arg(TestFiles::Native(QStringLiteral("Resources/App-32.rc")));
        u.btProcess->click();
        QVERIFY(Runs(w).IsRunning());
        // The run starts on the event loop, after the click has returned.
        QTRY_COMPARE(RunOutput(u.mmDos), headers);
        // During the run the command cancels it.
        QCOMPARE(u.btProcess->text(), QStringLiteral("Cancel (0 of 1)"));
        // Closing asks; "No" keeps the run going.
        f.Boxes.Answers = {false};
        QVERIFY(!w.close());
        QCOMPARE(f.Boxes.Questions.size(), 1);
        QVERIFY(w.isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(RunOutput(u.mmDos).left(headers.size() + 9),
                                  headers + QStringLiteral("compiled\n"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!Runs(w).IsRunning(), 5000);
        qunsetenv("FAKERC_STDOUT");
        qunsetenv("FAKERC_SLEEP_MS");
        QVERIFY(w.isVisible());
        QCOMPARE(u.btProcess->text(), QStringLiteral("Create resource files"));
        QCOMPARE(RunOutput(u.mmDos),
                 headers + QStringLiteral("compiled\n*** Error: Cannot open file \"%1\". %2\n")
                               .arg(TestFiles::Native(f.WorkDir() + QStringLiteral("App-32.res")),
                                    TestFiles::NotFoundText()));
        QVERIFY(f.Boxes.Errors().isEmpty());
        QVERIFY(w.close());
        QCOMPARE(TIniFile(f.WorkDir() + QStringLiteral("Group.vprj"))
                     .ReadInteger(QStringLiteral("App.dproj"), QStringLiteral("fvBuild"), -1),
                 9);
    }

    // A compiler past the time limit: the run ends with the time-out line
    // and leaves the compiler running, without waiting for it.
    void compilerPastTheLimitIsLeftRunning()
    {
        qputenv("FAKERC_STDOUT", "started\\n");
        // The limit stands far above the time a busy machine takes to start the
        // compiler and let it print; the compiler runs far longer than that.
        qputenv("FAKERC_SLEEP_MS", "15000");
        TMainFormFixture f;
        f.CompilerTimeoutMs = 3000;
        TMainForm& w = StartOnGroup(f, {QStringLiteral("App.dproj")});
        const TMainFormUi u(w);
        u.cbWin64->setChecked(false);
        QElapsedTimer timer;
        timer.start();
        u.btProcess->click();
        QTRY_VERIFY_WITH_TIMEOUT(!Runs(w).IsRunning(), 15000);
        qunsetenv("FAKERC_STDOUT");
        qunsetenv("FAKERC_SLEEP_MS");
        QVERIFY2(timer.elapsed() < 12000, "the run waited for the compiler to end");
        QCOMPARE(RunOutput(u.mmDos),
                 QStringLiteral("=====================================\n"
                                "Compile resource file: %1 => App-32.res\n"
                                "started\n*** Error: The wait operation timed out\n")
                     .arg(TestFiles::Native(QStringLiteral("Resources/App-32.rc"))));
    }

    // A version part a version resource cannot hold: one log line for that
    // project, no box, and the other projects are still built.
    void partAboveTheLimitIsOneLogLine()
    {
        TMainFormFixture f;
        const QString group = f.MakeGroup(
            QStringLiteral("Group"), {QStringLiteral("App.dproj"), QStringLiteral("Lib.dproj")},
            {QStringLiteral("1.2.3.65536"), QStringLiteral("2.0.0.7")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        QVERIFY(f.Boxes.Errors().isEmpty());
        QVERIFY(!QFileInfo::exists(f.WorkDir() + QStringLiteral("Resources/App-32.rc")));
        QVERIFY(QFileInfo::exists(f.WorkDir() + QStringLiteral("Resources/Lib-32.rc")));
        const QString log = RunOutput(u.mmDos);
        QVERIFY2(
            log.startsWith(QStringLiteral("*** Error: App.dproj: file version 1.2.3.65536 has a "
                                          "part outside 0 to 65535, which a VERSIONINFO "
                                          "cannot hold\n=====")),
            qPrintable(log));
        QCOMPARE(log.count(QStringLiteral("*** Error: App.dproj")), 1);
    }

    void screenshotsOfThePages()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f);
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SaveScreenshot(&w, QStringLiteral("process-page-start.png"));
        u.btSettings->click();
        SaveScreenshot(&w, QStringLiteral("settings-page.png"));
        u.btEdit->click();
        SaveScreenshot(&w, QStringLiteral("editor-page.png"));
        QCOMPARE(u.pcMain->currentIndex(), 2);
    }
};

QTEST_MAIN(TMainFormTest)
#include "MainFormTest.moc"
