#include "app/SettingsPage.h"

#include "app/FormControls.h"
#include "support/Translation.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TSettingsPage::TSettingsPage(QWidget* Parent) : QWidget(Parent)
{
    setObjectName(QStringLiteral("tsSettings"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    v->addWidget(BoldLabel(this, "Label3", TrNoop("Global settings")));

    edTemplate = Named(new QLineEdit(this), "edTemplate");
    btEdit = ImageButton(this, "btEdit", QStyle::SP_FileDialogContentsView, nullptr);
    btTemplate = ImageButton(this, "btTemplate", QStyle::SP_DirOpenIcon, nullptr);
    connect(btEdit, &QToolButton::clicked, this, &TSettingsPage::EditTemplateClicked);
    connect(btTemplate, &QToolButton::clicked, this, &TSettingsPage::ChooseTemplateClicked);
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
    connect(btResCompiler, &QToolButton::clicked, this, &TSettingsPage::ChooseCompilerClicked);
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
}

TConfiguration TSettingsPage::Settings() const
{
    TConfiguration c;
    c.TemplateName = edTemplate->text();
    c.ResourceCompiler = edResCompiler->text();
    c.ResourceCompilerOptions = edResCompilerOptions->text();
    c.EscapeValues = cbEscapeValues->isChecked();
    c.ResourcePath = edResPath->text();
    c.Win32Suffix = edSuffix32->text();
    c.Win64Suffix = edSuffix64->text();
    c.DefaultAuthor = edDefAuthor->text();
    c.DefaultCompany = edDefCompany->text();
    c.DefaultCopyright = edDefCopyright->text();
    return c;
}

void TSettingsPage::ShowSettings(const TConfiguration& Config)
{
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

QString TSettingsPage::TemplateName() const
{
    return edTemplate->text();
}

void TSettingsPage::SetTemplateName(const QString& FileName)
{
    edTemplate->setText(FileName);
}

QString TSettingsPage::ResourceCompiler() const
{
    return edResCompiler->text();
}

void TSettingsPage::SetResourceCompiler(const QString& FileName)
{
    edResCompiler->setText(FileName);
}

TUserDefaults TSettingsPage::UserDefaults() const
{
    return TUserDefaults{edDefAuthor->text(), edDefCompany->text(), edDefCopyright->text()};
}

void TSettingsPage::PressEscape()
{
    btBack->click();
}
