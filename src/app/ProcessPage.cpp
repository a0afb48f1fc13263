#include "app/ProcessPage.h"

#include "app/FormControls.h"
#include "dialogs/EditHistListDlg.h"
#include "support/Translation.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

TProcessPage::TProcessPage(QWidget* Parent) : QWidget(Parent)
{
    setObjectName(QStringLiteral("tsProcess"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);

    lbProjectName =
        Named(new QLabel(QStringLiteral(TrNoop("Project group")), this), "lbProjectName");
    v->addWidget(lbProjectName);
    auto* top = new QHBoxLayout;
    cbProjectGroup = Named(new QComboBox(this), "cbProjectGroup");
    cbProjectGroup->setEditable(true);
    cbProjectGroup->setMaxVisibleItems(15);
    cbProjectGroup->setInsertPolicy(QComboBox::NoInsert);
    cbProjectGroup->setToolTip(QStringLiteral(TrNoop("Delphi projects")));
    cbProjectGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    lbProjectName->setBuddy(cbProjectGroup);
    pmProjects = Named(new QMenu(cbProjectGroup), "pmProjects");
    pmiEditList = pmProjects->addAction(QStringLiteral(TrNoop("Edit list ...")));
    pmiEditList->setObjectName(QStringLiteral("pmiEditList"));
    pmProjects->addSeparator();
    pmiCancel = pmProjects->addAction(QStringLiteral(TrNoop("Cancel")));
    pmiCancel->setObjectName(QStringLiteral("pmiCancel"));
    cbProjectGroup->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cbProjectGroup, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { pmProjects->popup(cbProjectGroup->mapToGlobal(pos)); });
    if (QLineEdit* edit = cbProjectGroup->lineEdit()) {
        // The combo box itself opens a typed path that equals an entry (as
        // a choice, activated()); any other path is the window's to open.
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            const QString typed = cbProjectGroup->currentText().trimmed();
            if (!typed.isEmpty() && ChosenGroup().isEmpty())
                Q_EMIT GroupPathEntered(typed);
        });
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint& pos) { pmProjects->popup(edit->mapToGlobal(pos)); });
    }
    connect(pmiEditList, &QAction::triggered, this, &TProcessPage::EditHistoryClicked);
    // Choosing an entry in the drop-down closes it: that is the close-up.
    // Closing it without a choice is watched in eventFilter.
    connect(cbProjectGroup, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
        FCloseUpPending = false;
        Q_EMIT HistoryCloseUp();
    });
    cbProjectGroup->view()->window()->installEventFilter(this);
    // Esc in the open drop-down belongs to the drop-down: it closes it and
    // must not reach the window's Esc, which would run the generation.
    cbProjectGroup->view()->installEventFilter(this);
    // The closed field does not step through the history: an arrow key or a
    // wheel notch would open another group at once.
    cbProjectGroup->installEventFilter(this);
    btProjectGroup = ImageButton(this, "btProjectGroup", QStyle::SP_DirOpenIcon, nullptr);
    btProjectGroup->setToolTip(QString());
    connect(btProjectGroup, &QToolButton::clicked, this, &TProcessPage::BrowseGroupClicked);
    top->addWidget(cbProjectGroup, 1);
    top->addWidget(btProjectGroup);
    v->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* projectsRow = new QHBoxLayout;
    Label1 = Named(new QLabel(QStringLiteral(TrNoop("Projects:")), this), "Label1");
    sbCheckAll = ImageButton(this, "sbCheckAll", QStyle::SP_DialogApplyButton,
                             TrNoop("Check all projects"), true);
    sbCheckNone = ImageButton(this, "sbCheckNone", QStyle::SP_DialogCancelButton,
                              TrNoop("Uncheck all projects"), true);
    connect(sbCheckAll, &QToolButton::clicked, this, [this] { SetAllChecked(true); });
    connect(sbCheckNone, &QToolButton::clicked, this, [this] { SetAllChecked(false); });
    projectsRow->addWidget(Label1);
    projectsRow->addStretch(1);
    projectsRow->addWidget(sbCheckAll);
    projectsRow->addWidget(sbCheckNone);
    left->addLayout(projectsRow);
    lbProjects = Named(new QListWidget(this), "lbProjects");
    lbProjects->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1->setBuddy(lbProjects);
    connect(lbProjects, &QListWidget::currentRowChanged, this, &TProcessPage::ProjectSelected);
    connect(lbProjects, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { lbProjectsClickCheck(item); });
    left->addWidget(lbProjects, 1);
    middle->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    gbGroup = Named(new QGroupBox(QStringLiteral(TrNoop("Version info of project group")), this),
                    "gbGroup");
    auto* gg = new QGridLayout(gbGroup);
    udProdMajor = Spinner(gbGroup, "udProdMajor", "edProdMajor", MajorSpinRange);
    udProdMinor = Spinner(gbGroup, "udProdMinor", "edProdMinor", PartSpinRange);
    edAuthor = Named(new QLineEdit(gbGroup), "edAuthor");
    edCompany = Named(new QLineEdit(gbGroup), "edCompany");
    edCopyright = Named(new QLineEdit(gbGroup), "edCopyright");
    edProduct = Named(new QLineEdit(gbGroup), "edProduct");
    gg->addWidget(Labelled(gbGroup, TrNoop("Major version"), udProdMajor), 0, 0);
    gg->addWidget(Labelled(gbGroup, TrNoop("Minor version"), udProdMinor), 0, 1);
    gg->addWidget(Labelled(gbGroup, TrNoop("Author"), edAuthor), 0, 2, 1, 2);
    gg->addWidget(Labelled(gbGroup, TrNoop("Company"), edCompany), 1, 0, 1, 4);
    gg->addWidget(Labelled(gbGroup, TrNoop("Copyright"), edCopyright), 2, 0, 1, 4);
    gg->addWidget(Labelled(gbGroup, TrNoop("Product name"), edProduct), 3, 0, 1, 4);
    right->addWidget(gbGroup);

    gbProject =
        Named(new QGroupBox(QStringLiteral(TrNoop("Version info of selected project")), this),
              "gbProject");
    auto* pg = new QGridLayout(gbProject);
    udMajor = Spinner(gbProject, "udMajor", "edMajor", MajorSpinRange);
    udMinor = Spinner(gbProject, "udMinor", "edMinor", PartSpinRange);
    udRelease = Spinner(gbProject, "udRelease", "edRelease", PartSpinRange);
    udBuild = Spinner(gbProject, "udBuild", "edBuild", PartSpinRange);
    sbCopyMajor = ImageButton(gbProject, "sbCopyMajor", QStyle::SP_ArrowDown,
                              TrNoop("Copy from project group"));
    sbCopyMinor = ImageButton(gbProject, "sbCopyMinor", QStyle::SP_ArrowDown,
                              TrNoop("Copy from project group"));
    sbCopyMajor->setIconSize(QSize(12, 12));
    sbCopyMinor->setIconSize(QSize(12, 12));
    connect(sbCopyMajor, &QToolButton::clicked, this, [this] { sbCopyMajorClick(); });
    connect(sbCopyMinor, &QToolButton::clicked, this, [this] { sbCopyMinorClick(); });
    edProject = Named(new QLineEdit(gbProject), "edProject");
    cbWin32 = Named(new QCheckBox(QStringLiteral(TrNoop("Windows 32 bit")), gbProject), "cbWin32");
    cbWin64 = Named(new QCheckBox(QStringLiteral(TrNoop("Windows 64 bit")), gbProject), "cbWin64");
    pg->addWidget(Labelled(gbProject, TrNoop("Major version"), udMajor, sbCopyMajor), 0, 0);
    pg->addWidget(Labelled(gbProject, TrNoop("Minor version"), udMinor, sbCopyMinor), 0, 1);
    pg->addWidget(Labelled(gbProject, TrNoop("Release"), udRelease), 0, 2);
    pg->addWidget(Labelled(gbProject, TrNoop("Build"), udBuild), 0, 3);
    pg->addWidget(Labelled(gbProject, TrNoop("Project name"), edProject), 1, 0, 1, 4);
    auto* platforms = new QHBoxLayout;
    auto* laPlatforms =
        Named(new QLabel(QStringLiteral(TrNoop("Platforms:")), gbProject), "laPlatforms");
    platforms->addWidget(laPlatforms);
    platforms->addWidget(cbWin32);
    platforms->addWidget(cbWin64);
    platforms->addStretch(1);
    pg->addLayout(platforms, 2, 0, 1, 4);
    right->addWidget(gbProject);
    right->addStretch(1);
    middle->addLayout(right, 1);
    v->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    btSettings =
        ImageButton(this, "btSettings", QStyle::SP_FileDialogDetailedView, TrNoop("Settings"));
    btInfo = ImageButton(this, "btInfo", QStyle::SP_MessageBoxInformation, nullptr);
    btProcess = Named(new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay),
                                      QStringLiteral(TrNoop("Create resource files")), this),
                      "btProcess");
    btProcess->setMinimumWidth(220);
    btQuit = ImageButton(this, "btQuit", QStyle::SP_DialogCloseButton, TrNoop("Close program"));
    connect(btSettings, &QToolButton::clicked, this, &TProcessPage::SettingsClicked);
    connect(btInfo, &QToolButton::clicked, this, &TProcessPage::InfoClicked);
    connect(btProcess, &QPushButton::clicked, this, &TProcessPage::ProcessClicked);
    connect(btQuit, &QToolButton::clicked, this, &TProcessPage::QuitClicked);
    bottom->addWidget(btSettings);
    bottom->addWidget(btInfo);
    bottom->addStretch(1);
    bottom->addWidget(btProcess);
    bottom->addStretch(1);
    bottom->addWidget(btQuit);
    v->addLayout(bottom);
}

