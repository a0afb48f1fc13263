// The project group and its project list: opening groups, the history
// drop-down, selection, check marks and the version fields.
#include "app/QuorvelMain.h"

#include "dialogs/FileDialogs.h"
#include "dialogs/MessageBoxes.h"
#include "project/GroupFile.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

namespace {

// A stored value outside a spinner's design range widens the range rather
// than being cut, so that showing a project and moving on keeps the value.
void ShowSpin(QSpinBox* spin, int designMin, int designMax, int value)
{
    spin->setRange(qMin(designMin, value), qMax(designMax, value));
    spin->setValue(value);
}

} // namespace

void TMainForm::ShowGroupValues()
{
    ShowSpin(udProdMajor, 1, 100, FGroup.Group.ProdMajor);
    ShowSpin(udProdMinor, 0, 100, FGroup.Group.ProdMinor);
    edAuthor->setText(FGroup.Group.Author);
    edCompany->setText(FGroup.Group.Company);
    edCopyright->setText(FGroup.Group.Copyright);
    edProduct->setText(FGroup.Group.Product);
}

void TMainForm::StoreGroupValues()
{
    FGroup.Group.ProdMajor = udProdMajor->value();
    FGroup.Group.ProdMinor = udProdMinor->value();
    FGroup.Group.Author = edAuthor->text();
    FGroup.Group.Company = edCompany->text();
    FGroup.Group.Copyright = edCopyright->text();
    FGroup.Group.Product = edProduct->text();
}

void TMainForm::FillProjectList()
{
    FFilling = true;
    lbProjects->clear();
    for (int i = 0; i < FGroup.Projects.Count(); ++i) {
        const TProjectEntry& entry = FGroup.Projects[i];
        auto* item = new QListWidgetItem(entry.Text, lbProjects);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
    }
    FFilling = false;
}

bool TMainForm::OpenProjectGroup(const QString& FileName)
{
    QStringList history;
    for (int i = 0; i < cbProjectGroup->count(); ++i)
        history.append(cbProjectGroup->itemText(i));
    AddToHistory(history, FileName);
    cbProjectGroup->clear();
    cbProjectGroup->addItems(history);
    cbProjectGroup->setCurrentIndex(0);
    FGroup.LastProjectGrp = FileName;

    const QStringList entries = ReadProjectEntries(ReadTextFile(FileName).Lines);
    FGroup.Projects.Clear();
    LastIndex = -1;
    for (const QString& entry : entries)
        FGroup.Projects.Add(entry);
    if (FGroup.Projects.IsEmpty()) {
        FillProjectList();
        return false;
    }
    const TUserDefaults defaults{edDefAuthor->text(), edDefCompany->text(), edDefCopyright->text()};
    try {
        FGroup.LoadVersionSettings(SettingsFileName(FileName), defaults);
    } catch (const TQuorvelError&) {
        // What was loaded before the unreadable project file stays shown.
        FillProjectList();
        ShowGroupValues();
        throw;
    }
    FillProjectList();
    ShowGroupValues();
    FFilling = true;
    lbProjects->setCurrentRow(0);
    FFilling = false;
    ShowProjectData();
    return true;
}

bool TMainForm::SelectProjectGroup()
{
    TOpenDialogRequest request;
    const QString typed = cbProjectGroup->currentText();
    // A typed path may hold "/", which Windows takes as a delimiter, too.
    request.InitialDir =
        typed.isEmpty() ? LastPath : ExtractFilePath(QDir::toNativeSeparators(typed));
    request.Title = Tr("Select Delphi project group");
    request.Filter = Tr("Project group files|*.groupproj|all|*.*");
    QString chosen;
    if (!FDialogs->ExecuteOpen(request, chosen))
        return false;
    OpenProjectGroup(chosen);
    return true;
}

void TMainForm::btProjectGroupClick()
{
    SelectProjectGroup();
}

void TMainForm::cbProjectGroupCloseUp()
{
    StoreProjectData();
    StoreGroupValues();
    FGroup.SaveVersionSettings(FGroup.LastGroupFile);
    const int index = cbProjectGroup->currentIndex();
    // Text typed into the field that names no entry: there is nothing to open.
    if (index < 0 || cbProjectGroup->itemText(index) != cbProjectGroup->currentText())
        return;
    OpenProjectGroup(cbProjectGroup->itemText(index));
}

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::Hide && Watched == cbProjectGroup->view()->window()) {
        // The drop-down hides before a chosen entry becomes the selection (and
        // activated() runs the close-up then); after a close without a choice
        // nothing else runs it.
        FCloseUpPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!FCloseUpPending)
                    return;
                FCloseUpPending = false;
                RunGuarded([this] { cbProjectGroupCloseUp(); });
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(Watched, Event);
}

void TMainForm::ShowProjectData()
{
    const int index = lbProjects->currentRow();
    if (index < 0 || index >= FGroup.Projects.Count() || !FGroup.Projects[index].Info)
        return;
    LastIndex = index;
    const TProjectData& d = FGroup.Projects[index].Info->ProjectData;
    ShowSpin(udMajor, 1, 100, d.FileVersionMajor);
    ShowSpin(udMinor, 0, 100, d.FileVersionMinor);
    ShowSpin(udRelease, 0, 100, d.FileVersionRelease);
    ShowSpin(udBuild, 0, 100, d.FileVersionBuild);
    edProject->setText(d.FileDescription);
    cbWin32->setChecked(d.Status.Contains(psWin32));
    cbWin64->setChecked(d.Status.Contains(psWin64));
}

void TMainForm::StoreProjectData()
{
    if (LastIndex < 0 || LastIndex >= FGroup.Projects.Count() || !FGroup.Projects[LastIndex].Info)
        return;
    TProjectData& d = FGroup.Projects[LastIndex].Info->ProjectData;
    d.FileVersionMajor = udMajor->value();
    d.FileVersionMinor = udMinor->value();
    d.FileVersionRelease = udRelease->value();
    d.FileVersionBuild = udBuild->value();
    d.FileDescription = edProject->text();
    d.Status.Set(psWin32, cbWin32->isChecked());
    d.Status.Set(psWin64, cbWin64->isChecked());
}

void TMainForm::lbProjectsClick()
{
    StoreProjectData();
    ShowProjectData();
}

void TMainForm::lbProjectsClickCheck(QListWidgetItem* Item)
{
    const int row = lbProjects->row(Item);
    if (row < 0 || row >= FGroup.Projects.Count())
        return;
    // A click on the check box of another entry selects that entry first.
    if (lbProjects->currentRow() != row)
        lbProjects->setCurrentRow(row);
    FGroup.Projects.SetChecked(row, Item->checkState() == Qt::Checked);
}

void TMainForm::sbCheckAllClick()
{
    FGroup.Projects.SetAllChecked(true);
    FFilling = true;
    for (int i = 0; i < lbProjects->count(); ++i)
        lbProjects->item(i)->setCheckState(Qt::Checked);
    FFilling = false;
}

void TMainForm::sbCheckNoneClick()
{
    FGroup.Projects.SetAllChecked(false);
    FFilling = true;
    for (int i = 0; i < lbProjects->count(); ++i)
        lbProjects->item(i)->setCheckState(Qt::Unchecked);
    FFilling = false;
}

void TMainForm::sbCopyMajorClick()
{
    ShowSpin(udMajor, 1, 100, udProdMajor->value());
}

void TMainForm::sbCopyMinorClick()
{
    ShowSpin(udMinor, 0, 100, udProdMinor->value());
}
