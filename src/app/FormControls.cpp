#include "app/FormControls.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

QToolButton* ImageButton(QWidget* Parent, const char* Name, QStyle::StandardPixmap Icon,
                         const char* Tooltip, bool Flat)
{
    auto* b = Named(new QToolButton(Parent), Name);
    b->setIcon(Parent->style()->standardIcon(Icon));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(Flat);
    if (Tooltip)
        b->setToolTip(QLatin1String(Tooltip));
    return b;
}

QSpinBox* Spinner(QWidget* Parent, const char* Name, const char* EditName, TSpinRange Range)
{
    auto* s = Named(new QSpinBox(Parent), Name);
    if (auto* edit = s->findChild<QLineEdit*>())
        edit->setObjectName(QLatin1String(EditName));
    s->setRange(Range.Min, Range.Max);
    s->setValue(Range.Min);
    s->setWrapping(false);
    s->setMinimumWidth(56);
    return s;
}

void ShowSpin(QSpinBox* Spin, TSpinRange Range, int Value)
{
    Spin->setRange(qMin(Range.Min, Value), qMax(Range.Max, Value));
    Spin->setValue(Value);
}

QWidget* Labelled(QWidget* Parent, const char* Caption, QWidget* Field, QWidget* Extra)
{
    auto* box = new QWidget(Parent);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* label = new QLabel(QLatin1String(Caption), box);
    label->setObjectName(QStringLiteral("la") + Field->objectName());
    label->setBuddy(Field);
    v->addWidget(label);
    if (Extra) {
        auto* h = new QHBoxLayout;
        h->setSpacing(2);
        h->addWidget(Field, 1);
        h->addWidget(Extra);
        v->addLayout(h);
    } else
        v->addWidget(Field);
    return box;
}

QLabel* BoldLabel(QWidget* Parent, const char* Name, const char* Caption)
{
    auto* l = Named(new QLabel(QLatin1String(Caption), Parent), Name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QFont FixedFont(int PixelSize)
{
    QFont f(QStringLiteral("Courier New"));
    if (!QFontInfo(f).fixedPitch())
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The editor control sizes its styles in points: the design's pixel
    // heights at 96 dots per inch.
    f.setPointSizeF(PixelSize * 72.0 / 96.0);
    return f;
}
