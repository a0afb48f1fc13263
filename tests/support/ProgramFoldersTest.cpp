// Where the program keeps its configuration and where the group chooser
// starts: the user's roaming application-data folder and Documents folder on
// Windows, their XDG counterparts elsewhere.

#include "support/PathHelpers.h"
#include "support/ProgramInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

TEST(ProgramFolders, ConfigurationAndGroupsInTheUsersOwnFolders)
{
    QString appPath, userPath, progPath;
#ifdef Q_OS_WIN
    GetProgramFolders(appPath, userPath, progPath, true, QStringLiteral("C:\\Prog\\"));
    // The folder Windows itself names as roaming, not Qt's local one.
    const QString roaming =
        WithTrailingDelimiter(QDir::toNativeSeparators(qEnvironmentVariable("APPDATA")));
    ASSERT_FALSE(roaming.isEmpty());
    EXPECT_EQ(appPath.toLower(), roaming.toLower());
    EXPECT_TRUE(appPath.toLower().endsWith(QLatin1String("\\appdata\\roaming\\")))
        << appPath.toStdString();
    EXPECT_TRUE(userPath.toLower().endsWith(QLatin1String("\\documents\\")))
        << userPath.toStdString();
    EXPECT_TRUE(QFileInfo(userPath).isDir());
#else
    QTemporaryDir home;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString config = home.filePath(QStringLiteral("not yet/config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    GetProgramFolders(appPath, userPath, progPath, true, QStringLiteral("/prog/"));
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(appPath, config + u'/');
    EXPECT_TRUE(QFileInfo(config).isDir()) << "the folder is created";
    EXPECT_TRUE(userPath.endsWith(u'/'));
#endif
}

} // namespace