void TProcessPage::ShowHistory(const QStringList& History, int Selected)
{
    cbProjectGroup->clear();
    cbProjectGroup->addItems(History);
    cbProjectGroup->setCurrentIndex(Selected);
}

QString TProcessPage::GroupText() const
{
    return cbProjectGroup->currentText();
}

QString TProcessPage::ChosenGroup() const
{
    const int index = cbProjectGroup->currentIndex();
    if (index < 0 || cbProjectGroup->itemText(index) != cbProjectGroup->currentText())
        return QString();
    return cbProjectGroup->itemText(index);
}

bool TProcessPage::EditHistory(QStringList& History)
{
    const QPoint corner = cbProjectGroup->parentWidget()->mapToGlobal(
        QPoint(cbProjectGroup->x(), cbProjectGroup->y() + cbProjectGroup->height()));
    if (!EditHistoryList(corner, QString(), cbProjectGroup->toolTip(), History))
        return false;
    // The field keeps showing its text while its list is refilled.
    const QString shown = cbProjectGroup->currentText();
    ShowHistory(History, int(History.indexOf(shown)));
    cbProjectGroup->setEditText(shown);
    return true;
}

bool TProcessPage::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == cbProjectGroup && !cbProjectGroup->view()->isVisible()) {
        if (Event->type() == QEvent::Wheel)
            return true;
        if (Event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(Event);
            // Alt+Down and F4 still open the drop-down.
            const bool step = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                              key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
            if (step && !(key->modifiers() & Qt::AltModifier))
                return true;
        }
    }
    if (Event->type() == QEvent::ShortcutOverride && Watched == cbProjectGroup->view() &&
        static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
        Event->accept();
        return false;
    }
    if (Event->type() == QEvent::Hide && Watched == cbProjectGroup->view()->window()) {
        // The drop-down hides before a chosen entry becomes the selection (and
        // activated() reports the close-up then); after a close without a
        // choice nothing else reports it.
        FCloseUpPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!FCloseUpPending)
                    return;
                FCloseUpPending = false;
                Q_EMIT HistoryCloseUp();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(Watched, Event);
}

