#include "app/QuorvelMain.h"

#include "QuorvelVersion.h"
#include "app/EditorPage.h"
#include "app/FormControls.h"
#include "app/GenerationController.h"
#include "app/GroupController.h"
#include "app/LogPaneSink.h"
#include "app/ProcessPage.h"
#include "app/SettingsPage.h"
#include "resgen/LogSink.h"

#include "dialogs/FileDialogs.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/TranslateComponent.h"
#include "project/Configuration.h"
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
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.quorvel.Quorvel.svg")));
    FLog = std::make_unique<TLogPaneSink>(mmDos);
    FGroups = new TGroupController(*tsProcess, *tsSettings, *FLog, *FDialogs, this);
    FRuns = new TGenerationController(*FLog, *FBoxes, FEnv.CompilerTimeoutMs, this);
    ConnectPages();
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
    tsSettings = new TSettingsPage(*FDialogs, this);
    tsEdit = new TEditorPage(this);
    pcMain->insertWidget(piProcess, tsProcess);
    pcMain->insertWidget(piSettings, tsSettings);
    pcMain->insertWidget(piEditor, tsEdit);
    root->addWidget(pcMain, 0, Qt::AlignTop);

    mmDos = Named(new QPlainTextEdit(this), "mmDos");
    mmDos->setReadOnly(true);
    mmDos->setFont(FixedFont(11));
    mmDos->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines (a compiler's message, a hint) wrap instead of running off
    // the pane's edge.
    mmDos->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmDos->setMinimumHeight(0);
    root->addWidget(mmDos, 1);
    resize(DesignClientWidth, DesignClientHeight);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { EscapePressed(); });
}

void TMainForm::ConnectPages()
{
    // An action whose errors end only that action, in an error box.
    const auto guarded = [this](const std::function<void()>& action) {
        return [this, action] { RunGuarded(action); };
    };
    connect(tsProcess, &TProcessPage::HistoryCloseUp, this,
            guarded([this] { FGroups->cbProjectGroupCloseUp(); }));
    connect(tsProcess, &TProcessPage::GroupPathEntered, this, [this](const QString& path) {
        RunGuarded([this, path] { FGroups->GroupPathEntered(path); });
    });
    connect(tsProcess, &TProcessPage::BrowseGroupClicked, this,
            guarded([this] { FGroups->SelectProjectGroup(); }));
    connect(tsProcess, &TProcessPage::EditHistoryClicked, this,
            guarded([this] { FGroups->EditHistory(); }));
    connect(tsProcess, &TProcessPage::ProjectSelected, this,
            guarded([this] { FGroups->lbProjectsClick(); }));
    connect(tsProcess, &TProcessPage::ProjectChecked, FGroups,
            &TGroupController::lbProjectsClickCheck);
    connect(tsProcess, &TProcessPage::AllChecked, FGroups, &TGroupController::SetAllChecked);
    connect(tsProcess, &TProcessPage::SettingsClicked, this, &TMainForm::btSettingsClick);
    connect(tsProcess, &TProcessPage::InfoClicked, this, &TMainForm::btInfoClick);
    connect(tsProcess, &TProcessPage::ProcessClicked, this, guarded([this] { btProcessClick(); }));
    connect(tsProcess, &TProcessPage::QuitClicked, this, &TMainForm::close);

    connect(tsSettings, &TSettingsPage::EditTemplateClicked, this,
            guarded([this] { btEditClick(); }));
    connect(tsSettings, &TSettingsPage::TemplateChanged, FGroups,
            &TGroupController::WatchGroupFiles);
    connect(tsSettings, &TSettingsPage::BackClicked, this, &TMainForm::btBackClick);

    connect(tsEdit, &TEditorPage::OkClicked, this, guarded([this] { btOkClick(); }));
    connect(tsEdit, &TEditorPage::CancelClicked, this, &TMainForm::btCancelClick);

    connect(FRuns, &TGenerationController::Started, this, [this] {
        FFocusBeforeRun = focusWidget();
        tsProcess->SetRunning(true);
        // Qt moves the focus off a control disabled for the run, onto
        // "Close program": a second Space would end the program.
        FFocusDuringRun = focusWidget();
    });
    connect(FRuns, &TGenerationController::Progress, tsProcess, &TProcessPage::ShowProgress);
    connect(FRuns, &TGenerationController::Finished, this, &TMainForm::GenerationFinished);
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
    tsSettings->SetDefaultFolders(FEnv.Paths.ExePath, FProgPath);

    TConfiguration c = LoadConfiguration(FIniName, FEnv.Paths.ExePath, FUserPath);
    // A configuration the window creates escapes text values: every compiler
    // of the README reads escaped strings right, and the demo's "Müller &
    // Söhne" stops llvm-rc otherwise. One without the key keeps meaning off,
    // so that existing setups and pipelines build as before.
    if (!QFileInfo::exists(FIniName))
        c.EscapeValues = true;
    tsSettings->ShowSettings(c);
    FGroups->ShowConfiguration(c);

    setWindowTitle(Tr("Quorvel") + u' ' + FProgVers);
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
            if (!tsSettings->SelectTemplate()) {
                close();
                return;
            }
        }
        // A template that cannot be read is said now, not at the first run.
        ReadTextFile(tsSettings->TemplateName());
        if (tsSettings->ResourceCompiler().isEmpty() ||
            !QFileInfo(tsSettings->ResourceCompiler()).isFile()) {
            if (!tsSettings->SelectResCompiler()) {
                close();
                return;
            }
        }
        if (!FEnv.StartGroup.isEmpty()) {
            // The group named on the command line, as if chosen in the group
            // chooser; one that is not there is reported, and the start goes
            // on with the last group.
            if (QFileInfo(FEnv.StartGroup).isFile()) {
                FGroups->OpenProjectGroup(FEnv.StartGroup);
                return;
            }
            FBoxes->ShowError(FormatText(Tr("Cannot open file \"%s\". %s"),
                                         {FEnv.StartGroup, MissingFileReason()}),
                              dmActiveForm);
        }
        const QString last = FGroups->Group().LastProjectGrp;
        if (last.isEmpty() || !QFileInfo(last).isFile()) {
            if (!FGroups->SelectProjectGroup())
                close();
        } else
            FGroups->OpenProjectGroup(last);
    });
}

