// Building the window's controls: the pages, their fields and buttons, and
// the log pane, named and captioned as on the form.
#include "app/QuorvelMain.h"

#include "support/Translation.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int PageAreaHeight = 451;
constexpr int DesignClientWidth = 621;
constexpr int DesignClientHeight = 560;

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton* ImageButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                         const char* tooltip, bool flat = false)
{
    auto* b = Named(new QToolButton(parent), name);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(flat);
    if (tooltip)
        b->setToolTip(QLatin1String(tooltip));
    return b;
}

QSpinBox* Spinner(QWidget* parent, const char* name, const char* editName, int min, int max,
                  int value)
{
    auto* s = Named(new QSpinBox(parent), name);
    // The spinner's own edit field carries the form's edit name.
    if (auto* edit = s->findChild<QLineEdit*>())
        edit->setObjectName(QLatin1String(editName));
    s->setRange(min, max);
    s->setValue(value);
    s->setWrapping(false);
    s->setMinimumWidth(56);
    return s;
}

// A caption above its field, as labelled edits show it.
QWidget* Labelled(QWidget* parent, const char* caption, QWidget* field, QWidget* extra = nullptr)
{
    auto* box = new QWidget(parent);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* label = new QLabel(QLatin1String(caption), box);
    label->setObjectName(QStringLiteral("la") + field->objectName());
    label->setBuddy(field);
    v->addWidget(label);
    if (extra) {
        auto* h = new QHBoxLayout;
        h->setSpacing(2);
        h->addWidget(field, 1);
        h->addWidget(extra);
        v->addLayout(h);
    } else
        v->addWidget(field);
    return box;
}

QLabel* BoldLabel(QWidget* parent, const char* name, const char* caption)
{
    auto* l = Named(new QLabel(QLatin1String(caption), parent), name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QFont FixedFont(int pixelSize)
{
    QFont f(QStringLiteral("Courier New"));
    if (!QFontInfo(f).fixedPitch())
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The editor control sizes its styles in points: the design's pixel
    // heights at 96 dots per inch.
    f.setPointSizeF(pixelSize * 72.0 / 96.0);
    return f;
}

} // namespace

void TMainForm::CreateControls()
{
    setObjectName(QStringLiteral("MainForm"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    pcMain = Named(new QStackedWidget(this), "pcMain");
    pcMain->setFixedHeight(PageAreaHeight);
    tsProcess = CreateProcessPage();
    tsSettings = CreateSettingsPage();
    tsEdit = CreateEditorPage();
    pcMain->addWidget(tsProcess);
    pcMain->addWidget(tsSettings);
    pcMain->addWidget(tsEdit);
    root->addWidget(pcMain, 0, Qt::AlignTop);

    mmDos = Named(new QPlainTextEdit(this), "mmDos");
    mmDos->setReadOnly(true);
    mmDos->setFont(FixedFont(11));
    mmDos->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmDos->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmDos->setMinimumHeight(0);
    root->addWidget(mmDos, 1);
    resize(DesignClientWidth, DesignClientHeight);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { EscapePressed(); });
}

QWidget* TMainForm::CreateProcessPage()
{
    auto* page = Named(new QWidget(this), "tsProcess");
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 6, 8, 6);

    lbProjectName = Named(new QLabel(QStringLiteral(TrNoop("Project group")), page), "lbProjectName");
    v->addWidget(lbProjectName);
    auto* top = new QHBoxLayout;
    cbProjectGroup = Named(new QComboBox(page), "cbProjectGroup");
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
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint& pos) { pmProjects->popup(edit->mapToGlobal(pos)); });
    }
    connect(pmiEditList, &QAction::triggered, this, [this] { RunGuarded([this] { pmiEditListClick(); }); });
    // Choosing an entry in the drop-down closes it: that opens the chosen
    // group. Closing it without a choice is watched in eventFilter.
    connect(cbProjectGroup, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
        FCloseUpPending = false;
        RunGuarded([this] { cbProjectGroupCloseUp(); });
    });
    cbProjectGroup->view()->window()->installEventFilter(this);
    btProjectGroup = ImageButton(page, "btProjectGroup", QStyle::SP_DirOpenIcon, nullptr);
    btProjectGroup->setToolTip(QString());
    connect(btProjectGroup, &QToolButton::clicked, this, [this] { RunGuarded([this] { btProjectGroupClick(); }); });
    top->addWidget(cbProjectGroup, 1);
    top->addWidget(btProjectGroup);
    v->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* projectsRow = new QHBoxLayout;
    Label1 = Named(new QLabel(QStringLiteral(TrNoop("Projects:")), page), "Label1");
    sbCheckAll = ImageButton(page, "sbCheckAll", QStyle::SP_DialogApplyButton, TrNoop("Check all projects"), true);
    sbCheckNone = ImageButton(page, "sbCheckNone", QStyle::SP_DialogCancelButton, TrNoop("Uncheck all projects"), true);
    connect(sbCheckAll, &QToolButton::clicked, this, [this] { sbCheckAllClick(); });
    connect(sbCheckNone, &QToolButton::clicked, this, [this] { sbCheckNoneClick(); });
    projectsRow->addWidget(Label1);
    projectsRow->addStretch(1);
    projectsRow->addWidget(sbCheckAll);
    projectsRow->addWidget(sbCheckNone);
    left->addLayout(projectsRow);
    lbProjects = Named(new QListWidget(page), "lbProjects");
    lbProjects->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1->setBuddy(lbProjects);
    connect(lbProjects, &QListWidget::currentRowChanged, this, [this](int) {
        if (!FFilling)
            RunGuarded([this] { lbProjectsClick(); });
    });
    connect(lbProjects, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!FFilling)
            lbProjectsClickCheck(item);
    });
    left->addWidget(lbProjects, 1);
    middle->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    gbGroup = Named(new QGroupBox(QStringLiteral(TrNoop("Version info of project group")), page), "gbGroup");
    auto* gg = new QGridLayout(gbGroup);
    udProdMajor = Spinner(gbGroup, "udProdMajor", "edProdMajor", 1, 100, 1);
    udProdMinor = Spinner(gbGroup, "udProdMinor", "edProdMinor", 0, 100, 0);
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

    gbProject = Named(new QGroupBox(QStringLiteral(TrNoop("Version info of selected project")), page), "gbProject");
    auto* pg = new QGridLayout(gbProject);
    udMajor = Spinner(gbProject, "udMajor", "edMajor", 1, 100, 1);
    udMinor = Spinner(gbProject, "udMinor", "edMinor", 0, 100, 0);
    udRelease = Spinner(gbProject, "udRelease", "edRelease", 0, 100, 0);
    udBuild = Spinner(gbProject, "udBuild", "edBuild", 0, 100, 0);
    sbCopyMajor = ImageButton(gbProject, "sbCopyMajor", QStyle::SP_ArrowDown, TrNoop("Copy from project group"));
    sbCopyMinor = ImageButton(gbProject, "sbCopyMinor", QStyle::SP_ArrowDown, TrNoop("Copy from project group"));
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
    auto* laPlatforms = Named(new QLabel(QStringLiteral(TrNoop("Platforms:")), gbProject), "laPlatforms");
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
    btSettings = ImageButton(page, "btSettings", QStyle::SP_FileDialogDetailedView, TrNoop("Settings"));
    btInfo = ImageButton(page, "btInfo", QStyle::SP_MessageBoxInformation, nullptr);
    btProcess = Named(new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay),
                                      QStringLiteral(TrNoop("Create resource files")), page), "btProcess");
    btProcess->setMinimumWidth(220);
    btQuit = ImageButton(page, "btQuit", QStyle::SP_DialogCloseButton, TrNoop("Close program"));
    connect(btSettings, &QToolButton::clicked, this, [this] { btSettingsClick(); });
    connect(btInfo, &QToolButton::clicked, this, [this] { btInfoClick(); });
    connect(btProcess, &QPushButton::clicked, this, [this] { RunGuarded([this] { btProcessClick(); }); });
    connect(btQuit, &QToolButton::clicked, this, [this] { btQuitClick(); });
    bottom->addWidget(btSettings);
    bottom->addWidget(btInfo);
    bottom->addStretch(1);
    bottom->addWidget(btProcess);
    bottom->addStretch(1);
    bottom->addWidget(btQuit);
    v->addLayout(bottom);
    return page;
}

