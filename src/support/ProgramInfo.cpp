#include "support/ProgramInfo.h"

#include "QuorvelVersion.h"
#include "support/PathHelpers.h"
#include "support/Translation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>
#endif

TProgramPaths CurrentProgramPaths()
{
    TProgramPaths paths;
    paths.ExeFile = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    paths.ExePath = ExtractFilePath(paths.ExeFile);
    paths.ExeBaseName = RemoveExtension(ExtractFileName(paths.ExeFile));
    return paths;
}

QString DefaultTemplateFile(const QString& exePath)
{
    const QString name = QStringLiteral("VersInfo.trc");
    const QDir program(exePath);
    const QString beside = QDir::toNativeSeparators(program.filePath(name));
    const QString installed = QDir::toNativeSeparators(
        QDir::cleanPath(program.filePath(QStringLiteral(QUORVEL_DATA_FROM_BIN "/") + name)));
    if (!QFileInfo(beside).isFile() && QFileInfo(installed).isFile())
        return installed;
    return beside;
}

namespace
{

// The folder where the user's own configuration lives: the roaming
// application-data folder on Windows (it follows the user from machine to
// machine; Qt's configuration folder there is the local one), the XDG
// configuration folder elsewhere.
QString UserConfigFolder()
{
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return QDir::toNativeSeparators(QString::fromWCharArray(buffer));
    return QString();
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

} // namespace

void GetProgramFolders(QString& appPath, QString& userPath, QString& progPath, bool create,
                       const QString& exePath)
{
    const auto folder = [](QStandardPaths::StandardLocation location) {
        return QDir::toNativeSeparators(QStandardPaths::writableLocation(location));
    };
    appPath = UserConfigFolder();
    if (appPath.isEmpty())
        appPath = exePath;
    else {
        appPath = WithTrailingDelimiter(appPath);
        if (create && !QDir().mkpath(appPath))
            appPath = exePath;
    }
    // Where the user keeps files: the Documents folder, or the home folder
    // where there is none (a missing folder would start the group chooser in
    // whatever folder the program was started from).
    userPath = folder(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(userPath).isDir())
        userPath = folder(QStandardPaths::HomeLocation);
    userPath = WithTrailingDelimiter(userPath);
    if (userPath.isEmpty())
        userPath = PathDelimiter();
#ifdef Q_OS_WIN
    progPath =
        WithTrailingDelimiter(QDir::toNativeSeparators(qEnvironmentVariable("ProgramFiles")));
#else
    progPath = QStringLiteral("/usr/bin/");
#endif
    if (progPath.isEmpty())
        progPath = PathDelimiter();
}

bool ReadVersionInfo(const QString& fileName, TFileVersionInfo& info)
{
    info = TFileVersionInfo();
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(fileName).toStdWString();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &unused);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, block.data()))
        return false;
    // The strings live under the first language and code page the block
    // lists, as "\StringFileInfo\040904B0\CompanyName".
    const auto query = [&block](const std::wstring& path, UINT& length) -> const void* {
        void* found = nullptr;
        return VerQueryValueW(block.data(), path.c_str(), &found, &length) ? found : nullptr;
    };
    UINT length = 0;
    const auto* translation =
        static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", length));
    if (translation == nullptr || length < 2 * sizeof(WORD))
        return true;
    const QString key = QStringLiteral("%1%2")
                            .arg(translation[0], 4, 16, QLatin1Char('0'))
                            .arg(translation[1], 4, 16, QLatin1Char('0'))
                            .toUpper();
    const auto value = [&](const wchar_t* valueName) {
        UINT chars = 0;
        const auto* text = static_cast<const wchar_t*>(
            query((QStringLiteral("\\StringFileInfo\\") + key + u'\\').toStdWString() + valueName,
                  chars));
        // The length counts the terminating null when there is one.
        return text == nullptr ? QString()
                               : QString::fromWCharArray(text, int(wcsnlen(text, chars)));
    };
    info.Company = value(L"CompanyName");
    info.Description = value(L"FileDescription");
    info.Version = value(L"FileVersion");
    info.InternalName = value(L"InternalName");
    info.Copyright = value(L"LegalCopyright");
    info.Comments = value(L"Comments");
    return true;
#else
    const QFileInfo file(fileName);
    if (!file.isFile())
        return false;
    // ELF programs carry no version resource: only this program's own file
    // has version information, from the same build values that the Windows
    // programs' version resources hold.
    if (QCoreApplication::instance() &&
        file.canonicalFilePath() !=
            QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath())
        return false;
    info.Company = QStringLiteral(QUORVEL_COMPANY);
    info.Description = QStringLiteral(QUORVEL_DESCRIPTION);
    info.Version = QStringLiteral(QUORVEL_VERSION_TEXT);
    info.InternalName = QStringLiteral(QUORVEL_INTERNAL_NAME);
    info.Copyright = QStringLiteral(QUORVEL_COPYRIGHT);
    info.Comments = QStringLiteral(QUORVEL_COMMENTS);
    return true;
#endif
}

QString CutVersion(const QString& version, int components)
{
    QString result = version;
    for (int i = 0; i < 4 - components; ++i) {
        const int dot = result.lastIndexOf(u'.');
        if (dot < 0)
            break;
        result.truncate(dot);
    }
    return result;
}

void GetProgramIdentity(const QString& exeFile, const QString& defaultName,
                        const QString& defaultVersion, int components, QString& name,
                        QString& version, QString& date, TFileVersionInfo& info)
{
    if (ReadVersionInfo(exeFile, info)) {
        if (info.InternalName.isEmpty())
            info.InternalName = defaultName;
    } else {
        info.InternalName = defaultName;
        info.Version = defaultVersion;
    }
    QString text = components <= 3 ? CutVersion(info.Version, components) : info.Version;
    text = Tr("Version") + u' ' + text;
    name = info.InternalName;
    version = QStringLiteral(" (") + text + u')';
    const QDateTime modified = QFileInfo(exeFile).lastModified().toLocalTime();
    date = QLocale().toString(modified.date(), QLocale::ShortFormat);
}
