// `quorvel-cli set` on a group of 1,000 projects, killed with SIGKILL at random
// moments, 50 times: the settings file is always either the old or the new
// one, whole, never a mixture or cut short.

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{

constexpr int ProjectCount = 1000;
constexpr int Kills = 50;

class KillDuringSave : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        QStringList entries;
        for (int i = 0; i < ProjectCount; ++i)
            entries << QStringLiteral("Module%1\\Project%1.dproj").arg(i, 4, 10, QLatin1Char('0'));
        Group = Dir.filePath(QStringLiteral("Big.groupproj"));
        Settings = Dir.filePath(QStringLiteral("Big.vprj"));
        TestFiles::Write(Group, TestFiles::GroupFile(entries));
        // A named configuration must exist; an empty one gives the defaults.
        TestFiles::Write(Dir.filePath(QStringLiteral("empty.ini")), QByteArray());
    }

    QProcess* StartSet(int build)
    {
        auto* p = new QProcess;
        TestFiles::Start(*p, TestFiles::CliProgram(),
                         {QStringLiteral("--config"), Dir.filePath(QStringLiteral("empty.ini")),
                          QStringLiteral("set"), Group, QStringLiteral("--all"),
                          QStringLiteral("fvBuild=%1").arg(build)});
        return p;
    }

    // Runs set to its end; its time in ms.
    qint64 RunSet(int build)
    {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<QProcess> p(StartSet(build));
        EXPECT_TRUE(p->waitForFinished(120000)) << p->errorString().toStdString();
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        return t.elapsed();
    }

    QTemporaryDir Dir;
    QString Group;
    QString Settings;
};

// The file as a save with every build number set to `build` leaves it: the
// same lines with each fvBuild value replaced.
QByteArray WithBuild(const QByteArray& settings, int build)
{
    QString text = QString::fromUtf8(settings);
    text.replace(QRegularExpression(QStringLiteral("(?m)^fvBuild=-?\\d+\\r$")),
                 QStringLiteral("fvBuild=%1\r").arg(build));
    return text.toUtf8();
}

TEST_F(KillDuringSave, SettingsFileIsOldOrNewNeverMixed)
{
    // The first save creates the file with every section; later saves only
    // change the values. They set the pace: the longest of three.
    RunSet(0);
    qint64 fullRun = 20;
    for (int i = 0; i < 3; ++i)
        fullRun = std::max(fullRun, RunSet(0));
    QByteArray current = TestFiles::Read(Settings);
    ASSERT_EQ(current.count("fvBuild=0\r\n"), ProjectCount);

    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE("seed " + std::to_string(seed));
    QRandomGenerator random(seed);
    int killedBeforeTheEnd = 0;
    int old = 0;
    for (int i = 1; i <= Kills; ++i) {
        SCOPED_TRACE("kill " + std::to_string(i));
        const QByteArray expectedNew = WithBuild(current, i);
        ASSERT_NE(expectedNew, current);
        std::unique_ptr<QProcess> p(StartSet(i));
        ASSERT_EQ(p->state(), QProcess::Running) << p->errorString().toStdString();
        // Every other kill anywhere from the start to a little after the usual
        // end, the others in the later part of the run, where the file is saved.
        const quint32 from = i % 2 ? 0 : quint32(fullRun / 2);
        const int delay = int(from + random.bounded(quint32(fullRun * 5 / 4 + 1) - from));
        if (!p->waitForFinished(delay) && p->state() != QProcess::NotRunning) {
            p->kill();
            ++killedBeforeTheEnd;
        }
        if (p->state() != QProcess::NotRunning) {
            ASSERT_TRUE(p->waitForFinished(30000));
        }

        const QByteArray after = TestFiles::Read(Settings);
        const bool isOld = after == current;
        const bool isNew = after == expectedNew;
        EXPECT_TRUE(isOld || isNew) << "size " << after.size() << " (old " << current.size()
                                    << ", new " << expectedNew.size() << ")";
        if (isOld)
            ++old;
        current = after;
    }
    // Some kills came in time to hit a run; how many depends on the machine's
    // load, so only a run where none did is a test that tested nothing.
    EXPECT_GE(killedBeforeTheEnd, Kills / 10);
    RecordProperty("killed", killedBeforeTheEnd);
    RecordProperty("left_old", old);
    // The group still loads and saves.
    RunSet(Kills + 1);
    EXPECT_EQ(TestFiles::Read(Settings), WithBuild(current, Kills + 1));
}

} // namespace
