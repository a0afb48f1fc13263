#pragma once

#include "support/TextFile.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QsciScintilla;

// The template editor page: the template's text with line numbers, the
// placeholder list that follows the caret and inserts at it, "OK" and
// "Cancel". The window reads and writes the file.
class TEditorPage : public QWidget
{
    Q_OBJECT

public:
    explicit TEditorPage(QWidget* Parent = nullptr);

    // Fills the placeholder list from the placeholder table, in the user's
    // language, the first entry chosen.
    void FillPlaceholders();
    // Shows a file's text, the caret at its start; Lines and Format give it
    // back as edited.
    void Open(const QString& FileName, const TTextContent& Content);
    // The text as lines, exactly as shown: a text that ends in a line break
    // ends in an empty line (the file's own final break is not in the text).
    QStringList Lines() const;
    // The form of the file opened last, to write the text back in.
    TTextFormat Format() const { return FFormat; }

    // Esc on this page: "Cancel".
    void PressEscape();

Q_SIGNALS:
    void OkClicked();
    void CancelClicked();

private:
    void btnInsertClick();
    void seTemplateStatusChange();

    TTextFormat FFormat;
    QLabel* laTemplateFile = nullptr;
    QsciScintilla* seTemplate = nullptr;
    QComboBox* cbPlaceholders = nullptr;
    QPushButton* btnInsert = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
};