QWidget* TMainForm::CreateSettingsPage()
{
    auto* page = Named(new QWidget(this), "tsSettings");
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 6, 8, 6);
    v->addWidget(BoldLabel(page, "Label3", TrNoop("Global settings")));

    edTemplate = Named(new QLineEdit(page), "edTemplate");
    btEdit = ImageButton(page, "btEdit", QStyle::SP_FileDialogContentsView, nullptr);
    btTemplate = ImageButton(page, "btTemplate", QStyle::SP_DirOpenIcon, nullptr);
    connect(btEdit, &QToolButton::clicked, this, [this] { RunGuarded([this] { btEditClick(); }); });
    connect(btTemplate, &QToolButton::clicked, this, [this] { SelectTemplate(); });
    auto* templateButtons = new QWidget(page);
    auto* tb = new QHBoxLayout(templateButtons);
    tb->setContentsMargins(0, 0, 0, 0);
    tb->setSpacing(2);
    tb->addWidget(btEdit);
    tb->addWidget(btTemplate);
    v->addWidget(Labelled(page, TrNoop("Template for rc file"), edTemplate, templateButtons));

    auto* row = new QHBoxLayout;
    edResPath = Named(new QLineEdit(page), "edResPath");
    edSuffix32 = Named(new QLineEdit(page), "edSuffix32");
    edSuffix64 = Named(new QLineEdit(page), "edSuffix64");
    row->addWidget(Labelled(page, TrNoop("Subpath for resources"), edResPath), 2);
    row->addWidget(Labelled(page, TrNoop("Suffix for Win32"), edSuffix32), 1);
    row->addWidget(Labelled(page, TrNoop("Suffix for Win64"), edSuffix64), 1);
    v->addLayout(row);

    edResCompiler = Named(new QLineEdit(page), "edResCompiler");
    btResCompiler = ImageButton(page, "btResCompiler", QStyle::SP_DirOpenIcon, nullptr);
    connect(btResCompiler, &QToolButton::clicked, this, [this] { SelectResCompiler(); });
    v->addWidget(Labelled(page, TrNoop("Resource compiler"), edResCompiler, btResCompiler));
    auto* optionsRow = new QHBoxLayout;
    edResCompilerOptions = Named(new QLineEdit(page), "edResCompilerOptions");
    cbEscapeValues = Named(new QCheckBox(QStringLiteral(TrNoop("Escape text values")), page), "cbEscapeValues");
    optionsRow->addWidget(Labelled(page, TrNoop("Compiler options"), edResCompilerOptions), 2);
    optionsRow->addWidget(cbEscapeValues, 1, Qt::AlignBottom);
    v->addLayout(optionsRow);

    v->addSpacing(8);
    v->addWidget(BoldLabel(page, "Label6", TrNoop("User default settings")));
    auto* defaults = new QHBoxLayout;
    edDefAuthor = Named(new QLineEdit(page), "edDefAuthor");
    edDefCompany = Named(new QLineEdit(page), "edDefCompany");
    edDefCopyright = Named(new QLineEdit(page), "edDefCopyright");
    defaults->addWidget(Labelled(page, TrNoop("Author"), edDefAuthor));
    defaults->addWidget(Labelled(page, TrNoop("Company"), edDefCompany));
    v->addLayout(defaults);
    v->addWidget(Labelled(page, TrNoop("Copyright"), edDefCopyright));
    v->addStretch(1);

    auto* bottom = new QHBoxLayout;
    btBack = Named(new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral(TrNoop("Back")), page), "btBack");
    connect(btBack, &QPushButton::clicked, this, [this] { btBackClick(); });
    bottom->addStretch(1);
    bottom->addWidget(btBack);
    v->addLayout(bottom);
    return page;
}

