// The program in German: the main window, the list editor, the file choosers,
// the log and the messages, with the catalogs built beside the executables.
// gettext keeps what it once looked up, so the language is chosen in main()
// before anything is translated, and French runs in a program of its own.
// The German window also runs the on-screen cases of WindowOnScreenTest.
#include "app/QuorvelApplication.h"
#include "app/TranslationSamples.h"
#include "app/WindowOnScreenTest.h"
#include "dialogs/EditHistListDlg.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/TranslateComponent.h"
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "resgen/Placeholders.h"
#include "support/Translation.h"
#include "testsupport/TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace TranslationSamples;

namespace
{

QString LocaleDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/locale");
}

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The ways of getting a message out of the window.
enum TMessageCase { mcCompilerMissing, mcFolderBlocked, mcTemplateMissing };

} // namespace

class TTranslationDeTest : public QObject
{
    Q_OBJECT

private:
    // A window started on a group with a working compiler.
    TMainForm& StartOnGroup(TMainFormFixture& f, const QString& name, const QStringList& entries)
    {
        const QString group = f.MakeGroup(name, entries);
        f.WriteConfig(group, TestFiles::FakeCompiler());
        return f.Start();
    }

    static void AddCaptionRows(const QList<TCaption>& captions)
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("german");
        for (const TCaption& c : captions)
            QTest::addRow("%s %s.%s", c.Page, c.Object, c.Property)
                << QString::fromLatin1(c.Object) << QString::fromLatin1(c.Property)
                << Utf8(c.German);
    }

    static const TCaption& FindCaption(const QList<TCaption>& captions, const QString& object,
                                       const QString& property)
    {
        for (const TCaption& c : captions)
            if (object == QLatin1String(c.Object) && property == QLatin1String(c.Property))
                return c;
        return captions.first();
    }

