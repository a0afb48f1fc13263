#pragma once

#include "app/MainFormEnvironment.h"
#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "support/TextFile.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QsciScintilla;
class QAction;
class ILogSink;
class IErrorReporter;
class TResourceCompiler;
class TGenerationRun;

// The program's one window: the process page (group, projects, version
// fields, "Create resource files"), the settings page and the template editor
// page above the log pane.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(const TMainFormEnvironment& Environment, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // The start sequence when the window is first shown: template, compiler
    // and group must be at hand, or the window closes. Runs once.
    void FormShow();

    // Program identity and state (read by tests and the about box).
    QString ProgName;
    QString ProgVers;
    QString ProgVersDate;
    QString AppPath;
    QString ProgPath;
    QString UserPath;
    QString Ininame;
    QString LastPath;
    QStringList Template;
    TTextFormat TemplateFormat;
    int DefHeight = 0;
    int LastIndex = -1;

    TProjectGroup& ProjectGroup() { return FGroup; }
    const QString& LastProjectGrp() const { return FGroup.LastProjectGrp; }
    const QString& LastGroupFile() const { return FGroup.LastGroupFile; }
    // Whether "Create resource files" is running.
    bool IsGenerating() const { return FRun != nullptr; }

    // Page switching and commands, as the buttons trigger them.
    void btSettingsClick();
    void btBackClick();
    void btInfoClick();
    void btQuitClick();
    void btProcessClick();
    void btProjectGroupClick();
    void cbProjectGroupCloseUp();
    bool SelectProjectGroup();
    bool OpenProjectGroup(const QString& FileName);
    void lbProjectsClick();
    void lbProjectsClickCheck(QListWidgetItem* Item);
    void sbCheckAllClick();
    void sbCheckNoneClick();
    void sbCopyMajorClick();
    void sbCopyMinorClick();
    void pmiEditListClick();
    void ShowProjectData();
    void StoreProjectData();

    // Runs a user action: an error it does not handle itself is shown in an
    // error box and ends only that action.
    void RunGuarded(const std::function<void()>& Action);

    // Template editor and choosers.
    void btEditClick();
    void btOkClick();
    void btCancelClick();
    void btnInsertClick();
    void seTemplateStatusChange();
    bool SelectTemplate();
    bool SelectResCompiler();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    // Watches the group field's drop-down: closing it runs its close-up.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateControls();
    QWidget* CreateProcessPage();
    QWidget* CreateSettingsPage();
    QWidget* CreateEditorPage();
    void FormCreate();
    bool FormClose();
    void FormDestroy();
    void ShowPage(int Index, int ClientHeight);
    void ShowGroupValues();
    void StoreGroupValues();
    void FillProjectList();
    void EscapePressed();
    TConfiguration CurrentConfiguration() const;
    // The end of "Create resource files": the command back, the write
    // failure's box, and a close asked for during the run.
    void GenerationFinished();

    TMainFormEnvironment FEnv;
    std::unique_ptr<IMessageBoxes> FOwnBoxes;
    std::unique_ptr<IFileDialogs> FOwnDialogs;
    IMessageBoxes* FBoxes = nullptr;
    IFileDialogs* FDialogs = nullptr;
    TProjectGroup FGroup;
    std::unique_ptr<ILogSink> FLog;
    std::unique_ptr<IErrorReporter> FReporter;
    std::unique_ptr<TResourceCompiler> FCompiler;
    bool FShown = false;
    bool FDestroyed = false;
    // The run of "Create resource files" going on; null between runs.
    std::unique_ptr<TGenerationRun> FRun;
    // The window was closed during the run: it closes when the run has ended.
    bool FCloseAfterRun = false;
    bool FFilling = false;
    bool FCloseUpPending = false;

public:
    // Controls, named as on the form.
    QStackedWidget* pcMain = nullptr;
    QWidget* tsProcess = nullptr;
    QWidget* tsSettings = nullptr;
    QWidget* tsEdit = nullptr;
    QPlainTextEdit* mmDos = nullptr;

    QLabel* lbProjectName = nullptr;
    QComboBox* cbProjectGroup = nullptr;
    QToolButton* btProjectGroup = nullptr;
    QMenu* pmProjects = nullptr;
    QAction* pmiEditList = nullptr;
    QAction* pmiCancel = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* sbCheckAll = nullptr;
    QToolButton* sbCheckNone = nullptr;
    QListWidget* lbProjects = nullptr;
    QGroupBox* gbGroup = nullptr;
    QSpinBox* udProdMajor = nullptr;
    QSpinBox* udProdMinor = nullptr;
    QLineEdit* edAuthor = nullptr;
    QLineEdit* edCompany = nullptr;
    QLineEdit* edCopyright = nullptr;
    QLineEdit* edProduct = nullptr;
    QGroupBox* gbProject = nullptr;
    QSpinBox* udMajor = nullptr;
    QSpinBox* udMinor = nullptr;
    QSpinBox* udRelease = nullptr;
    QSpinBox* udBuild = nullptr;
    QToolButton* sbCopyMajor = nullptr;
    QToolButton* sbCopyMinor = nullptr;
    QLineEdit* edProject = nullptr;
    QCheckBox* cbWin32 = nullptr;
    QCheckBox* cbWin64 = nullptr;
    QToolButton* btSettings = nullptr;
    QToolButton* btInfo = nullptr;
    QPushButton* btProcess = nullptr;
    QToolButton* btQuit = nullptr;

    QLineEdit* edTemplate = nullptr;
    QToolButton* btEdit = nullptr;
    QToolButton* btTemplate = nullptr;
    QLineEdit* edResPath = nullptr;
    QLineEdit* edSuffix32 = nullptr;
    QLineEdit* edSuffix64 = nullptr;
    QLineEdit* edResCompiler = nullptr;
    QToolButton* btResCompiler = nullptr;
    QLineEdit* edResCompilerOptions = nullptr;
    QCheckBox* cbEscapeValues = nullptr;
    QLineEdit* edDefAuthor = nullptr;
    QLineEdit* edDefCompany = nullptr;
    QLineEdit* edDefCopyright = nullptr;
    QPushButton* btBack = nullptr;

    QLabel* laTemplateFile = nullptr;
    QsciScintilla* seTemplate = nullptr;
    QComboBox* cbPlaceholders = nullptr;
    QPushButton* btnInsert = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
    TTextFormat EditorFormat;
};