void TMainForm::closeEvent(QCloseEvent* Event)
{
    if (FRuns->IsRunning()) {
        // The user decides whether the run goes on; a request from outside
        // (a signal, the session's end) cancels it. Either way the window
        // closes, saving, once the compilers have ended.
        if (FExitCode >= 0 ||
            FBoxes->Confirm(Tr("\"Create resource files\" is running. Cancel it and close "
                               "the program?"),
                            dmActiveForm)) {
            FCloseAfterRun = true;
            FRuns->Cancel();
        }
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
    RunGuarded([this] { FGroups->SaveGroupSettings(); });
    FormDestroy();
    // The window may live on when the session's end is cancelled: its
    // configuration is written again when it closes.
    FDestroyed = false;
}

void TMainForm::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow())
        FGroups->CheckFiles();
}

bool TMainForm::FormClose()
{
    try {
        FGroups->SaveGroupSettings();
        return true;
    } catch (const TQuorvelError& e) {
        FBoxes->ShowError(e.Message(), dmActiveForm);
        return false;
    }
}

TConfiguration TMainForm::CurrentConfiguration() const
{
    TConfiguration c = tsSettings->Settings();
    FGroups->StoreConfiguration(c);
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

void TMainForm::btProcessClick()
{
    // During a run the command is "Cancel".
    if (FRuns->IsRunning()) {
        FRuns->Cancel();
        return;
    }
    FGroups->StoreEdits();
    // No group has been opened yet: there is no folder to write into.
    if (FGroups->Group().LastProjectGrp.isEmpty())
        return;
    FRuns->Start(FGroups->Group(), tsSettings->Settings());
}

void TMainForm::GenerationFinished()
{
    tsProcess->SetRunning(false);
    // The focus goes back where it was, unless the user has moved it since.
    if (FFocusBeforeRun && focusWidget() == FFocusDuringRun)
        FFocusBeforeRun->setFocus(Qt::OtherFocusReason);
    if (FCloseAfterRun) {
        FCloseAfterRun = false;
        close();
    }
}

void TMainForm::btEditClick()
{
    ShowPage(piEditor, pcMain->height());
    const QString fileName = tsSettings->TemplateName();
    tsEdit->Open(fileName, ReadTextFile(fileName));
}

void TMainForm::btOkClick()
{
    ShowPage(piSettings, pcMain->height());
    WriteTextFile(tsSettings->TemplateName(), tsEdit->Lines(), tsEdit->Format());
    FGroups->AcceptFiles();
}

void TMainForm::btCancelClick()
{
    ShowPage(piSettings, pcMain->height());
}