private Q_SLOTS:
    // --help prints before the window's application exists: Qt's own lines
    // are German as well as the program's.
    void helpIsGerman()
    {
#ifdef Q_OS_WIN
        QSKIP("A window program shows its help in a message box on Windows");
#endif
        QProcess help;
        help.start(TestFiles::WindowProgram(), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(60000));
        const QString out = QString::fromUtf8(help.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Zeigt Hilfe zu den Kommandozeilenoptionen an.")) &&
                     out.contains(QStringLiteral("Projektgruppe, die statt")),
                 qPrintable(out));
    }

    void initTestCase()
    {
        for (const char* domain : {"default", "dialogs"})
            QVERIFY2(QFileInfo::exists(LocaleDir() + QStringLiteral("/de/LC_MESSAGES/") +
                                       QLatin1String(domain) + QStringLiteral(".mo")),
                     "the German catalogs are built by the target quorvel_catalogs");
        QCOMPARE(CurrentLanguage(), QStringLiteral("de"));
    }

    void mainWindowCaptions_data()
    {
        AddCaptionRows(MainWindowCaptions());
    }

    void mainWindowCaptions()
    {
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QString, german);
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        const TCaption& row = FindCaption(MainWindowCaptions(), object, property);
        QCOMPARE(CaptionOf(&w, row), german);
    }

    void placeholderDescriptions_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("german");
        QTest::newRow("fvMajor") << 0 << QStringLiteral("Hauptversion");
        QTest::newRow("fvBuild") << 3 << QStringLiteral("Build");
        QTest::newRow("Description") << 4 << QStringLiteral("Beschreibung");
        QTest::newRow("pvMajor") << 5 << QStringLiteral("Hauptversion des Produkts");
        QTest::newRow("pvMinor") << 6 << QStringLiteral("Nebenversion des Produkts");
        QTest::newRow("Company") << 8 << QStringLiteral("Firma");
        QTest::newRow("Product") << 10 << QStringLiteral("Produktname");
        QTest::newRow("Platform") << 11 << QStringLiteral("Plattform");
    }

    void placeholderDescriptions()
    {
        QFETCH(int, row);
        QFETCH(QString, german);
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        QCOMPARE(u.cbPlaceholders->count(), PlaceholderCount);
        QCOMPARE(u.cbPlaceholders->itemText(row), german);
        // The entry still carries its row, so that inserting takes the right name.
        QCOMPARE(u.cbPlaceholders->itemData(row).toInt(), row);
    }

    // No text of the window or the list editor is an English original that the
    // German catalog translates into something else.
    void noEnglishTextLeft()
    {
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        TEditHistListDialog dialog;
        const struct {
            QWidget* Window;
            QStringList Texts;
            const char* Catalog;
        } windows[] = {
            // The window's title holds the version and is looked at elsewhere.
            {&w, DesignTexts(&w, {QStringLiteral("cbPlaceholders")}, {w.objectName()}),
             "de/default.po"},
            {&dialog, DesignTexts(&dialog, {}), "de/dialogs.po"},
        };
        for (const auto& window : windows) {
            QVERIFY(window.Texts.size() >= ListEditorCaptions().size());
            const QList<TPoEntry> entries =
                ReadPoFile(QStringLiteral(QUORVEL_PO_DIR "/") + QLatin1String(window.Catalog));
            QVERIFY(!entries.isEmpty());
            for (const TPoEntry& e : entries)
                if (e.MsgStr != e.MsgId)
                    QVERIFY2(!window.Texts.contains(e.MsgId),
                             qPrintable(window.Window->objectName() + QStringLiteral(" shows \"") +
                                        e.MsgId + QStringLiteral("\" in English")));
        }
    }

    void listEditorCaptions_data()
    {
        AddCaptionRows(ListEditorCaptions());
    }

    void listEditorCaptions()
    {
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QString, german);
        TEditHistListDialog dialog;
        QCOMPARE(CaptionOf(&dialog, FindCaption(ListEditorCaptions(), object, property)), german);
    }

    // Opened from the group field's menu, the editor describes the list with
    // the field's translated hint, while the list itself stays as stored.
    void listEditorFromTheWindow()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, QStringLiteral("Build"), {QStringLiteral("App.dproj")});
        const TMainFormUi u(w);
        QString caption, description;
        QStringList entries;
        const bool driven = DriveModal(
            [&] { u.pmiEditList->trigger(); },
            [&](QWidget* dialog) {
                caption = dialog->windowTitle();
                description = dialog->findChild<QLabel*>(QStringLiteral("lbDesc"))->text();
                auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lbxStringList"));
                for (int i = 0; i < list->count(); ++i)
                    entries << list->item(i)->text();
            });
        QVERIFY(driven);
        QCOMPARE(caption, QStringLiteral("Listeneinträge bearbeiten"));
        QCOMPARE(description, QStringLiteral("Delphi-Projekte"));
        QCOMPARE(entries, QStringList{f.WorkDir() + QStringLiteral("Build.groupproj")});
    }

    void fileChooserTitles_data()
    {
        QTest::addColumn<int>("chooser");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("project group")
            << 0 << QStringLiteral("Delphi-Projektgruppe auswählen")
            << QStringLiteral("Projektgruppendateien|*.groupproj|Alle Dateien|*.*");
        QTest::newRow("template") << 1 << QStringLiteral("Ressourcenvorlage auswählen")
                                  << QStringLiteral("Vorlagen|*.trc|Alle Dateien|*.*");
        // Where the platform's programs have no extension, the compiler
        // chooser lists every file.
#ifdef Q_OS_WIN
        const QString programs = QStringLiteral("Programme|*.exe");
#else
        const QString programs = QStringLiteral("Programme|*");
#endif
        QTest::newRow("compiler") << 2 << QStringLiteral("Ressourcencompiler auswählen")
                                  << programs;
    }

    void fileChooserTitles()
    {
        QFETCH(int, chooser);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        TMainFormFixture f;
        f.Create();
        // Cancelled: nothing was chosen.
        QVERIFY(f.ChooseCancelled(chooser));
        QCOMPARE(f.Dialogs.Requests.size(), 1);
        QCOMPARE(f.Dialogs.Requests[0].Title, title);
        QCOMPARE(f.Dialogs.Requests[0].Filter, filter);
    }

    void logHeaderLine()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, QStringLiteral("Group"), {QStringLiteral("App.dproj")});
        const TMainFormUi u(w);
        u.cbWin64->setChecked(false);
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        const QStringList lines = u.mmDos->toPlainText().split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 4);
        QCOMPARE(lines[0], QStringLiteral("Ressourcendateien erzeugen: ") + f.WorkDir() +
                               QStringLiteral("Group.groupproj"));
        QCOMPARE(lines[1], QStringLiteral("====================================="));
        QCOMPARE(lines[2], QStringLiteral("Ressourcendatei kompilieren: ") +
                               QDir::toNativeSeparators(QStringLiteral("Resources/App-32.rc")) +
                               QStringLiteral(" => App-32.res"));
        QVERIFY2(lines.last().startsWith(
                     QStringLiteral("Skripte geschrieben: 1, kompiliert: 1, fehlgeschlagen: 0, ")),
                 qPrintable(lines.last()));
        QVERIFY(f.Boxes.Calls.isEmpty());
    }

    void messagesFromTheWindow_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("compiler cannot start")
            << int(mcCompilerMissing) << QStringLiteral("Der Ressourcencompiler „");
        QTest::newRow("resources folder blocked")
            << int(mcFolderBlocked) << QStringLiteral("Schreiben nach %1 nicht möglich");
        QTest::newRow("template missing")
            << int(mcTemplateMissing)
            << QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden. ");
    }

    // The messages are translated with their placeholders and filled afterwards.
    void messagesFromTheWindow()
    {
        QFETCH(int, situation);
        QFETCH(QString, expected);
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, QStringLiteral("Group"), {QStringLiteral("App.dproj")});
        const TMainFormUi u(w);
        u.cbWin64->setChecked(false);
        switch (situation) {
        case mcCompilerMissing:
            u.edResCompiler->setText(f.WorkDir() + QStringLiteral("no-such-compiler"));
            u.btProcess->click();
            break;
        case mcFolderBlocked:
            TestFiles::Write(f.WorkDir() + QStringLiteral("Blocked"), "a file, not a folder");
            u.edResPath->setText(QStringLiteral("Blocked"));
            expected = expected.arg(QDir::toNativeSeparators(f.WorkDir()));
            u.btProcess->click();
            break;
        case mcTemplateMissing: {
            const QString missing = f.WorkDir() + QStringLiteral("missing.trc");
            u.edTemplate->setText(missing);
            expected = expected.arg(missing);
            u.btEdit->click();
            break;
        }
        }
        QTRY_VERIFY(!Runs(w).IsRunning());
        const QStringList errors = f.Boxes.Errors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(expected), qPrintable(errors[0]));
    }

    void messageBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("defaultButton");
        QTest::newRow("error") << 0 << QStringLiteral("Fehler") << QStringLiteral("OK");
        QTest::newRow("information") << 1 << QStringLiteral("Information") << QStringLiteral("OK");
        // Before a run is given up: Enter by mistake answers "No".
        QTest::newRow("question") << 2 << QStringLiteral("Bestätigen") << QStringLiteral("Nein");
    }

    // The boxes' own captions and Qt's standard buttons in the user's
    // language; Enter presses the default button.
    void messageBoxes()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, defaultButton);
        QString seenCaption, seenButton;
        bool answer = true;
        const bool driven = DriveModal(
            [&] {
                TMessageBoxes boxes;
                if (kind == 0)
                    boxes.ShowError(QStringLiteral("text"), dmActiveForm);
                else if (kind == 1)
                    boxes.ShowInfo(QString(), QStringLiteral("text"), dmActiveForm);
                else
                    answer = boxes.Confirm(QStringLiteral("text"), dmActiveForm);
            },
            [&](QWidget* box) {
                seenCaption = box->windowTitle();
                seenButton = qobject_cast<QMessageBox*>(box)->defaultButton()->text();
                QTest::keyClick(box, Qt::Key_Return);
            });
        QVERIFY(driven);
        QCOMPARE(seenCaption, caption);
        QCOMPARE(seenButton.remove(u'&'), defaultButton);
        QCOMPARE(answer, kind != 2);
    }

    // Qt's catalog is loaded, too: its buttons speak German.
    void qtStandardButtons()
    {
        const QString qtCatalogs = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        QVERIFY2(
            QFileInfo::exists(qtCatalogs + QStringLiteral("/qtbase_de.qm")),
            qPrintable(QStringLiteral("Qt's catalog qtbase_de.qm is missing in ") + qtCatalogs));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Close);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Abbrechen"));
        QCOMPARE(box.button(QMessageBox::Close)->text().remove(u'&'), QStringLiteral("Schließen"));
    }

    // A project named like a translated text is shown as its group names it.
    void runTimeContentsUntranslated()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, QStringLiteral("Settings"),
                                    {QStringLiteral("Build"), QStringLiteral("Cancel.dproj")});
        const TMainFormUi u(w);
        QCOMPARE(u.lbProjects->count(), 2);
        QCOMPARE(u.lbProjects->item(0)->text(), QStringLiteral("Build"));
        QCOMPARE(u.lbProjects->item(1)->text(), QStringLiteral("Cancel.dproj"));
        // The project's description comes from its project file: "Build".
        QCOMPARE(u.edProject->text(), QStringLiteral("Build"));
        u.lbProjects->setCurrentRow(1);
        QCOMPARE(u.edProject->text(), QStringLiteral("Cancel"));
        QCOMPARE(u.cbProjectGroup->currentText(),
                 f.WorkDir() + QStringLiteral("Settings.groupproj"));
        // Captions equal to those names are translated all the same.
        QCOMPARE(u.btSettings->toolTip(), QStringLiteral("Einstellungen"));
        QCOMPARE(u.pmiCancel->text(), QStringLiteral("Abbrechen"));
    }

    // A text without a catalog entry stays as it is; the rest is translated.
    void textWithoutEntryStaysEnglish()
    {
        QWidget window;
        auto* known = new QLabel(QStringLiteral("Global settings"), &window);
        auto* unknown = new QLabel(QStringLiteral("Not a text of the program"), &window);
        auto* dialogsOnly = new QPushButton(QStringLiteral("Move entry"), &window);
        TranslateComponent(&window, "default");
        QCOMPARE(known->text(), QStringLiteral("Globale Einstellungen"));
        QCOMPARE(unknown->text(), QStringLiteral("Not a text of the program"));
        // The list editor's texts belong to the other domain.
        QCOMPARE(dialogsOnly->text(), QStringLiteral("Move entry"));
        TranslateComponent(&window, "dialogs");
        QCOMPARE(dialogsOnly->text(), QStringLiteral("Verschieben"));
    }

    void translationsKeepPlaceholders_data()
    {
        QTest::addColumn<QString>("msgid");
        QTest::addColumn<QString>("msgstr");
        QTest::addColumn<bool>("fuzzy");
        for (const char* catalog : {"de/default.po", "de/dialogs.po"}) {
            const QList<TPoEntry> entries =
                ReadPoFile(QStringLiteral(QUORVEL_PO_DIR "/") + QLatin1String(catalog));
            QVERIFY(!entries.isEmpty());
            for (const TPoEntry& e : entries) {
                const QString name =
                    QLatin1String(catalog) + QStringLiteral(": ") + e.MsgId.left(50);
                if (e.MsgIdPlural.isEmpty()) {
                    QTest::newRow(qPrintable(name)) << e.MsgId << e.MsgStr << e.Fuzzy;
                    continue;
                }
                // Every form of a number-dependent text is filled with the number.
                QVERIFY(!e.Forms.isEmpty());
                for (int i = 0; i < e.Forms.size(); ++i)
                    QTest::newRow(qPrintable(name + QStringLiteral(" [%1]").arg(i)))
                        << e.MsgIdPlural << e.Forms[i] << e.Fuzzy;
            }
        }
    }

    // Filled after translation, a message needs the same placeholders in the
    // same order; a translation of the surrounding text only must not be empty.
    void translationsKeepPlaceholders()
    {
        QFETCH(QString, msgid);
        QFETCH(QString, msgstr);
        QFETCH(bool, fuzzy);
        QVERIFY(!fuzzy);
        QVERIFY(!msgstr.isEmpty());
        QCOMPARE(MessagePlaceholders(msgstr), MessagePlaceholders(msgid));
        // Texts that end in a blank are followed by a value in the log.
        QCOMPARE(msgstr.endsWith(u' '), msgid.endsWith(u' '));
    }

    void screenshotsOfEveryPage()
    {
        TMainFormFixture f;
        TMainForm& w = StartOnGroup(f, QStringLiteral("Group"),
                                    {QStringLiteral("App.dproj"), QStringLiteral("Tools.dproj")});
        const TMainFormUi u(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        u.lbProjects->item(1)->setCheckState(Qt::Unchecked);
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        SaveScreenshot(&w, QStringLiteral("de-process-page.png"));
        u.btSettings->click();
        QCOMPARE(u.pcMain->currentWidget(), u.tsSettings);
        SaveScreenshot(&w, QStringLiteral("de-settings-page.png"));
        u.btEdit->click();
        QCOMPARE(u.pcMain->currentWidget(), u.tsEdit);
        SaveScreenshot(&w, QStringLiteral("de-editor-page.png"));
        u.btCancel->click();
        u.btBack->click();
        const bool driven = DriveModal(
            [&] { u.pmiEditList->trigger(); },
            [](QWidget* dialog) { SaveScreenshot(dialog, QStringLiteral("de-list-editor.png")); });
        QVERIFY(driven);
        QVERIFY(f.Boxes.Calls.isEmpty());
    }
};

