#pragma once

#include "project/Configuration.h"
#include "project/GroupValues.h"

#include <QWidget>

class IFileDialogs;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

// The settings page: template, resource compiler, output naming and the
// user's defaults, kept as a configuration that follows every edit, with the
// choosers of the template and the compiler. Editing the template and going
// back are the window's to decide.
class TSettingsPage : public QWidget
{
    Q_OBJECT

public:
    TSettingsPage(IFileDialogs& Dialogs, QWidget* Parent = nullptr);

    // The configuration values this page holds; the others keep their defaults.
    const TConfiguration& Settings() const { return FSettings; }
    // Shows the configuration values this page holds.
    void ShowSettings(const TConfiguration& Config);
    // Where the choosers start when their field is empty.
    void SetDefaultFolders(const QString& TemplateFolder, const QString& CompilerFolder);

    const QString& TemplateName() const { return FSettings.TemplateName; }
    const QString& ResourceCompiler() const { return FSettings.ResourceCompiler; }
    TUserDefaults UserDefaults() const;

    // The template and compiler choosers; false when cancelled.
    bool SelectTemplate();
    bool SelectResCompiler();

    // Esc on this page: "Back".
    void PressEscape();

Q_SIGNALS:
    void EditTemplateClicked();
    // Another template was chosen.
    void TemplateChanged();
    void BackClicked();

private:
    IFileDialogs& FDialogs;
    TConfiguration FSettings;
    QString FTemplateFolder;
    QString FCompilerFolder;

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
};
