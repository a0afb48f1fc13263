#include "guisupport/MainFormUi.h"

#include "support/Translation.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <type_traits>

namespace
{

template <typename T> T* Find(QWidget& form, const char* name = nullptr)
{
    T* found = name ? form.findChild<T*>(QLatin1String(name)) : form.findChild<T*>();
    if (!found)
        qFatal("The main window has no %s of the expected kind", name ? name : "controller");
    return found;
}

} // namespace

#define QUORVEL_FIND(name) name(Find<std::remove_pointer_t<decltype(name)>>(Form, #name))

TMainFormUi::TMainFormUi(QWidget& Form)
    : QUORVEL_FIND(pcMain), QUORVEL_FIND(tsProcess), QUORVEL_FIND(tsSettings), QUORVEL_FIND(tsEdit),
      QUORVEL_FIND(mmDos), QUORVEL_FIND(lbProjectName), QUORVEL_FIND(cbProjectGroup),
      QUORVEL_FIND(btProjectGroup), QUORVEL_FIND(pmiEditList), QUORVEL_FIND(pmiCancel),
      QUORVEL_FIND(sbCheckAll), QUORVEL_FIND(sbCheckNone), QUORVEL_FIND(lbProjects),
      QUORVEL_FIND(udProdMajor), QUORVEL_FIND(udProdMinor), QUORVEL_FIND(edCompany),
      QUORVEL_FIND(udMajor), QUORVEL_FIND(udMinor), QUORVEL_FIND(udRelease), QUORVEL_FIND(udBuild),
      QUORVEL_FIND(sbCopyMajor), QUORVEL_FIND(sbCopyMinor), QUORVEL_FIND(edProject),
      QUORVEL_FIND(cbWin32), QUORVEL_FIND(cbWin64), QUORVEL_FIND(btSettings), QUORVEL_FIND(btInfo),
      QUORVEL_FIND(btProcess), QUORVEL_FIND(edTemplate), QUORVEL_FIND(btEdit),
      QUORVEL_FIND(btTemplate), QUORVEL_FIND(edResPath), QUORVEL_FIND(edSuffix32),
      QUORVEL_FIND(edSuffix64), QUORVEL_FIND(edResCompiler), QUORVEL_FIND(btResCompiler),
      QUORVEL_FIND(btBack), QUORVEL_FIND(laTemplateFile), QUORVEL_FIND(seTemplate),
      QUORVEL_FIND(cbPlaceholders), QUORVEL_FIND(btnInsert), QUORVEL_FIND(btOk),
      QUORVEL_FIND(btCancel)
{
}

const TGroupController& Groups(QWidget& Form)
{
    return *Find<TGroupController>(Form);
}

const TGenerationController& Runs(QWidget& Form)
{
    return *Find<TGenerationController>(Form);
}

QString RunOutput(const QPlainTextEdit* Log)
{
    const QString opening = Tr("Create resource files: %1").section(QStringLiteral("%1"), 0, 0);
    const QString summary = Tr("Scripts written: %1, compiled: %2, failed: %3, time: %4 s")
                                .section(QStringLiteral("%1"), 0, 0);
    QStringList kept;
    const QStringList lines = Log->toPlainText().split(u'\n');
    for (const QString& line : lines)
        if (!line.startsWith(opening) && !line.startsWith(summary))
            kept.append(line);
    return kept.join(u'\n');
}
