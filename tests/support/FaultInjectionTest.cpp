// Every file the system writes, written where writing fails: a full disk (a
// name linked to /dev/full, a file system that is full), a pipe nobody reads,
// a write-protected folder or file, a folder where the file should be, a
// folder that is missing. The error names the file, the old file stays as it
// was, the device stays a device, and once the fault is gone the same call
// succeeds.

#include "project/Configuration.h"
#include "project/ProjectGroup.h"
#include "resgen/ResourceGenerator.h"
#include "support/IniFile.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace
{

const QByteArray OldBytes = "[Global]\r\nCompany=Old\r\n";
const QString NewValue = QStringLiteral("New");

// ---- What is written -------------------------------------------------------

struct TWriter {
    const char* Name;
    // Writes NewValue into the file; throws TQuorvelError when it cannot.
    std::function<void(const QString& file)> Save;
    // Whether the file holds NewValue.
    std::function<bool(const QString& file)> HoldsNew;
    // The error names the file as "Unable to write to %s" (else as
    // "Cannot create file "%s". reason").
    bool UnableToWrite;
    // Writes the file itself rather than a new file renamed over it.
    bool InPlace = false;
};

void PrintTo(const TWriter& w, std::ostream* os)
{
    *os << w.Name;
}

QString ProgramFolder(const QString& file)
{
    return WithTrailingDelimiter(QFileInfo(file).absolutePath() + QStringLiteral("/prog"));
}

const TWriter Writers[] = {
    {"SettingsFile",
     [](const QString& file) {
         TIniFile ini(file);
         ini.WriteString(QStringLiteral("Global"), QStringLiteral("Company"), NewValue);
         ini.UpdateFile();
     },
     [](const QString& file) {
         return TIniFile(file).ReadString(QStringLiteral("Global"), QStringLiteral("Company"),
                                          {}) == NewValue;
     },
     true},
    {"GroupSettings",
     [](const QString& file) {
         TProjectGroup group;
         group.Projects.Add(QStringLiteral("App.dproj"));
         group.LoadVersionSettings(file, TUserDefaults());
         group.Group.Company = NewValue;
         group.SaveVersionSettings(file);
     },
     [](const QString& file) {
         TProjectGroup group;
         group.Projects.Add(QStringLiteral("App.dproj"));
         group.LoadVersionSettings(file, TUserDefaults());
         return group.Group.Company == NewValue && group.Projects[0].Info;
     },
     true},
    {"Configuration",
     [](const QString& file) {
         TConfiguration config;
         config.DefaultCompany = NewValue;
         SaveConfiguration(file, ProgramFolder(file), config);
     },
     [](const QString& file) {
         return LoadConfiguration(file, ProgramFolder(file), ProgramFolder(file)).DefaultCompany ==
                NewValue;
     },
     true},
    {"TextFile", [](const QString& file) { WriteTextFile(file, {NewValue}, TTextFormat()); },
     [](const QString& file) { return ReadTextFile(file).Lines == QStringList{NewValue}; }, false},
    {"ResourceScript",
     [](const QString& file) {
         TResourceScript script;
         script.FileName = file;
         script.Bytes = NewValue.toUtf8();
         if (!WriteScriptFile(script))
             throw TQuorvelError(QStringLiteral("not written"));
     },
     [](const QString& file) { return TestFiles::Read(file) == NewValue.toUtf8(); }, false, true},
};

// ---- Where writing fails ---------------------------------------------------

struct TFault {
    const char* Name;
    // Makes writing the file fail; the file lies in dir.
    std::function<void(const QString& dir, const QString& file)> Inject;
    // Removes the fault and leaves the old file in its place.
    std::function<void(const QString& dir, const QString& file)> Clear;
    // What must still be there after the failed write.
    std::function<void(const QString& dir, const QString& file)> ExpectUntouched;
    const char* Reason; // the system's reason in the message, when known
    bool RootIgnoresIt; // permissions do not bind root
    // Only a new file is refused: a writer that writes the file in place
    // succeeds.
    bool OnlyNewFiles = false;
};

void PrintTo(const TFault& f, std::ostream* os)
{
    *os << f.Name;
}

void PutOldFile(const QString& file)
{
    QFile::remove(file);
    TestFiles::Write(file, OldBytes);
}

void ExpectOldFile(const QString&, const QString& file)
{
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(TestFiles::Read(file), OldBytes);
}

#ifndef Q_OS_WIN
bool IsCharacterDevice(const QString& path)
{
    struct stat st {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

bool IsFifo(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Whether writing to the device fails as a full disk does.
bool RefusesAsFull(const QString& device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool full = ::write(fd, "x", 1) < 0 && errno == ENOSPC;
    ::close(fd);
    return full;
}

// A device that is always full, for the file to be linked to. Root gets a
// device node of its own in dir (the same device as /dev/full): should a write
// ever rename a file over the link's target again, it replaces that node and
// not the system's /dev/full. Others cannot replace /dev/full.
QString FullDevice(const QString& dir)
{
    if (::geteuid() == 0) {
        const QString own = dir + QStringLiteral("/../full");
        if (::mknod(QFile::encodeName(own).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0 &&
            RefusesAsFull(own))
            return QFileInfo(own).absoluteFilePath();
        QFile::remove(own);
        return QString(); // mounted without devices
    }
    return QStringLiteral("/dev/full");
}

#endif

const TFault Faults[] = {
    {"LinkedToFullDevice",
     [](const QString& dir, const QString& file) {
#ifdef Q_OS_WIN
         (void)dir;
         (void)file;
         GTEST_SKIP() << "Windows has no device files to link to";
#else
         const QString device = FullDevice(dir);
         if (device.isEmpty())
             GTEST_SKIP() << "no device node of its own here";
         ASSERT_TRUE(IsCharacterDevice(device));
         ASSERT_TRUE(QFile::link(device, file));
#endif
     },
     [](const QString&, const QString& file) {
         QFile::remove(file);
         PutOldFile(file);
     },
     [](const QString&, const QString& file) {
#ifndef Q_OS_WIN
         // The device itself must not have been replaced by a renamed file.
         EXPECT_TRUE(IsCharacterDevice(QFileInfo(file).symLinkTarget()));
#else
         (void)file;
#endif
     },
     "No space left on device", false},
    {"PipeWithoutReader",
     [](const QString&, const QString& file) {
#ifdef Q_OS_WIN
         (void)file;
         GTEST_SKIP() << "Windows has no named pipes in the file system";
#else
         ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
#endif
     },
     [](const QString&, const QString& file) { PutOldFile(file); },
     [](const QString&, const QString& file) {
#ifndef Q_OS_WIN
         EXPECT_TRUE(IsFifo(file));
#else
         (void)file;
#endif
     },
     "No such device or address", false},
    {"WriteProtectedFolder",
     [](const QString& dir, const QString& file) {
#ifdef Q_OS_WIN
         GTEST_SKIP() << "the read-only attribute of a Windows folder does not protect its files";
#endif
         PutOldFile(file);
         ASSERT_TRUE(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
     },
     [](const QString& dir, const QString&) {
         QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
     },
     ExpectOldFile, "Permission denied", true, true},
    {"WriteProtectedFile",
     [](const QString&, const QString& file) {
         PutOldFile(file);
         ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
     },
     [](const QString&, const QString& file) {
         QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
     },
     ExpectOldFile, "Permission denied", true},
    {"FolderInItsPlace",
     [](const QString&, const QString& file) {
         ASSERT_TRUE(QDir().mkpath(file + QStringLiteral("/inside")));
     },
     [](const QString&, const QString& file) {
         QDir(file).removeRecursively();
         PutOldFile(file);
     },
     [](const QString&, const QString& file) {
         EXPECT_TRUE(QFileInfo(file + QStringLiteral("/inside")).isDir());
     },
     "Is a directory", false},
};

// ---- The matrix ------------------------------------------------------------

class FaultInjectionTest : public testing::TestWithParam<std::tuple<TWriter, TFault>>
{
protected:
    void TearDown() override
    {
        // A write-protected folder would keep QTemporaryDir from removing it.
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Folder() const { return Dir.filePath(QStringLiteral("group")); }

    QTemporaryDir Dir;
};

TEST_P(FaultInjectionTest, FailsWithTheFileNamedAndRecovers)
{
    const auto& [writer, fault] = GetParam();
    if (fault.RootIgnoresIt && !TestFiles::PermissionsBind())
        GTEST_SKIP() << "root may write anywhere";
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const QString file = QDir(Folder()).filePath(QStringLiteral("Group.vprj"));
    fault.Inject(Folder(), file);
    if (HasFatalFailure() || IsSkipped())
        return;

    if (fault.OnlyNewFiles && writer.InPlace) {
        ASSERT_NO_THROW(writer.Save(file));
        EXPECT_TRUE(writer.HoldsNew(file));
        return;
    }
    QString message;
    try {
        writer.Save(file);
        ADD_FAILURE() << "the write did not fail";
    } catch (const TQuorvelError& e) {
        message = e.Message();
    }
    if (writer.UnableToWrite) {
        EXPECT_EQ(
            message,
            QStringLiteral("Unable to write to %1. %2").arg(file, QLatin1String(fault.Reason)));
    } else if (QLatin1String(writer.Name) == QLatin1String("TextFile")) {
        EXPECT_EQ(
            message,
            QStringLiteral("Cannot create file \"%1\". %2").arg(file, QLatin1String(fault.Reason)));
    }
    fault.ExpectUntouched(Folder(), file);

    // The program goes on: with the fault gone, the same write succeeds.
    fault.Clear(Folder(), file);
    ASSERT_NO_THROW(writer.Save(file));
    EXPECT_TRUE(writer.HoldsNew(file));
}

INSTANTIATE_TEST_SUITE_P(Matrix, FaultInjectionTest,
                         testing::Combine(testing::ValuesIn(Writers), testing::ValuesIn(Faults)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" +
                                    std::get<1>(info.param).Name;
                         });

// ---- A link to a file is kept ----------------------------------------------

class LinkedFileTest : public testing::TestWithParam<TWriter>
{
};

// A settings file kept elsewhere and linked into the group folder stays
// linked; the file it points to gets the new contents.
TEST_P(LinkedFileTest, WritesTheFileTheLinkPointsTo)
{
    const TWriter& writer = GetParam();
#ifdef Q_OS_WIN
    GTEST_SKIP() << "QFile::link makes a shell shortcut on Windows, not a link";
#endif
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("elsewhere/Real.vprj"));
    const QString link = dir.filePath(QStringLiteral("group/Group.vprj"));
    TestFiles::Write(target, OldBytes);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("group"))));
    ASSERT_TRUE(QFile::link(target, link));
    writer.Save(link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_TRUE(writer.HoldsNew(target));
}

INSTANTIATE_TEST_SUITE_P(Writers, LinkedFileTest, testing::ValuesIn(Writers),
                         [](const auto& info) { return std::string(info.param.Name); });

#ifndef Q_OS_WIN
// Mount namespaces and file size limits are POSIX facilities.

// ---- A file system that is full --------------------------------------------

// Runs a shell script in a mount namespace of its own, where it may mount a
// small file system over a folder; empty output when the system allows no
// such namespace.
QString RunInMountNamespace(const QString& script, const QStringList& args, int* exitCode)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        return QString();
    for (const QStringList& flags :
         {QStringList{"--user", "--map-root-user", "--mount"}, QStringList{"--mount"}}) {
        QProcess probe;
        probe.start(unshare, flags + QStringList{"true"});
        if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
            continue;
        QProcess p;
        p.start(unshare, flags + QStringList{"sh", "-c", script, "sh"} + args);
        if (!p.waitForFinished(60000))
            return QString();
        *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    }
    return QString();
}

// The settings file of a group on a file system with no space left: the save
// fails with the Overview's message, the old file stays whole, and reading
// the group still works.
TEST(FullFileSystem, SaveFailsAndKeepsTheOldSettings)
{
    QTemporaryDir dir;
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    const QString source = dir.filePath(QStringLiteral("source"));
    TestFiles::Write(source + QStringLiteral("/Group.groupproj"),
                     TestFiles::GroupFile({"App.dproj"}));
    TestFiles::Write(
        source + QStringLiteral("/App.dproj"),
        TestFiles::ProjectFile(QStringLiteral("FileVersion=1.2.3.4"), QStringLiteral("3")));
    const QByteArray old = "[Global]\r\npvMajor=1\r\n\r\n[App.dproj]\r\nfvMajor=1\r\nfvBuild=4\r\n";
    TestFiles::Write(source + QStringLiteral("/Group.vprj"), old);
    // A named configuration must exist; an empty one gives the defaults.
    TestFiles::Write(source + QStringLiteral("/empty.ini"), QByteArray());

    // On the small file system: fill it, then change a value, then list.
    const QString script = QStringLiteral(
        "set -e; disk=$1; source=$2; cli=$3; out=$4\n"
        "mount -t tmpfs -o size=64k tmpfs \"$disk\"\n"
        "cp \"$source\"/* \"$disk\"/\n"
        "cat /dev/zero > \"$disk/fill\" 2>/dev/null || true\n"
        "set +e\n"
        "\"$cli\" --config \"$disk/empty.ini\" set \"$disk/Group.groupproj\" --all fvBuild=9 "
        "  >\"$out/set.out\" 2>\"$out/set.err\"\n"
        "echo $? >\"$out/set.exit\"\n"
        "cp \"$disk/Group.vprj\" \"$out/after.vprj\"\n"
        "\"$cli\" --config \"$disk/empty.ini\" list \"$disk/Group.groupproj\" --json "
        "  >\"$out/list.out\" 2>&1\n"
        "echo $? >\"$out/list.exit\"\n"
        "echo done\n");
    int exitCode = -1;
    const QString output =
        RunInMountNamespace(script, {disk, source, TestFiles::CliProgram(), dir.path()}, &exitCode);
    if (!output.contains(QStringLiteral("done")))
        GTEST_SKIP() << "no mount namespace here: " << output.toStdString();

    EXPECT_EQ(TestFiles::Read(dir.filePath(QStringLiteral("set.exit"))).trimmed(), "1");
    EXPECT_EQ(QString::fromUtf8(TestFiles::Read(dir.filePath(QStringLiteral("set.err")))).trimmed(),
              QStringLiteral("Unable to write to ") + disk +
                  QStringLiteral("/Group.vprj. No space left on device"));
    EXPECT_EQ(TestFiles::Read(dir.filePath(QStringLiteral("after.vprj"))), old);
    EXPECT_EQ(TestFiles::Read(dir.filePath(QStringLiteral("list.exit"))).trimmed(), "0");
    EXPECT_TRUE(
        TestFiles::Read(dir.filePath(QStringLiteral("list.out"))).contains("\"fvBuild\": 4"));
}

// ---- A file size limit -----------------------------------------------------

// A file size limit (ulimit -f) makes the system refuse a write part way, as a
// full disk does, without any privilege. A refused write used to be seen only
// when the save was committed, which then renamed the short file over the old
// one and reported success.
TEST(FileSizeLimit, SaveFailsAndKeepsTheOldSettings)
{
    QTemporaryDir dir;
    QStringList entries;
    for (int i = 0; i < 40; ++i)
        entries << QStringLiteral("Project%1.dproj").arg(i);
    const QString group = dir.filePath(QStringLiteral("Group.groupproj"));
    const QString settings = dir.filePath(QStringLiteral("Group.vprj"));
    TestFiles::Write(group, TestFiles::GroupFile(entries));
    const QByteArray old = "[Global]\r\npvMajor=1\r\n\r\n[Project0.dproj]\r\nfvBuild=4\r\n";
    TestFiles::Write(settings, old);
    // A named configuration must exist; an empty one gives the defaults.
    TestFiles::Write(dir.filePath(QStringLiteral("cfg/empty.ini")), QByteArray());
    const QStringList set{TestFiles::CliProgram(),
                          QStringLiteral("--config"),
                          dir.filePath(QStringLiteral("cfg/empty.ini")),
                          QStringLiteral("set"),
                          group,
                          QStringLiteral("--all"),
                          QStringLiteral("fvBuild=9")};

    // Limited to one block of 512 bytes; the signal the limit raises is
    // ignored, so that the write fails with EFBIG instead.
    QProcess limited;
    limited.start(QStringLiteral("/bin/sh"),
                  QStringList{"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""} + set);
    ASSERT_TRUE(limited.waitForFinished(30000));
    EXPECT_EQ(limited.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(limited.readAllStandardError()).trimmed(),
              QStringLiteral("Unable to write to %1. File too large").arg(settings));
    EXPECT_EQ(TestFiles::Read(settings), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "a temporary file was left";

    // Without the limit the same command saves.
    QProcess free;
    free.start(set.first(), set.mid(1));
    ASSERT_TRUE(free.waitForFinished(30000));
    EXPECT_EQ(free.exitCode(), 0);
    EXPECT_EQ(TestFiles::Read(settings).count("fvBuild=9\r\n"), 40);
}

#endif

} // namespace