// The arguments for the on-screen run: each "-o file,format" names the file
// with "-onscreen" before its extension, so that the second run does not
// overwrite the first one's results (where output goes to a file, as under
// Wine).
QStringList OnScreenArguments(QStringList arguments)
{
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != QLatin1String("-o"))
            continue;
        QString& output = arguments[++i];
        const qsizetype comma = output.lastIndexOf(u',');
        QString file = comma < 0 ? output : output.left(comma);
        if (file == QLatin1String("-"))
            continue;
        const qsizetype dot = file.lastIndexOf(u'.');
        const qsizetype folder = qMax(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\'));
        file.insert(dot > folder ? dot : file.size(), QLatin1String("-onscreen"));
        output = file + (comma < 0 ? QString() : output.mid(comma));
    }
    return arguments;
}

int main(int argc, char** argv)
{
    // gettext reads the language at its first lookup: set it before anything.
    qputenv("LANGUAGE", "de");
    qputenv("LC_ALL", "C.UTF-8");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    TQuorvelApplication::LoadQtTranslations(app);
    TTranslationDeTest test;
    TWindowOnScreenTest onScreen;
    const int failed = QTest::qExec(&test, argc, argv);
    return failed + QTest::qExec(&onScreen, OnScreenArguments(QCoreApplication::arguments()));
}

#include "TranslationDeTest.moc"
#include "moc_WindowOnScreenTest.cpp"
