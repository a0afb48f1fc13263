#pragma once

#include "app/MainFormEnvironment.h"
#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "project/SettingsMerge.h"
#include "support/TextFile.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QPlainTextEdit;
class QStackedWidget;
class ILogSink;
class IErrorReporter;
class TEditorPage;
class TProcessPage;
class TResourceCompiler;
class TSettingsPage;
class TGenerationRun;
class TOverrideCursor;
class TFileWatch;
class TTerminationSignals;

// The program's one window: the process page, the settings page and the
// template editor page above the log pane. It switches the pages, runs the
// start and the close, and turns what the pages report into calls into the
// core.
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm(const TMainFormEnvironment& Environment, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // The start sequence when the window is first shown: template, compiler
    // and group must be at hand, or the window closes. Runs once.
    void FormShow();

    // The program's name and the date of its file, as the about box shows them.
    const QString& ProgName() const { return FProgName; }
    const QString& ProgVersDate() const { return FProgVersDate; }
    // The template's lines as the last run (or the start) read them.
    const QStringList& Template() const { return FTemplate; }
    // The open group with every project's data as last stored from the fields.
    const TProjectGroup& ProjectGroup() const { return FGroup; }
    // The project whose data the project fields show; -1 for none.
    int LastIndex() const { return FLastIndex; }
    // The client height at creation, to which the process page returns.
    int DefHeight() const { return FDefHeight; }
    // Whether "Create resource files" is running.
    bool IsGenerating() const { return FRun != nullptr; }

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
    // The end of "Create resource files": the command back, the write
    // failure's box, and a close asked for during the run.
    void GenerationFinished();

    // The group and its projects.
    bool SelectProjectGroup();
    bool OpenProjectGroup(const QString& FileName);
    void cbProjectGroupCloseUp();
    void lbProjectsClick();
    void lbProjectsClickCheck(int Row, bool Checked);
    void ShowProjectData();
    void StoreProjectData();
    void ShowGroupValues();
    void StoreGroupValues();
    // Shows the list with its missing project files marked; with Select,
    // the entry of that text is selected (the first one when none has it).
    void ShowProjectList(bool Select, const QString& Selected = QString());
    // Stores the fields and saves the user's edits over what the settings
    // file holds now; the window then shows what the file holds.
    void SaveGroupSettings();
    // The group's files changed on disk: reads them again, keeping the
    // user's unsaved edits.
    void ReloadFromDisk();
    // The files the window follows: group, settings, project files, template.
    void WatchGroupFiles();
    void LogConflicts(const QList<TSettingsConflict>& Conflicts);
    // A path typed into the group field and confirmed with Enter.
    void GroupPathEntered(const QString& Path);
    // The session is ending: saves as a close would, without closing.
    void SaveForSessionEnd();

    // Template editor and choosers.
    void btEditClick();
    void btOkClick();
    void btCancelClick();
    bool SelectTemplate();
    bool SelectResCompiler();

    TMainFormEnvironment FEnv;
    std::unique_ptr<IMessageBoxes> FOwnBoxes;
    std::unique_ptr<IFileDialogs> FOwnDialogs;
    IMessageBoxes* FBoxes = nullptr;
    IFileDialogs* FDialogs = nullptr;
    TProjectGroup FGroup;
    // What the window last took from the disk: the user's edits are the
    // values that differ from it.
    TSettingsSnapshot FBase;
    TFileWatch* FWatch = nullptr;
    std::unique_ptr<TTerminationSignals> FSignals;
    // A close asked for from outside: the application ends with this code.
    int FExitCode = -1;
    std::unique_ptr<ILogSink> FLog;
    std::unique_ptr<IErrorReporter> FReporter;
    std::unique_ptr<TResourceCompiler> FCompiler;

    QString FProgName;
    QString FProgVers;
    QString FProgVersDate;
    QString FAppPath;
    QString FProgPath;
    QString FUserPath;
    QString FIniName;
    QString FLastPath;
    QStringList FTemplate;
    TTextFormat FTemplateFormat;
    int FDefHeight = 0;
    int FLastIndex = -1;
    bool FShown = false;
    bool FDestroyed = false;
    // The run of "Create resource files" going on; null between runs.
    std::unique_ptr<TGenerationRun> FRun;
    // The busy cursor, shown for as long as the run lasts.
    std::unique_ptr<TOverrideCursor> FBusy;
    // The window was closed during the run: it closes when the run has ended.
    bool FCloseAfterRun = false;

    QStackedWidget* pcMain = nullptr;
    TProcessPage* tsProcess = nullptr;
    TSettingsPage* tsSettings = nullptr;
    TEditorPage* tsEdit = nullptr;
    QPlainTextEdit* mmDos = nullptr;
};
