#include "dialogs/FileDialogs.h"

#include "support/PathHelpers.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString ChooserFolder(const QString& FieldPath, const QString& Fallback)
{
    return FieldPath.isEmpty() ? Fallback : ExtractFilePath(QDir::toNativeSeparators(FieldPath));
}

QStringList ToQtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        result.append(
            QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(u';', u' ')));
    return result;
}

bool TFileDialogs::ExecuteOpen(const TOpenDialogRequest& Request, QString& FileName)
{
    QFileDialog dialog(FOwner, Request.Title, Request.InitialDir);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    dialog.setNameFilters(ToQtNameFilters(Request.Filter));
    if (!Request.FileName.isEmpty())
        dialog.selectFile(Request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QFileInfo chosen(dialog.selectedFiles().first());
    if (!chosen.isFile())
        return false;
    FileName = QDir::toNativeSeparators(chosen.absoluteFilePath());
    return true;
}