QWidget* TMainForm::CreateEditorPage()
{
    auto* page = Named(new QWidget(this), "tsEdit");
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 6, 8, 6);
    v->addWidget(BoldLabel(page, "Label4", TrNoop("Template file")));
    laTemplateFile = Named(new QLabel(page), "laTemplateFile");
    v->addWidget(laTemplateFile);

    seTemplate = Named(new QsciScintilla(page), "seTemplate");
    seTemplate->setUtf8(true);
    seTemplate->setFont(FixedFont(13));
    seTemplate->setMarginType(0, QsciScintilla::NumberMargin);
    seTemplate->setMarginsFont(FixedFont(11));
    seTemplate->setMarginWidth(0, QStringLiteral("000"));
    seTemplate->setMarginLineNumbers(0, true);
    seTemplate->setTabWidth(2);
    seTemplate->setText(QString());
    // Esc is the page's Cancel, also in the text: the editor gives the key up.
    if (QsciCommand* cancel = seTemplate->standardCommands()->boundTo(Qt::Key_Escape))
        cancel->setKey(0);
    // The editor reports caret moves, selection changes, scrolling and edits
    // as one status change.
    connect(seTemplate, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { seTemplateStatusChange(); });
    connect(seTemplate, &QsciScintilla::cursorPositionChanged, this, [this](int, int) { seTemplateStatusChange(); });
    connect(seTemplate, &QsciScintilla::selectionChanged, this, [this] { seTemplateStatusChange(); });
    v->addWidget(seTemplate, 1);

    auto* bottom = new QHBoxLayout;
    auto* label5 = Named(new QLabel(QStringLiteral(TrNoop("Placeholders:")), page), "Label5");
    cbPlaceholders = Named(new QComboBox(page), "cbPlaceholders");
    cbPlaceholders->setEditable(true);
    cbPlaceholders->setInsertPolicy(QComboBox::NoInsert);
    cbPlaceholders->setMinimumWidth(180);
    label5->setBuddy(cbPlaceholders);
    btnInsert = Named(new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), QStringLiteral(TrNoop("Insert")), page), "btnInsert");
    btOk = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral(TrNoop("OK")), page), "btOk");
    btCancel = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral(TrNoop("Cancel")), page), "btCancel");
    btOk->setDefault(true);
    connect(btnInsert, &QPushButton::clicked, this, [this] { btnInsertClick(); });
    connect(btOk, &QPushButton::clicked, this, [this] { RunGuarded([this] { btOkClick(); }); });
    connect(btCancel, &QPushButton::clicked, this, [this] { btCancelClick(); });
    // OK is the page's default button: Enter outside the text presses it (the
    // text takes Enter as a line break before any shortcut sees it).
    auto* enter = new QShortcut(page);
    enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    enter->setContext(Qt::WidgetWithChildrenShortcut);
    connect(enter, &QShortcut::activated, btOk, &QPushButton::click);
    bottom->addWidget(label5);
    bottom->addWidget(cbPlaceholders);
    bottom->addWidget(btnInsert);
    bottom->addStretch(1);
    bottom->addWidget(btOk);
    bottom->addWidget(btCancel);
    v->addLayout(bottom);
    return page;
}
