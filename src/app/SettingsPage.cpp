#include "app/SettingsPage.h"

#include "app/FormControls.h"
#include "dialogs/FileDialogs.h"
#include "support/Translation.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TSettingsPage::TSettingsPage(IFileDialogs& Dialogs, QWidget* Parent)
    : QWidget(Parent), FDialogs(Dialogs)
{
    setObjectName(QStringLiteral("tsSettings"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    v->addWidget(BoldLabel(this, "Label3", TrNoop("Global settings")));

    edTemplate = Named(new QLineEdit(this), "edTemplate");
    btEdit = ImageButton(this, "btEdit", QStyle::SP_FileDialogContentsView, nullptr);
    btTemplate = ImageButton(this, "btTemplate", QStyle::SP_DirOpenIcon, nullptr);
    connect(btEdit, &QToolButton::clicked, this, &TSettingsPage::EditTemplateClicked);
    connect(btTemplate, &QToolButton::clicked, this, &TSettingsPage::SelectTemplate);
    auto* templateButtons = new QWidget(this);
    auto* tb = new QHBoxLayout(templateButtons);
    tb->setContentsMargins(0, 0, 0, 0);
    tb->setSpacing(2);
    tb->addWidget(btEdit);
    tb->addWidget(btTemplate);
    v->addWidget(Labelled(this, TrNoop("Template for rc file"), edTemplate, templateButtons));

    auto* row = new QHBoxLayout;
    edResPath = Named(new QLineEdit(this), "edResPath");
    edSuffix32 = Named(new QLineEdit(this), "edSuffix32");
    edSuffix64 = Named(new QLineEdit(this), "edSuffix64");
    row->addWidget(Labelled(this, TrNoop("Subpath for resources"), edResPath), 2);
    row->addWidget(Labelled(this, TrNoop("Suffix for Win32"), edSuffix32), 1);
    row->addWidget(Labelled(this, TrNoop("Suffix for Win64"), edSuffix64), 1);
    v->addLayout(row);

    edResCompiler = Named(new QLineEdit(this), "edResCompiler");
    btResCompiler = ImageButton(this, "btResCompiler", QStyle::SP_DirOpenIcon, nullptr);
    connect(btResCompiler, &QToolButton::clicked, this, &TSettingsPage::SelectResCompiler);
    v->addWidget(Labelled(this, TrNoop("Resource compiler"), edResCompiler, btResCompiler));
    auto* optionsRow = new QHBoxLayout;
    edResCompilerOptions = Named(new QLineEdit(this), "edResCompilerOptions");
    cbEscapeValues =
        Named(new QCheckBox(QStringLiteral(TrNoop("Escape text values")), this), "cbEscapeValues");
    optionsRow->addWidget(Labelled(this, TrNoop("Compiler options"), edResCompilerOptions), 2);
    optionsRow->addWidget(cbEscapeValues, 1, Qt::AlignBottom);
    v->addLayout(optionsRow);

    v->addSpacing(8);
    v->addWidget(BoldLabel(this, "Label6", TrNoop("User default settings")));
    auto* defaults = new QHBoxLayout;
    edDefAuthor = Named(new QLineEdit(this), "edDefAuthor");
    edDefCompany = Named(new QLineEdit(this), "edDefCompany");
    edDefCopyright = Named(new QLineEdit(this), "edDefCopyright");
    defaults->addWidget(Labelled(this, TrNoop("Author"), edDefAuthor));
    defaults->addWidget(Labelled(this, TrNoop("Company"), edDefCompany));
    v->addLayout(defaults);
    v->addWidget(Labelled(this, TrNoop("Copyright"), edDefCopyright));
    v->addStretch(1);

    auto* bottom = new QHBoxLayout;
    btBack = Named(new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral(TrNoop("Back")), this),
                   "btBack");
    connect(btBack, &QPushButton::clicked, this, &TSettingsPage::BackClicked);
    bottom->addStretch(1);
    bottom->addWidget(btBack);
    v->addLayout(bottom);

    // Each field keeps its value in the configuration as it is edited.
    const struct {
        QLineEdit* Edit;
        QString TConfiguration::*Value;
    } fields[] = {{edTemplate, &TConfiguration::TemplateName},
                  {edResCompiler, &TConfiguration::ResourceCompiler},
                  {edResCompilerOptions, &TConfiguration::ResourceCompilerOptions},
                  {edResPath, &TConfiguration::ResourcePath},
                  {edSuffix32, &TConfiguration::Win32Suffix},
                  {edSuffix64, &TConfiguration::Win64Suffix},
                  {edDefAuthor, &TConfiguration::DefaultAuthor},
                  {edDefCompany, &TConfiguration::DefaultCompany},
                  {edDefCopyright, &TConfiguration::DefaultCopyright}};
    for (const auto& field : fields)
        connect(field.Edit, &QLineEdit::textChanged, this,
                [this, value = field.Value](const QString& text) { FSettings.*value = text; });
    connect(cbEscapeValues, &QCheckBox::toggled, this,
            [this](bool checked) { FSettings.EscapeValues = checked; });
}

void TSettingsPage::ShowSettings(const TConfiguration& Config)
{
    // A field whose text stays as it is reports no edit: the values are taken
    // here, the group's part of the configuration left out.
    FSettings = Config;
    FSettings.LastPath.clear();
    FSettings.LastProjGroup.clear();
    FSettings.ProjGroups.clear();
    edTemplate->setText(Config.TemplateName);
    edResCompiler->setText(Config.ResourceCompiler);
    edResCompilerOptions->setText(Config.ResourceCompilerOptions);
    cbEscapeValues->setChecked(Config.EscapeValues);
    edResPath->setText(Config.ResourcePath);
    edSuffix32->setText(Config.Win32Suffix);
    edSuffix64->setText(Config.Win64Suffix);
    edDefAuthor->setText(Config.DefaultAuthor);
    edDefCompany->setText(Config.DefaultCompany);
    edDefCopyright->setText(Config.DefaultCopyright);
}

void TSettingsPage::SetDefaultFolders(const QString& TemplateFolder, const QString& CompilerFolder)
{
    FTemplateFolder = TemplateFolder;
    FCompilerFolder = CompilerFolder;
}

TUserDefaults TSettingsPage::UserDefaults() const
{
    return TUserDefaults{FSettings.DefaultAuthor, FSettings.DefaultCompany,
                         FSettings.DefaultCopyright};
}

bool TSettingsPage::SelectTemplate()
{
    TOpenDialogRequest request;
    request.InitialDir = ChooserFolder(TemplateName(), FTemplateFolder);
    request.Title = Tr("Select resource template");
    request.Filter = Tr("Templates|*.trc|all|*.*");
    QString chosen;
    if (!FDialogs.ExecuteOpen(request, chosen))
        return false;
    edTemplate->setText(chosen);
    Q_EMIT TemplateChanged();
    return true;
}

bool TSettingsPage::SelectResCompiler()
{
    TOpenDialogRequest request;
    request.InitialDir = ChooserFolder(ResourceCompiler(), FCompilerFolder);
    request.FileName = QStringLiteral("brcc32.exe");
    request.Title = Tr("Select resource compiler");
#ifdef Q_OS_WIN
    request.Filter = Tr("Programs|*.exe");
#else
    // Programs have no ".exe" here: any file of a programs folder is one.
    request.Filter = Tr("Programs|*");
#endif
    QString chosen;
    if (!FDialogs.ExecuteOpen(request, chosen))
        return false;
    edResCompiler->setText(chosen);
    return true;
}

void TSettingsPage::PressEscape()
{
    btBack->click();
}
