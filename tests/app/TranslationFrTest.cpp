// The program for a user whose language has no catalog (French): everything
// stays English, and every English text the windows show by design is one the
// catalog templates hold, so that no caption escapes translation.
#include "QuorvelVersion.h"
#include "app/QuorvelApplication.h"
#include "app/TranslationSamples.h"
#include "dialogs/EditHistListDlg.h"
#include "dialogs/MessageBoxes.h"
#include "guisupport/MainFormFixture.h"
#include "guisupport/MainFormUi.h"
#include "resgen/Placeholders.h"
#include "support/ProgramInfo.h"
#include "support/Translation.h"
#include "testsupport/TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace TranslationSamples;

class TTranslationFrTest : public QObject
{
    Q_OBJECT

private:
    static void AddCaptionRows(const QList<TCaption>& captions)
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < captions.size(); ++i)
            QTest::addRow("%s %s.%s", captions[i].Page, captions[i].Object, captions[i].Property)
                << i;
    }

private Q_SLOTS:
    void noCatalogForTheLanguage()
    {
        QCOMPARE(CurrentLanguage(), QStringLiteral("en"));
        // The German catalogs are there all the same: French is not German.
        QVERIFY(QFileInfo::exists(QCoreApplication::applicationDirPath() +
                                  QStringLiteral("/locale/de/LC_MESSAGES/default.mo")));
    }

    void mainWindowCaptions_data() { AddCaptionRows(MainWindowCaptions()); }

    void mainWindowCaptions()
    {
        QFETCH(int, index);
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        const TCaption& row = MainWindowCaptions()[index];
        QCOMPARE(CaptionOf(&w, row), QString::fromLatin1(row.English));
    }

    void listEditorCaptions_data() { AddCaptionRows(ListEditorCaptions()); }

    void listEditorCaptions()
    {
        QFETCH(int, index);
        TEditHistListDialog dialog;
        const TCaption& row = ListEditorCaptions()[index];
        QCOMPARE(CaptionOf(&dialog, row), QString::fromLatin1(row.English));
    }

    void placeholderDescriptions()
    {
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        QCOMPARE(u.cbPlaceholders->count(), PlaceholderCount);
        for (int i = 0; i < PlaceholderCount; ++i)
            QCOMPARE(u.cbPlaceholders->itemText(i), QString::fromLatin1(Placeholders[i].rp));
    }

    void windowTitle()
    {
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvel  (Version %1)")
                                      .arg(CutVersion(QStringLiteral(QUORVEL_VERSION_TEXT), 3)));
    }

    void designTextsAreInTheTemplates_data()
    {
        QTest::addColumn<bool>("listEditor");
        QTest::newRow("main window") << false;
        QTest::newRow("list editor") << true;
    }

    // A caption that the templates lack would stay English in every language.
    void designTextsAreInTheTemplates()
    {
        QFETCH(bool, listEditor);
        TMainFormFixture f;
        TMainForm& w = f.Create();
        const TMainFormUi u(w);
        TEditHistListDialog dialog;
        const QStringList texts =
            listEditor ? DesignTexts(&dialog, {})
                       : DesignTexts(&w, {QStringLiteral("cbPlaceholders")}, {w.objectName()});
        const QSet<QString> ids =
            MsgIds(QStringLiteral(QUORVEL_PO_DIR) +
                   (listEditor ? QStringLiteral("/dialogs.pot") : QStringLiteral("/default.pot")));
        QVERIFY(texts.size() >= ListEditorCaptions().size());
        QVERIFY(!ids.isEmpty());
        for (const QString& text : texts)
            QVERIFY2(ids.contains(text), qPrintable(QStringLiteral("\"") + text +
                                                    QStringLiteral("\" is not in the template")));
    }

    void fileChooserTitles_data()
    {
        QTest::addColumn<int>("chooser");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("project group") << 0 << QStringLiteral("Select Delphi project group")
                                       << QStringLiteral("Project group files|*.groupproj|all|*.*");
        QTest::newRow("template") << 1 << QStringLiteral("Select resource template")
                                  << QStringLiteral("Templates|*.trc|all|*.*");
#ifdef Q_OS_WIN
        const QString programs = QStringLiteral("Programs|*.exe");
#else
        const QString programs = QStringLiteral("Programs|*");
#endif
        QTest::newRow("compiler") << 2 << QStringLiteral("Select resource compiler") << programs;
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
        QVERIFY2(f.Dialogs.Requests[0].Filter.startsWith(filter),
                 qPrintable(f.Dialogs.Requests[0].Filter));
    }

    void logHeaderAndMessages()
    {
        TMainFormFixture f;
        const QString group = f.MakeGroup(QStringLiteral("Group"), {QStringLiteral("App.dproj")});
        f.WriteConfig(group, TestFiles::FakeCompiler());
        TMainForm& w = f.Start();
        const TMainFormUi u(w);
        u.cbWin64->setChecked(false);
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        QVERIFY(u.mmDos->toPlainText().contains(
            QStringLiteral("\nCompile resource file: ") +
            QDir::toNativeSeparators(QStringLiteral("Resources/App-32.rc")) +
            QStringLiteral(" => App-32.res")));
        u.edResCompiler->setText(f.WorkDir() + QStringLiteral("no-such-compiler"));
        u.btProcess->click();
        QTRY_VERIFY(!Runs(w).IsRunning());
        QCOMPARE(f.Boxes.Errors().size(), 1);
        QVERIFY2(f.Boxes.Errors()[0].startsWith(QStringLiteral("The resource compiler \"")),
                 qPrintable(f.Boxes.Errors()[0]));
    }

    void messageBoxAndQtButtons()
    {
        QString caption;
        const bool driven =
            DriveModal([] { TMessageBoxes().ShowError(QStringLiteral("text"), dmActiveForm); },
                       [&](QWidget* box) { caption = box->windowTitle(); });
        QVERIFY(driven);
        QCOMPARE(caption, QStringLiteral("Error"));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancel"));
    }
};

int main(int argc, char** argv)
{
    // gettext reads the language at its first lookup: set it before anything.
    qputenv("LANGUAGE", "fr");
    qputenv("LC_ALL", "C.UTF-8");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TQuorvelApplication app(argc, argv);
    InitTranslation(QCoreApplication::applicationDirPath());
    TQuorvelApplication::LoadQtTranslations(app);
    TTranslationFrTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TranslationFrTest.moc"
