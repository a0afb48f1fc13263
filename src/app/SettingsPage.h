#pragma once

#include "project/Configuration.h"
#include "project/GroupValues.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

// The settings page: template, resource compiler, output naming and the
// user's defaults. It shows values and reports the user's actions; the window
// decides what they do.
class TSettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit TSettingsPage(QWidget* Parent = nullptr);

    // The configuration values this page holds; the others keep their defaults.
    TConfiguration Settings() const;
    // Shows the configuration values this page holds.
    void ShowSettings(const TConfiguration& Config);

    QString TemplateName() const;
    void SetTemplateName(const QString& FileName);
    QString ResourceCompiler() const;
    void SetResourceCompiler(const QString& FileName);
    TUserDefaults UserDefaults() const;

    // Esc on this page: "Back".
    void PressEscape();

Q_SIGNALS:
    void EditTemplateClicked();
    void ChooseTemplateClicked();
    void ChooseCompilerClicked();
    void BackClicked();

private:
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
