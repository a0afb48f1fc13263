#include "app/QuorvelMain.h"

#include "QuorvelVersion.h"
#include "app/EditorPage.h"
#include "app/FormControls.h"
#include "app/MemoLogSink.h"
#include "app/OverrideCursor.h"
#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "resgen/ErrorReporter.h"
#include "resgen/GenerationRun.h"
#include "resgen/LogSink.h"
#include "resgen/ResourceCompiler.h"

#include "dialogs/FileDialogs.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/TranslateComponent.h"
#include "project/Configuration.h"
#include "support/FileWatch.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TerminationSignals.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

constexpr int PageAreaHeight = 451;
constexpr int DesignClientWidth = 621;
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
    ConnectPages();
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.quorvel.Quorvel.svg")));
    FLog = std::make_unique<TMemoLogSink>(mmDos);
    FWatch = new TFileWatch(this);
    connect(FWatch, &TFileWatch::Changed, this, [this] { ReloadFromDisk(); });
    // A signal or the end of the desktop session must not lose the user's
    // edits: both save as a close does.
    FSignals = std::make_unique<TTerminationSignals>();
    connect(FSignals.get(), &TTerminationSignals::Received, this,
            [this](int signalNumber) { CloseOnRequest(128 + signalNumber); });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { SaveForSessionEnd(); });
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    pcMain = Named(new QStackedWidget(this), "pcMain");
    pcMain->setFixedHeight(PageAreaHeight);
    tsProcess = new TProcessPage(this);
    tsSettings = new TSettingsPage(this);
    tsEdit = new TEditorPage(this);
    pcMain->insertWidget(piProcess, tsProcess);
    pcMain->insertWidget(piSettings, tsSettings);
    pcMain->insertWidget(piEditor, tsEdit);
    root->addWidget(pcMain, 0, Qt::AlignTop);

    mmDos = Named(new QPlainTextEdit(this), "mmDos");
    mmDos->setReadOnly(true);
    mmDos->setFont(FixedFont(11));
    mmDos->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmDos->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmDos->setMinimumHeight(0);
    root->addWidget(mmDos, 1);
    resize(DesignClientWidth, DesignClientHeight);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { EscapePressed(); });
}

