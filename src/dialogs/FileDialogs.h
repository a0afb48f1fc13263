#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What an open-file dialog is asked for. Filter is in the "Name|pattern|Name|pattern" form.
struct TOpenDialogRequest {
    QString InitialDir;
    QString FileName;
    QString Title;
    QString Filter;
};

// Where a chooser starts: the folder of the path its field holds, or
// Fallback when the field is empty. A typed path may hold "/", which Windows
// takes as a delimiter, too.
QString ChooserFolder(const QString& FieldPath, const QString& Fallback);

// The program's one open-file dialog, behind an interface so that tests can
// preset the answer.
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    // Shows the dialog; returns true and the chosen file's full name when the
    // user confirmed an existing file.
    virtual bool ExecuteOpen(const TOpenDialogRequest& Request, QString& FileName) = 0;
};

// The real dialog: existing file and folder, no read-only box, resizable.
class TFileDialogs : public IFileDialogs
{
public:
    explicit TFileDialogs(QWidget* Owner) : FOwner(Owner) {}
    bool ExecuteOpen(const TOpenDialogRequest& Request, QString& FileName) override;

private:
    QWidget* FOwner;
};

// "Name|*.a|all|*.*" as Qt name filters ("Name (*.a)", "all (*.*)").
QStringList ToQtNameFilters(const QString& filter);