TGroupValues TProcessPage::GroupValues() const
{
    TGroupValues values;
    values.ProdMajor = udProdMajor->value();
    values.ProdMinor = udProdMinor->value();
    values.Author = edAuthor->text();
    values.Company = edCompany->text();
    values.Copyright = edCopyright->text();
    values.Product = edProduct->text();
    return values;
}

void TProcessPage::ShowGroupValues(const TGroupValues& Values)
{
    ShowSpin(udProdMajor, MajorSpinRange, Values.ProdMajor);
    ShowSpin(udProdMinor, PartSpinRange, Values.ProdMinor);
    // A field that keeps its text keeps its caret too: the window shows
    // values again after every save and every change on disk.
    for (const auto& [edit, text] : {std::pair{edAuthor, &Values.Author},
                                     {edCompany, &Values.Company},
                                     {edCopyright, &Values.Copyright},
                                     {edProduct, &Values.Product}})
        if (edit->text() != *text)
            edit->setText(*text);
}

void TProcessPage::ShowProjectData(const TProjectData& Data)
{
    ShowSpin(udMajor, MajorSpinRange, Data.FileVersionMajor);
    ShowSpin(udMinor, PartSpinRange, Data.FileVersionMinor);
    ShowSpin(udRelease, PartSpinRange, Data.FileVersionRelease);
    ShowSpin(udBuild, PartSpinRange, Data.FileVersionBuild);
    if (edProject->text() != Data.FileDescription)
        edProject->setText(Data.FileDescription);
    cbWin32->setChecked(Data.Status.Contains(psWin32));
    cbWin64->setChecked(Data.Status.Contains(psWin64));
}

