#pragma once

#include "app/GenerationController.h"
#include "app/GroupController.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;
class QsciScintilla;

// The main window's controls as a test reaches them: found by their form
// names, as a user finds them by their captions. A control that is missing
// ends the test program with its name.
struct TMainFormUi {
    explicit TMainFormUi(QWidget& Form);

    QStackedWidget* pcMain;
    QWidget* tsProcess;
    QWidget* tsSettings;
    QWidget* tsEdit;
    QPlainTextEdit* mmDos;

    QLabel* lbProjectName;
    QComboBox* cbProjectGroup;
    QToolButton* btProjectGroup;
    QAction* pmiEditList;
    QAction* pmiCancel;
    QToolButton* sbCheckAll;
    QToolButton* sbCheckNone;
    QListWidget* lbProjects;
    QSpinBox* udProdMajor;
    QSpinBox* udProdMinor;
    QLineEdit* edCompany;
    QSpinBox* udMajor;
    QSpinBox* udMinor;
    QSpinBox* udRelease;
    QSpinBox* udBuild;
    QToolButton* sbCopyMajor;
    QToolButton* sbCopyMinor;
    QLineEdit* edProject;
    QCheckBox* cbWin32;
    QCheckBox* cbWin64;
    QToolButton* btSettings;
    QToolButton* btInfo;
    QPushButton* btProcess;

    QLineEdit* edTemplate;
    QToolButton* btEdit;
    QToolButton* btTemplate;
    QLineEdit* edResPath;
    QLineEdit* edSuffix32;
    QLineEdit* edSuffix64;
    QLineEdit* edResCompiler;
    QToolButton* btResCompiler;
    QPushButton* btBack;

    QLabel* laTemplateFile;
    QsciScintilla* seTemplate;
    QComboBox* cbPlaceholders;
    QPushButton* btnInsert;
    QPushButton* btOk;
    QPushButton* btCancel;
};

// The window's controllers, as the window wires them: the open group and the
// runs of "Create resource files".
const TGroupController& Groups(QWidget& Form);
const TGenerationController& Runs(QWidget& Form);

// The log pane's text without the line that opens each run (the group's
// name) and the one that ends it (its figures and time).
QString RunOutput(const QPlainTextEdit* Log);
