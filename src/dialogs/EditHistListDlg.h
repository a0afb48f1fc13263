#pragma once

#include "dialogs/HistListOps.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

// The editor for a history list (the recently opened project groups): the
// user removes entries and moves them up or down in a working copy; only OK
// writes the new order back into the caller's list.
class TEditHistListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TEditHistListDialog(QWidget* Owner = nullptr);

    // Shows the dialog modally on HList. A negative coordinate of APos centres
    // it on the active window's monitor; otherwise its top-left corner is APos,
    // kept inside the monitor. A non-empty Titel replaces the caption. Returns
    // true and the edited list in HList on OK; HList stays untouched otherwise.
    bool Execute(const QPoint& APos, const QString& Titel, const QString& Desc, QStringList& HList);

protected:
    void showEvent(QShowEvent* Event) override;

private Q_SLOTS:
    void btnDeleteClick();
    void UpBtnClick();
    void DownBtnClick();

private:
    void BuildControls();
    void PlaceAt(const QPoint& APos);
    THistListState WorkingState() const;
    void ShowWorkingState(const THistListState& State);

    QLabel* lbDesc = nullptr;
    QListWidget* lbxStringList = nullptr;
    QPushButton* btnDelete = nullptr;
    QGroupBox* gbxMove = nullptr;
    QToolButton* UpBtn = nullptr;
    QToolButton* DownBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The entries removed during the current run, last removed at the end.
    QList<THistEntry> DelList;
};

// Runs a new list editor once on HList (see TEditHistListDialog::Execute).
bool EditHistoryList(const QPoint& APos, const QString& Titel, const QString& Desc,
                     QStringList& HList);