void TProcessPage::StoreProjectData(TProjectData& Data) const
{
    Data.FileVersionMajor = udMajor->value();
    Data.FileVersionMinor = udMinor->value();
    Data.FileVersionRelease = udRelease->value();
    Data.FileVersionBuild = udBuild->value();
    Data.FileDescription = edProject->text();
    Data.Status.Set(psWin32, cbWin32->isChecked());
    Data.Status.Set(psWin64, cbWin64->isChecked());
}

void TProcessPage::ShowProjects(const TProjectList& Projects, const QList<bool>& Missing)
{
    const QSignalBlocker blocker(lbProjects);
    lbProjects->clear();
    for (int i = 0; i < Projects.Count(); ++i) {
        const TProjectEntry& entry = Projects[i];
        const bool missing = i < Missing.size() && Missing[i];
        auto* item = new QListWidgetItem(missing ? Tr("%1 (missing)").arg(entry.Text) : entry.Text,
                                         lbProjects);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
        if (missing) {
            item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
            item->setToolTip(Tr("The project file is missing: its values come from the "
                                "settings file or the defaults"));
        }
    }
}

int TProcessPage::SelectedProject() const
{
    return lbProjects->currentRow();
}

void TProcessPage::SelectProject(int Row)
{
    const QSignalBlocker blocker(lbProjects);
    lbProjects->setCurrentRow(Row);
}

void TProcessPage::lbProjectsClickCheck(QListWidgetItem* Item)
{
    const int row = lbProjects->row(Item);
    if (row < 0)
        return;
    // A click on the check box of another entry selects that entry first.
    if (lbProjects->currentRow() != row)
        lbProjects->setCurrentRow(row);
    Q_EMIT ProjectChecked(row, Item->checkState() == Qt::Checked);
}

void TProcessPage::SetAllChecked(bool Checked)
{
    {
        const QSignalBlocker blocker(lbProjects);
        for (int i = 0; i < lbProjects->count(); ++i)
            lbProjects->item(i)->setCheckState(Checked ? Qt::Checked : Qt::Unchecked);
    }
    Q_EMIT AllChecked(Checked);
}

void TProcessPage::sbCopyMajorClick()
{
    ShowSpin(udMajor, MajorSpinRange, udProdMajor->value());
}

void TProcessPage::sbCopyMinorClick()
{
    ShowSpin(udMinor, PartSpinRange, udProdMinor->value());
}

void TProcessPage::SetRunning(bool Running)
{
    cbProjectGroup->setEnabled(!Running);
    btProjectGroup->setEnabled(!Running);
    btSettings->setEnabled(!Running);
    btProcess->setIcon(
        style()->standardIcon(Running ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    btProcess->setText(Running ? Tr("Cancel") : Tr("Create resource files"));
}

void TProcessPage::ShowProgress(int Done, int Count)
{
    btProcess->setText(Tr("Cancel (%1 of %2)").arg(Done).arg(Count));
}

void TProcessPage::PressEscape()
{
    if (btProcess->isEnabled())
        btProcess->click();
}
