#include "project/Configuration.h"

#include "support/IniFile.h"
#include "support/PathHelpers.h"
#include "support/ProgramInfo.h"
#include "support/TextHelpers.h"

#include <QFileInfo>

namespace
{

const QString Section = QStringLiteral("Config");

// A switch is written as 1 or 0; a hand-edited file may say it in words.
bool ReadSwitch(const TIniFile& ini, const QString& key)
{
    const QString value = ini.ReadString(Section, key, QString()).toLower();
    if (value == QLatin1String("true") || value == QLatin1String("yes") ||
        value == QLatin1String("on"))
        return true;
    return ini.ReadInteger(Section, key, 0) != 0;
}

} // namespace

QString ConfigurationFileName(const QString& appPath, const QString& programBaseName)
{
    return BuildFileName(appPath, programBaseName, QStringLiteral("ini"));
}

QString ProjGroupsKey(int n)
{
    return QStringLiteral("ProjGroups") + ZeroPaddedInt(n, 2);
}

TConfiguration LoadConfiguration(const QString& iniName, const QString& exePath,
                                 const QString& userPath)
{
    const TIniFile ini(iniName);
    TConfiguration c;
    const auto str = [&](const char* key, const QString& def) {
        return ini.ReadString(Section, QLatin1String(key), def);
    };
    c.LastPath = str("LastPath", userPath);
    c.TemplateName = MakeAbsolutePath(
        exePath, str("TemplateName", MakeRelativePath(exePath, DefaultTemplateFile(exePath))));
    c.ResourceCompiler = str("ResourceCompiler", QString());
    c.ResourceCompilerOptions = str("ResourceCompilerOptions", QString());
    c.EscapeValues = ReadSwitch(ini, QStringLiteral("EscapeValues"));
    c.ResourcePath = str("ResourcePath", QStringLiteral("Resources"));
    c.Win32Suffix = str("Win32Suffix", QStringLiteral("-32"));
    c.Win64Suffix = str("Win64Suffix", QStringLiteral("-64"));
    c.DefaultAuthor = str("DefaultAuthor", QString());
    c.DefaultCompany = str("DefaultCompany", QString());
    c.DefaultCopyright = str("DefaultCopyright", QString());
    c.LastProjGroup = str("LastProjGroup", QString());
    // A damaged count must not make the loop run for billions of absent keys.
    const int count = qMin(ini.ReadInteger(Section, QStringLiteral("ProjGroupCount"), 0), 100000);
    for (int i = 1; i <= count; ++i) {
        const QString name = ini.ReadString(Section, ProjGroupsKey(i), QString());
        if (!name.isEmpty() && QFileInfo(name).isFile())
            c.ProjGroups.append(name);
    }
    return c;
}

void SaveConfiguration(const QString& iniName, const QString& exePath, const TConfiguration& c)
{
    TIniFile ini(iniName);
    const auto str = [&](const char* key, const QString& value) {
        ini.WriteString(Section, QLatin1String(key), value);
    };
    str("LastPath", c.LastPath);
    str("TemplateName", MakeRelativePath(exePath, c.TemplateName));
    str("ResourceCompiler", c.ResourceCompiler);
    str("ResourcePath", c.ResourcePath);
    str("Win32Suffix", c.Win32Suffix);
    str("Win64Suffix", c.Win64Suffix);
    str("DefaultAuthor", c.DefaultAuthor);
    str("DefaultCompany", c.DefaultCompany);
    str("DefaultCopyright", c.DefaultCopyright);
    str("LastProjGroup", c.LastProjGroup);
    ini.WriteInteger(Section, QStringLiteral("ProjGroupCount"), int(c.ProjGroups.size()));
    for (int i = 0; i < c.ProjGroups.size(); ++i)
        ini.WriteString(Section, ProjGroupsKey(i + 1), c.ProjGroups[i]);
    str("ResourceCompilerOptions", c.ResourceCompilerOptions);
    ini.WriteInteger(Section, QStringLiteral("EscapeValues"), c.EscapeValues ? 1 : 0);
    ini.UpdateFile();
}