void TMainForm::ConnectPages()
{
    const auto guarded = [this](void (TMainForm::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(tsProcess, &TProcessPage::HistoryCloseUp, this,
            guarded(&TMainForm::cbProjectGroupCloseUp));
    connect(tsProcess, &TProcessPage::GroupPathEntered, this,
            [this](const QString& path) { RunGuarded([this, path] { GroupPathEntered(path); }); });
    connect(tsProcess, &TProcessPage::BrowseGroupClicked, this,
            [this] { RunGuarded([this] { SelectProjectGroup(); }); });
    connect(tsProcess, &TProcessPage::EditHistoryClicked, this,
            [this] { RunGuarded([this] { tsProcess->EditHistory(); }); });
    connect(tsProcess, &TProcessPage::ProjectSelected, this, guarded(&TMainForm::lbProjectsClick));
    connect(tsProcess, &TProcessPage::ProjectChecked, this, &TMainForm::lbProjectsClickCheck);
    connect(tsProcess, &TProcessPage::AllChecked, this,
            [this](bool checked) { FGroup.Projects.SetAllChecked(checked); });
    connect(tsProcess, &TProcessPage::SettingsClicked, this, &TMainForm::btSettingsClick);
    connect(tsProcess, &TProcessPage::InfoClicked, this, &TMainForm::btInfoClick);
    connect(tsProcess, &TProcessPage::ProcessClicked, this, guarded(&TMainForm::btProcessClick));
    connect(tsProcess, &TProcessPage::QuitClicked, this, &TMainForm::close);

    connect(tsSettings, &TSettingsPage::EditTemplateClicked, this,
            guarded(&TMainForm::btEditClick));
    connect(tsSettings, &TSettingsPage::ChooseTemplateClicked, this, &TMainForm::SelectTemplate);
    connect(tsSettings, &TSettingsPage::ChooseCompilerClicked, this, &TMainForm::SelectResCompiler);
    connect(tsSettings, &TSettingsPage::BackClicked, this, &TMainForm::btBackClick);

    connect(tsEdit, &TEditorPage::OkClicked, this, guarded(&TMainForm::btOkClick));
    connect(tsEdit, &TEditorPage::CancelClicked, this, &TMainForm::btCancelClick);
}

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
        GetProgramFolders(FAppPath, FUserPath, FProgPath, true, FEnv.Paths.ExePath);
    else {
        FAppPath = WithTrailingDelimiter(FEnv.AppPath);
        FUserPath = WithTrailingDelimiter(FEnv.UserPath);
        FProgPath = WithTrailingDelimiter(FEnv.ProgPath);
    }
    TFileVersionInfo info;
    GetProgramIdentity(FEnv.Paths.ExeFile, QString(), QStringLiteral(" - Vers. 1.0"), 3, FProgName,
                       FProgVers, FProgVersDate, info);
    FIniName = ConfigurationFileName(FAppPath, FEnv.Paths.ExeBaseName);

    const TConfiguration c = LoadConfiguration(FIniName, FEnv.Paths.ExePath, FUserPath);
    FLastPath = c.LastPath;
    tsSettings->ShowSettings(c);
    FGroup.LastProjectGrp = c.LastProjGroup;
    tsProcess->ShowHistory(c.ProjGroups, -1);

    setWindowTitle(Tr("Quorvel") + u' ' + FProgVers);
    FTemplate.clear();
    FLastIndex = -1;
    FGroup.LastGroupFile.clear();
    FDefHeight = DesignClientHeight;
    ShowPage(piProcess, FDefHeight);
    tsEdit->FillPlaceholders();
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
        if (tsSettings->TemplateName().isEmpty() ||
            !QFileInfo(tsSettings->TemplateName()).isFile()) {
            if (!SelectTemplate()) {
                close();
                return;
            }
        }
        const TTextContent content = ReadTextFile(tsSettings->TemplateName());
        FTemplate = content.Lines;
        FTemplateFormat = content.Format;
        if (tsSettings->ResourceCompiler().isEmpty() ||
            !QFileInfo(tsSettings->ResourceCompiler()).isFile()) {
            if (!SelectResCompiler()) {
                close();
                return;
            }
        }
        if (!FEnv.StartGroup.isEmpty()) {
            // The group named on the command line, as if chosen in the group
            // chooser; one that is not there is reported, and the start goes
            // on with the last group.
            if (QFileInfo(FEnv.StartGroup).isFile()) {
                OpenProjectGroup(FEnv.StartGroup);
                return;
            }
            FBoxes->ShowError(FormatText(Tr("Cannot open file \"%s\". %s"),
                                         {FEnv.StartGroup, MissingFileReason()}),
                              dmActiveForm);
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

void TMainForm::CloseOnRequest(int ExitCode)
{
    FExitCode = ExitCode;
    close();
}

void TMainForm::SaveForSessionEnd()
{
    RunGuarded([this] { SaveGroupSettings(); });
    FormDestroy();
    // The window may live on when the session's end is cancelled: its
    // configuration is written again when it closes.
    FDestroyed = false;
}

void TMainForm::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow())
        FWatch->Check();
}

bool TMainForm::FormClose()
{
    try {
        SaveGroupSettings();
        return true;
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
        return false;
    }
}

TConfiguration TMainForm::CurrentConfiguration() const
{
    TConfiguration c = tsSettings->Settings();
    c.LastPath = FLastPath;
    c.LastProjGroup = FGroup.LastProjectGrp;
    c.ProjGroups = tsProcess->History();
    return c;
}

void TMainForm::FormDestroy()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    try {
        SaveConfiguration(FIniName, FEnv.Paths.ExePath, CurrentConfiguration());
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
    }
}

void TMainForm::ShowPage(int Index, int ClientHeight)
{
    mmDos->setVisible(Index == piProcess);
    // The window's minimum height still holds the log pane until the layout
    // has taken it out; a resize before that stops at the old minimum.
    layout()->activate();
    resize(width(), ClientHeight);
    pcMain->setCurrentIndex(Index);
}

void TMainForm::btSettingsClick()
{
    ShowPage(piSettings, pcMain->height());
}

void TMainForm::btBackClick()
{
    ShowPage(piProcess, FDefHeight);
}

void TMainForm::btInfoClick()
{
    const QString text = windowTitle() + QStringLiteral(" - ") + FProgVersDate +
                         QStringLiteral("\r\n") + QStringLiteral(QUORVEL_COPYRIGHT) +
                         QStringLiteral("\r\nE-Mail: ") + QStringLiteral(QUORVEL_CONTACT);
    FBoxes->ShowInfo(FProgName, text, dmActiveForm);
}

void TMainForm::EscapePressed()
{
    switch (pcMain->currentIndex()) {
    case piProcess:
        if (focusWidget() != mmDos)
            tsProcess->PressEscape();
        break;
    case piSettings:
        tsSettings->PressEscape();
        break;
    default:
        tsEdit->PressEscape();
        break;
    }
}
