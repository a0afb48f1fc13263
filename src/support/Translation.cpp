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

QString TrText(const QString& msgid, const char* domain)
{
    const QByteArray id = msgid.toUtf8();
    return QString::fromUtf8(dgettext(domain, id.constData()));
}

void InitTranslation(const QString& programFolder)
{
    std::setlocale(LC_ALL, "");
    QString folder = QDir(programFolder).filePath(QStringLiteral("locale"));
    if (!QFileInfo(folder).isDir())
        folder = QStringLiteral(QUORVEL_LOCALE_INSTALL_DIR);
    const QByteArray path = QFile::encodeName(folder);
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
