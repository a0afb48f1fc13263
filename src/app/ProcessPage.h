#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "project/ProjectList.h"

#include <QStringList>
#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;

// The process page: the group history, the project list with its check
// marks, the group's and the selected project's version fields, and the
// bottom row with "Create resource files". It shows values and reports the
// user's actions; the window decides what they do.
class TProcessPage : public QWidget
{
    Q_OBJECT

public:
    explicit TProcessPage(QWidget* Parent = nullptr);

    // Shows the history of opened groups, the most recent first, with the
    // entry at Selected chosen (-1: none).
    void ShowHistory(const QStringList& History, int Selected);
    // The history field's text: the chosen entry or what the user typed.
    QString GroupText() const;
    // The chosen history entry; empty when the typed text names none.
    QString ChosenGroup() const;
    // Lets the user edit the history in the list editor below the field;
    // true, with the edited history shown, when the user confirmed.
    bool EditHistory(QStringList& History);

    TGroupValues GroupValues() const;
    void ShowGroupValues(const TGroupValues& Values);

    // The project fields: versions, description and platforms. Storing
    // leaves the check mark (psEnabled) as the data has it.
    void ShowProjectData(const TProjectData& Data);
    void StoreProjectData(TProjectData& Data) const;

    // Fills the list with the entries and their check marks, none selected,
    // without reporting a selection or a check. The entries whose project
    // file is missing (Missing[i]) are greyed and say so.
    void ShowProjects(const TProjectList& Projects, const QList<bool>& Missing = {});
    // The selected entry, -1 for none.
    int SelectedProject() const;
    // Selects an entry without reporting it.
    void SelectProject(int Row);

    // While a run goes on "Create resource files" is "Cancel" with the
    // run's progress, and the group field, its chooser and the settings
    // button are disabled: the group cannot change under the run.
    void SetRunning(bool Running);
    void ShowProgress(int Done, int Count);
    // Esc on this page: "Create resource files" when it is enabled.
    void PressEscape();

Q_SIGNALS:
    // The history drop-down was closed, with or without a choice.
    void HistoryCloseUp();
    // Enter in the group field on a typed path that names no history entry.
    void GroupPathEntered(const QString& Path);
    void BrowseGroupClicked();
    void EditHistoryClicked();
    // Another entry was selected.
    void ProjectSelected();
    // The check mark of an entry changed; a click on the check box of another
    // entry selects that entry first.
    void ProjectChecked(int Row, bool Checked);
    // "Check all" or "Uncheck all": the list shows it already.
    void AllChecked(bool Checked);
    void SettingsClicked();
    void InfoClicked();
    void ProcessClicked();
    void QuitClicked();

protected:
    // Watches the history field's drop-down: closing it is its close-up.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void lbProjectsClickCheck(QListWidgetItem* Item);
    void SetAllChecked(bool Checked);
    void sbCopyMajorClick();
    void sbCopyMinorClick();

    bool FCloseUpPending = false;

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
};
