// Runs of quorvel-cli started at once on one group, as parallel build jobs
// start them: the lock beside the settings file keeps every update.
#include "cli/GroupCopy.h"
#include "project/SettingsLock.h"
#include "support/IniFile.h"
#include "testsupport/TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

// Starts every run before waiting for the first; returns their exit codes.
std::vector<int> RunAtOnce(const TGroupCopy& copy, const std::vector<QStringList>& runs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), copy.Path(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), copy.Path(QStringLiteral("home/config")));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList& arguments : runs) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        TestFiles::Start(*p, TestFiles::CliProgram(),
                         QStringList{QStringLiteral("--config"), copy.Config()} + arguments);
        processes.push_back(std::move(p));
    }
    std::vector<int> codes;
    for (auto& p : processes)
        codes.push_back(p->waitForFinished(120000) && p->exitStatus() == QProcess::NormalExit
                            ? p->exitCode()
                            : -1);
    return codes;
}

TEST(ConcurrentRuns, TwentyBumpsRaiseTheBuildByTwenty)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const std::vector<QStringList> runs(20,
                                        {QStringLiteral("bump"), group, QStringLiteral("--build")});
    EXPECT_EQ(RunAtOnce(copy, runs), std::vector<int>(20, 0));
    const TIniFile ini(copy.Path(QStringLiteral("demo/Demo.vprj")));
    // The checked projects: DemoApp 1.2.0.15 and DemoTool 1.0.1.7.
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("DemoApp.dproj"), QStringLiteral("fvBuild"), -1), 35);
    EXPECT_EQ(
        ini.ReadInteger(QStringLiteral("Tools\\DemoTool.dproj"), QStringLiteral("fvBuild"), -1),
        27);
}

TEST(ConcurrentRuns, FourSetsOfDifferentKeysAllLand)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const std::vector<QStringList> runs{
        {QStringLiteral("set"), group, QStringLiteral("Company=C")},
        {QStringLiteral("set"), group, QStringLiteral("Product=P")},
        {QStringLiteral("set"), group, QStringLiteral("--project"), QStringLiteral("DemoLib.dproj"),
         QStringLiteral("fvMinor=9")},
        {QStringLiteral("set"), group, QStringLiteral("--project"), QStringLiteral("DemoApp.dproj"),
         QStringLiteral("Description=D")}};
    EXPECT_EQ(RunAtOnce(copy, runs), std::vector<int>(4, 0));
    const TIniFile ini(copy.Path(QStringLiteral("demo/Demo.vprj")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Global"), QStringLiteral("Company"), QString()),
              QStringLiteral("C"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Global"), QStringLiteral("Product"), QString()),
              QStringLiteral("P"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("DemoLib.dproj"), QStringLiteral("fvMinor"), -1), 9);
    EXPECT_EQ(
        ini.ReadString(QStringLiteral("DemoApp.dproj"), QStringLiteral("Description"), QString()),
        QStringLiteral("D"));
}

// Another run keeps the lock: the run says so after its wait and changes
// nothing.
TEST(ConcurrentRuns, LockKeptByAnotherRun)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString settings = copy.Path(QStringLiteral("demo/Demo.vprj"));
    ASSERT_TRUE(copy.Run({QStringLiteral("set"), group, QStringLiteral("Company=Old")}).ExitCode ==
                0);
    TSettingsLock held(settings);
    held.Lock(0);
    const QByteArray before = TestFiles::Read(settings);
    const TGroupCopy::TRun r = copy.Run({QStringLiteral("bump"), group, QStringLiteral("--build")});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, QStringLiteral("The settings file \"%1\" is in use by another run; nothing "
                                    "was changed\n")
                         .arg(TestFiles::Native(settings)));
    EXPECT_EQ(r.Out, QString());
    EXPECT_EQ(TestFiles::Read(settings), before);
}

// A run killed while it wrote a lock file leaves it empty: the lock itself,
// or the guard QLockFile takes while it removes the stale lock of another
// killed run. The next run takes both over instead of waiting for them to
// grow stale.
TEST(ConcurrentRuns, EmptyLocksOfKilledRunsAreTakenOver)
{
    TGroupCopy copy;
    const QString group = copy.CopyDemo();
    const QString lock = copy.Path(QStringLiteral("demo/Demo.vprj.lock"));
    QProcess ended;
    ASSERT_TRUE(TestFiles::Start(ended, TestFiles::FakeCompiler(), QStringList()));
    ASSERT_TRUE(ended.waitForFinished());
    const struct {
        const char* Name;
        QByteArray Lock; // the lock's content; empty: no lock file
        bool EmptyGuard;
    } cases[] = {
        {"EmptyLock", "", false},
        {"EndedOwnerAndEmptyGuard", QByteArray::number(ended.processId()) + "\nquorvel-cli\n\n",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QStringList files{lock};
        if (c.EmptyGuard)
            files << lock + QStringLiteral(".rmlock");
        for (const QString& name : files) {
            TestFiles::Write(name, name == lock ? c.Lock : QByteArray());
            QFile file(name);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3),
                                         QFileDevice::FileModificationTime));
        }
        const TGroupCopy::TRun r =
            copy.Run({QStringLiteral("bump"), group, QStringLiteral("--build")});
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        for (const QString& name : files)
            EXPECT_FALSE(QFileInfo::exists(name)) << name.toStdString();
    }
}

} // namespace
