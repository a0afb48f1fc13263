// The template editor page, the placeholder list that follows the caret, and
// the file choosers of the settings page.
#include "app/QuorvelMain.h"

#include "dialogs/EditHistListDlg.h"
#include "dialogs/FileDialogs.h"
#include "resgen/PlaceholderCaret.h"
#include "resgen/Placeholders.h"
#include "support/PathHelpers.h"
#include "support/Translation.h"

#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

namespace {

// The editor's text as lines, exactly as shown: a text that ends in a line
// break ends in an empty line (the file's own final break is not in the text).
QStringList EditorLines(const QsciScintilla* editor)
{
    const QString text = editor->text();
    QStringList lines = SplitLines(text);
    if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        lines.append(QString());
    return lines;
}

} // namespace

void TMainForm::btEditClick()
{
    ShowPage(2, pcMain->height());
    laTemplateFile->setText(edTemplate->text());
    const TTextContent content = ReadTextFile(edTemplate->text());
    EditorFormat = content.Format;
    seTemplate->setEolMode(QsciScintilla::EolUnix);
    seTemplate->setText(content.Lines.join(u'\n'));
    seTemplate->setCursorPosition(0, 0);
}

void TMainForm::btOkClick()
{
    ShowPage(1, pcMain->height());
    WriteTextFile(edTemplate->text(), EditorLines(seTemplate), EditorFormat);
}

void TMainForm::btCancelClick()
{
    ShowPage(1, pcMain->height());
}

void TMainForm::btnInsertClick()
{
    const int index = cbPlaceholders->currentIndex();
    if (index < 0 || cbPlaceholders->itemText(index) != cbPlaceholders->currentText())
        return;
    const int row = cbPlaceholders->itemData(index).toInt();
    if (row < 0 || row >= PlaceholderCount)
        return;
    // Replacing an empty selection inserts at the caret; either way the
    // caret ends behind the placeholder.
    seTemplate->replaceSelectedText(u'$' + QLatin1String(Placeholders[row].ph));
}

void TMainForm::seTemplateStatusChange()
{
    int line = 0, column = 0;
    seTemplate->getCursorPosition(&line, &column);
    const int row = PlaceholderRowAtCaret(EditorLines(seTemplate), line + 1, column + 1);
    if (row < 0)
        return;
    const int item = cbPlaceholders->findData(row);
    if (item >= 0)
        cbPlaceholders->setCurrentIndex(item);
}

bool TMainForm::SelectTemplate()
{
    TOpenDialogRequest request;
    // A typed path may hold "/", which Windows takes as a delimiter, too.
    request.InitialDir = edTemplate->text().isEmpty()
                             ? FEnv.Paths.ExePath
                             : ExtractFilePath(QDir::toNativeSeparators(edTemplate->text()));
    request.Title = Tr("Select resource template");
    request.Filter = Tr("Templates|*.trc|all|*.*");
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    edTemplate->setText(chosen);
    return true;
}

bool TMainForm::SelectResCompiler()
{
    TOpenDialogRequest request;
    request.InitialDir = edResCompiler->text().isEmpty()
                             ? ProgPath
                             : ExtractFilePath(QDir::toNativeSeparators(edResCompiler->text()));
    request.FileName = QStringLiteral("brcc32.exe");
    request.Title = Tr("Select resource compiler");
    request.Filter = Tr("Programs|*.exe");
#ifndef Q_OS_WIN
    // Compilers have no ".exe" here: without this entry none could be chosen.
    request.Filter += QLatin1Char('|') + Tr("all|*");
#endif
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    edResCompiler->setText(chosen);
    return true;
}

void TMainForm::pmiEditListClick()
{
    const QPoint corner = cbProjectGroup->parentWidget()->mapToGlobal(
        QPoint(cbProjectGroup->x(), cbProjectGroup->y() + cbProjectGroup->height()));
    QStringList history;
    for (int i = 0; i < cbProjectGroup->count(); ++i)
        history.append(cbProjectGroup->itemText(i));
    if (!EditHistoryList(corner, QString(), cbProjectGroup->toolTip(), history))
        return;
    // The field keeps showing its text while its list is refilled.
    const QString shown = cbProjectGroup->currentText();
    cbProjectGroup->clear();
    cbProjectGroup->addItems(history);
    cbProjectGroup->setCurrentIndex(cbProjectGroup->findText(shown));
    cbProjectGroup->setEditText(shown);
}
