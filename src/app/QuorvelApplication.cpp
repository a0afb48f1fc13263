#include "app/QuorvelApplication.h"

#include "QuorvelVersion.h"
#include "dialogs/MessageBoxes.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QLibraryInfo>
#include <QTranslator>

TQuorvelApplication::TQuorvelApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    SetIdentity();
    // Desktops find the window's entry (and so its icon) by this name.
    setDesktopFileName(QStringLiteral("org.quorvel.Quorvel"));
}

void TQuorvelApplication::SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION_TEXT));
}

bool TQuorvelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const TQuorvelError& e) {
        TMessageBoxes().ShowError(e.Message(), dmActiveForm);
    } catch (const std::exception& e) {
        TMessageBoxes().ShowError(QString::fromLocal8Bit(e.what()), dmActiveForm);
    }
    return false;
}

void TQuorvelApplication::LoadQtTranslations(QCoreApplication& App)
{
    const QString language = CurrentLanguage();
    if (language == QLatin1String("en"))
        return;
    auto* translator = new QTranslator(&App);
    if (translator->load(QStringLiteral("qtbase_") + language,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
