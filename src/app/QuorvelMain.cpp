#include "app/QuorvelMain.h"

#include "QuorvelVersion.h"
#include "resgen/LogSink.h"
#include "resgen/ErrorReporter.h"
#include "resgen/GenerationRun.h"
#include "resgen/ResourceCompiler.h"

#include "dialogs/FileDialogs.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/TranslateComponent.h"
#include "project/Configuration.h"
#include "resgen/Placeholders.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int DesignClientHeight = 560;

} // namespace

TMainForm::TMainForm(const TMainFormEnvironment& Environment, QWidget* Parent)
    : QWidget(Parent), FEnv(Environment)
{
    if (FEnv.Boxes)
        FBoxes = FEnv.Boxes;
    else {
        FOwnBoxes = std::make_unique<TMessageBoxes>();
        FBoxes = FOwnBoxes.get();
    }
    if (FEnv.Dialogs)
        FDialogs = FEnv.Dialogs;
    else {
        FOwnDialogs = std::make_unique<TFileDialogs>(this);
        FDialogs = FOwnDialogs.get();
    }
    CreateControls();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::RunGuarded(const std::function<void()>& Action)
{
    // An error an action does not handle itself ends that action and is shown
    // in an error box; the program goes on.
    try {
        Action();
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
    }
}

void TMainForm::FormCreate()
{
    TranslateComponent(this, "default");
    if (FEnv.UseSystemFolders)
        GetProgramFolders(AppPath, UserPath, ProgPath, true, FEnv.Paths.ExePath);
    else {
        AppPath = WithTrailingDelimiter(FEnv.AppPath);
        UserPath = WithTrailingDelimiter(FEnv.UserPath);
        ProgPath = WithTrailingDelimiter(FEnv.ProgPath);
    }
    TFileVersionInfo info;
    GetProgramIdentity(FEnv.Paths.ExeFile, QString(), QStringLiteral(" - Vers. 1.0"), 3, ProgName,
                       ProgVers, ProgVersDate, info);
    Ininame = BuildFileName(AppPath, FEnv.Paths.ExeBaseName, QStringLiteral("ini"));

    const TConfiguration c = LoadConfiguration(Ininame, FEnv.Paths.ExePath, UserPath);
    LastPath = c.LastPath;
    edTemplate->setText(c.TemplateName);
    edResCompiler->setText(c.ResourceCompiler);
    edResCompilerOptions->setText(c.ResourceCompilerOptions);
    cbEscapeValues->setChecked(c.EscapeValues);
    edResPath->setText(c.ResourcePath);
    edSuffix32->setText(c.Win32Suffix);
    edSuffix64->setText(c.Win64Suffix);
    edDefAuthor->setText(c.DefaultAuthor);
    edDefCompany->setText(c.DefaultCompany);
    edDefCopyright->setText(c.DefaultCopyright);
    FGroup.LastProjectGrp = c.LastProjGroup;
    cbProjectGroup->addItems(c.ProjGroups);
    cbProjectGroup->setCurrentIndex(-1);

    setWindowTitle(Tr("Quorvel") + u' ' + ProgVers);
    Template.clear();
    LastIndex = -1;
    FGroup.LastGroupFile.clear();
    DefHeight = DesignClientHeight;
    ShowPage(0, DefHeight);

    for (int i = 0; i < PlaceholderCount; ++i)
        cbPlaceholders->addItem(Tr(Placeholders[i].rp), i);
    cbPlaceholders->setCurrentIndex(0);
}

void TMainForm::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    if (!FShown)
        QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMainForm::FormShow()
{
    if (FShown)
        return;
    FShown = true;
    RunGuarded([this] {
        if (edTemplate->text().isEmpty() || !QFileInfo(edTemplate->text()).isFile()) {
            if (!SelectTemplate()) {
                close();
                return;
            }
        }
        const TTextContent content = ReadTextFile(edTemplate->text());
        Template = content.Lines;
        TemplateFormat = content.Format;
        if (edResCompiler->text().isEmpty() || !QFileInfo(edResCompiler->text()).isFile()) {
            if (!SelectResCompiler()) {
                close();
                return;
            }
        }
        if (FGroup.LastProjectGrp.isEmpty() || !QFileInfo(FGroup.LastProjectGrp).isFile()) {
            if (!SelectProjectGroup())
                close();
        } else
            OpenProjectGroup(FGroup.LastProjectGrp);
    });
}

void TMainForm::closeEvent(QCloseEvent* Event)
{
    if (FRun) {
        // Closing waits for the run: the settings are saved when it has ended.
        FCloseAfterRun = true;
        Event->ignore();
        return;
    }
    if (!FormClose()) {
        Event->ignore();
        return;
    }
    FormDestroy();
    Event->accept();
}

bool TMainForm::FormClose()
{
    try {
        StoreProjectData();
        StoreGroupValues();
        FGroup.SaveVersionSettings(FGroup.LastGroupFile);
        return true;
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
        return false;
    }
}

TConfiguration TMainForm::CurrentConfiguration() const
{
    TConfiguration c;
    c.LastPath = LastPath;
    c.TemplateName = edTemplate->text();
    c.ResourceCompiler = edResCompiler->text();
    c.ResourceCompilerOptions = edResCompilerOptions->text();
    c.EscapeValues = cbEscapeValues->isChecked();
    c.ResourcePath = edResPath->text();
    c.Win32Suffix = edSuffix32->text();
    c.Win64Suffix = edSuffix64->text();
    c.DefaultAuthor = edDefAuthor->text();
    c.DefaultCompany = edDefCompany->text();
    c.DefaultCopyright = edDefCopyright->text();
    c.LastProjGroup = FGroup.LastProjectGrp;
    for (int i = 0; i < cbProjectGroup->count(); ++i)
        c.ProjGroups.append(cbProjectGroup->itemText(i));
    return c;
}

void TMainForm::FormDestroy()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    try {
        SaveConfiguration(Ininame, FEnv.Paths.ExePath, CurrentConfiguration());
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
    }
}

void TMainForm::ShowPage(int Index, int ClientHeight)
{
    mmDos->setVisible(Index == 0);
    // The window's minimum height still holds the log pane until the layout
    // has taken it out; a resize before that stops at the old minimum.
    layout()->activate();
    resize(width(), ClientHeight);
    pcMain->setCurrentIndex(Index);
}

void TMainForm::btSettingsClick()
{
    ShowPage(1, pcMain->height());
}

void TMainForm::btBackClick()
{
    ShowPage(0, DefHeight);
}

void TMainForm::btInfoClick()
{
    const QString text = windowTitle() + QStringLiteral(" - ") + ProgVersDate +
                         QStringLiteral("\r\n") + QStringLiteral(QUORVEL_COPYRIGHT) +
                         QStringLiteral("\r\nE-Mail: ") + QStringLiteral(QUORVEL_CONTACT);
    FBoxes->ShowInfo(ProgName, text, dmActiveForm);
}

void TMainForm::btQuitClick()
{
    close();
}

void TMainForm::EscapePressed()
{
    switch (pcMain->currentIndex()) {
    case 0:
        if (focusWidget() != mmDos && btProcess->isEnabled())
            btProcess->click();
        break;
    case 1:
        btBack->click();
        break;
    default:
        btCancel->click();
        break;
    }
}
