#include "app/EditorPage.h"

#include "app/FormControls.h"
#include "resgen/PlaceholderCaret.h"
#include "resgen/Placeholders.h"
#include "support/Translation.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace
{

QStringList EditorLines(const QsciScintilla* editor)
{
    const QString text = editor->text();
    QStringList lines = SplitLines(text);
    if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        lines.append(QString());
    return lines;
}

} // namespace

TEditorPage::TEditorPage(QWidget* Parent) : QWidget(Parent)
{
    setObjectName(QStringLiteral("tsEdit"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    v->addWidget(BoldLabel(this, "Label4", TrNoop("Template file")));
    laTemplateFile = Named(new QLabel(this), "laTemplateFile");
    v->addWidget(laTemplateFile);

    seTemplate = Named(new QsciScintilla(this), "seTemplate");
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
    connect(seTemplate, &QsciScintillaBase::SCN_UPDATEUI, this,
            [this](int) { seTemplateStatusChange(); });
    connect(seTemplate, &QsciScintilla::cursorPositionChanged, this,
            [this](int, int) { seTemplateStatusChange(); });
    connect(seTemplate, &QsciScintilla::selectionChanged, this,
            [this] { seTemplateStatusChange(); });
    v->addWidget(seTemplate, 1);

    auto* bottom = new QHBoxLayout;
    auto* label5 = Named(new QLabel(QStringLiteral(TrNoop("Placeholders:")), this), "Label5");
    cbPlaceholders = Named(new QComboBox(this), "cbPlaceholders");
    cbPlaceholders->setEditable(true);
    cbPlaceholders->setInsertPolicy(QComboBox::NoInsert);
    cbPlaceholders->setMinimumWidth(180);
    label5->setBuddy(cbPlaceholders);
    btnInsert = Named(new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight),
                                      QStringLiteral(TrNoop("Insert")), this),
                      "btnInsert");
    btOk = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                 QStringLiteral(TrNoop("OK")), this),
                 "btOk");
    btCancel = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                     QStringLiteral(TrNoop("Cancel")), this),
                     "btCancel");
    btOk->setDefault(true);
    connect(btnInsert, &QPushButton::clicked, this, [this] { btnInsertClick(); });
    connect(btOk, &QPushButton::clicked, this, &TEditorPage::OkClicked);
    connect(btCancel, &QPushButton::clicked, this, &TEditorPage::CancelClicked);
    // OK is the page's default button: Enter outside the text presses it (the
    // text takes Enter as a line break before any shortcut sees it).
    auto* enter = new QShortcut(this);
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
}

void TEditorPage::FillPlaceholders()
{
    for (int i = 0; i < PlaceholderCount; ++i)
        cbPlaceholders->addItem(Tr(Placeholders[i].rp), i);
    cbPlaceholders->setCurrentIndex(0);
}

void TEditorPage::Open(const QString& FileName, const TTextContent& Content)
{
    laTemplateFile->setText(FileName);
    FFormat = Content.Format;
    seTemplate->setEolMode(QsciScintilla::EolUnix);
    seTemplate->setText(Content.Lines.join(u'\n'));
    seTemplate->setCursorPosition(0, 0);
}

QStringList TEditorPage::Lines() const
{
    return EditorLines(seTemplate);
}

void TEditorPage::PressEscape()
{
    btCancel->click();
}

void TEditorPage::btnInsertClick()
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

void TEditorPage::seTemplateStatusChange()
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
