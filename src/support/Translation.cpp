#include "support/Translation.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <clocale>
#include <libintl.h>

QString Tr(const char* msgid)
{
    return QString::fromUtf8(dgettext("default", msgid));
}

QString TrDomain(const char* domain, const char* msgid)
{
    return QString::fromUtf8(dgettext(domain, msgid));
}

QString TrPlural(const char* singular, const char* plural, unsigned long n)
{
    return QString::fromUtf8(dngettext("default", singular, plural, n));
}

QString TrText(const QString& msgid, const char* domain)
{
    const QByteArray id = msgid.toUtf8();
    return QString::fromUtf8(dgettext(domain, id.constData()));
}

QString CatalogFolder(const QString& programFolder)
{
    const QDir program(programFolder);
    // The build tree keeps the catalogs beside the executables; an installed
    // program finds them below share/locale of its own prefix, also when the
    // installation was moved after it was built.
    for (const QString& candidate : {program.filePath(QStringLiteral("locale")),
                                     program.filePath(QStringLiteral("../share/locale"))}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return QStringLiteral(QUORVEL_LOCALE_INSTALL_DIR);
}

void InitTranslation(const QString& programFolder)
{
    // Unqualified: on Windows libintl's header makes setlocale a macro for
    // its own function, which also tells the catalogs the language.
    setlocale(LC_ALL, "");
    const QByteArray path = QFile::encodeName(CatalogFolder(programFolder));
    for (const char* domain : {"default", "dialogs"}) {
        bindtextdomain(domain, path.constData());
        bind_textdomain_codeset(domain, "UTF-8");
    }
}

QString CurrentLanguage()
{
    // The catalog header of a translated domain names its language.
    const QString header = QString::fromUtf8(dgettext("default", ""));
    const int pos = header.indexOf(QLatin1String("Language: "));
    if (pos < 0)
        return QStringLiteral("en");
    return header.mid(pos + 10, 2);
}
