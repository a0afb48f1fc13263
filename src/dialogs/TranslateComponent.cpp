#include "dialogs/TranslateComponent.h"

#include "support/Translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QWidget>

namespace
{

QString T(const QString& text, const char* domain)
{
    return text.isEmpty() ? text : TrText(text, domain);
}

void TranslateActions(QWidget* w, const char* domain)
{
    for (QAction* a : w->actions()) {
        // Without a tooltip of its own an action shows its text (without the
        // dots); such a tooltip follows the translated text by itself and
        // must not be fixed to the English one.
        const QString tip = a->toolTip();
        a->setText(T(a->text(), domain));
        if (a->toolTip() == tip)
            a->setToolTip(T(tip, domain));
        if (QMenu* sub = a->menu())
            TranslateActions(sub, domain);
    }
}

void TranslateWidget(QWidget* w, const char* domain)
{
    if (w->isWindow())
        w->setWindowTitle(T(w->windowTitle(), domain));
    w->setToolTip(T(w->toolTip(), domain));
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(T(label->text(), domain));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(T(button->text(), domain));
    else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(T(box->title(), domain));
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setPlaceholderText(T(edit->placeholderText(), domain));
    else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, T(combo->itemText(i), domain));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setText(T(list->item(i)->text(), domain));
    }
    TranslateActions(w, domain);
}

} // namespace

void TranslateComponent(QWidget* Window, const char* Domain)
{
    if (!Window)
        return;
    TranslateWidget(Window, Domain);
    const auto children = Window->findChildren<QWidget*>();
    for (QWidget* child : children)
        TranslateWidget(child, Domain);
}
