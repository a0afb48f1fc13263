#pragma once

#include "app/MainFormEnvironment.h"
#include "project/Configuration.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QPlainTextEdit;
class QStackedWidget;
class ILogSink;
class TEditorPage;
class TGenerationController;
class TGroupController;
class TProcessPage;
class TSettingsPage;
class TTerminationSignals;

// The program's one window: the process page, the settings page and the
// template editor page above the log pane. It switches the pages, runs the
// start and the close, and wires what the pages report to the group
// controller (the open group) and the generation controller (the runs).
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm(const TMainFormEnvironment& Environment, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // The start sequence when the window is first shown: template, compiler
    // and group must be at hand, or the window closes. Runs once.
    void FormShow();

    // Closes the window as the user would, saving first, for a request to
    // end the program from outside (a signal, the session's end); the
    // program's exit code is then ExitCode.
    void CloseOnRequest(int ExitCode);
    // The exit code a request from outside asked for; -1 for none.
    int ExitCode() const { return FExitCode; }

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    // Coming back to the window looks at the files: an editor or git may have
    // replaced them without a watch noticing.
    void changeEvent(QEvent* Event) override;

private:
    // The pages in the page control.
    enum TPageIndex { piProcess, piSettings, piEditor };

    void CreateControls();
    void ConnectPages();
    void FormCreate();
    bool FormClose();
    void FormDestroy();
    void ShowPage(int Index, int ClientHeight);
    void EscapePressed();
    TConfiguration CurrentConfiguration() const;
    // Runs a user action: an error it does not handle itself is shown in an
    // error box and ends only that action.
    void RunGuarded(const std::function<void()>& Action);

    // Page switching and the about box.
    void btSettingsClick();
    void btBackClick();
    void btInfoClick();
    // "Create resource files".
    void btProcessClick();
    // The end of a run: the command back, and a close asked for during it.
    void GenerationFinished();
    // The session is ending: saves as a close would, without closing.
    void SaveForSessionEnd();

    // The template editor.
    void btEditClick();
    void btOkClick();
    void btCancelClick();

    TMainFormEnvironment FEnv;
    std::unique_ptr<IMessageBoxes> FOwnBoxes;
    std::unique_ptr<IFileDialogs> FOwnDialogs;
    IMessageBoxes* FBoxes = nullptr;
    IFileDialogs* FDialogs = nullptr;
    std::unique_ptr<TTerminationSignals> FSignals;
    // A close asked for from outside: the application ends with this code.
    int FExitCode = -1;
    std::unique_ptr<ILogSink> FLog;
    TGroupController* FGroups = nullptr;
    TGenerationController* FRuns = nullptr;

    QString FProgName;
    QString FProgVers;
    QString FProgVersDate;
    QString FAppPath;
    QString FProgPath;
    QString FUserPath;
    QString FIniName;
    // The client height at creation, to which the process page returns.
    int FDefHeight = 0;
    bool FShown = false;
    bool FDestroyed = false;
    // The window was closed during the run: it closes when the run has ended.
    bool FCloseAfterRun = false;
    // Where the focus stood when the run started, and where Qt put it when
    // the command was disabled.
    QPointer<QWidget> FFocusBeforeRun;
    QPointer<QWidget> FFocusDuringRun;

    QStackedWidget* pcMain = nullptr;
    TProcessPage* tsProcess = nullptr;
    TSettingsPage* tsSettings = nullptr;
    TEditorPage* tsEdit = nullptr;
    QPlainTextEdit* mmDos = nullptr;
};
