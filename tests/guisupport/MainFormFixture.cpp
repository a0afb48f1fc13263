#include "guisupport/MainFormFixture.h"

#include "guisupport/MainFormUi.h"
#include "testsupport/TestFiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

TMainFormFixture::TMainFormFixture()
{
    for (const QString& d : {ProgramDir(), ConfigDir(), DocumentsDir(), WorkDir()})
        QDir().mkpath(d);
    QFile::copy(TestFiles::ExamplesDir() + QStringLiteral("/VersInfo.trc"),
                ProgramDir() + QStringLiteral("VersInfo.trc"));
}

TMainFormFixture::~TMainFormFixture()
{
    Destroy();
    qunsetenv("FAKERC_PID_FILE");
    qunsetenv("FAKERC_SLEEP_MS");
}

void TMainFormFixture::HoldCompilers()
{
    qputenv("FAKERC_PID_FILE", QFile::encodeName(WorkDir() + QStringLiteral("pids")));
    qputenv("FAKERC_SLEEP_MS", "60000");
}

bool TMainFormFixture::CompilerHeld() const
{
    const QString pids = WorkDir() + QStringLiteral("pids");
    return QFileInfo::exists(pids) && TestFiles::Read(pids).endsWith('\n');
}

qint64 TMainFormFixture::HeldCompiler() const
{
    return TestFiles::Read(WorkDir() + QStringLiteral("pids")).trimmed().toLongLong();
}

QString TMainFormFixture::Folder(const QString& name) const
{
    return QDir::toNativeSeparators(FRoot.filePath(name)) + QDir::separator();
}

QString TMainFormFixture::ConfigFile() const
{
    return ConfigDir() + ExeBaseName + QStringLiteral(".ini");
}

void TMainFormFixture::WriteConfig(const QString& group, const QString& compiler,
                                   const QStringList& extra, const QStringList& history)
{
    const QStringList groups = history.isEmpty() ? QStringList{group} : history;
    QStringList lines{QStringLiteral("[Config]"), QStringLiteral("ResourceCompiler=") + compiler,
                      QStringLiteral("LastProjGroup=") + group,
                      QStringLiteral("ProjGroupCount=%1").arg(groups.size())};
    for (int i = 0; i < groups.size(); ++i)
        lines
            << QStringLiteral("ProjGroups%1=%2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(groups[i]);
    lines += extra;
    TestFiles::Write(ConfigFile(), TestFiles::CrLf(lines));
}

QString TMainFormFixture::MakeGroup(const QString& name, const QStringList& entries,
                                    const QStringList& fileVersions, const QStringList& platforms)
{
    const QString group = WorkDir() + name + QStringLiteral(".groupproj");
    TestFiles::Write(group, TestFiles::GroupFile(entries));
    for (int i = 0; i < entries.size(); ++i) {
        const QString version =
            i < fileVersions.size() ? fileVersions[i] : QStringLiteral("1.0.0.0");
        const QString platform = i < platforms.size() ? platforms[i] : QStringLiteral("3");
        QString path = entries[i];
        path.replace(u'\\', u'/');
        TestFiles::Write(
            WorkDir() + path,
            TestFiles::ProjectFile(QStringLiteral("CompanyName=Acme;FileVersion=%1;"
                                                  "FileDescription=%2;ProductVersion=2.5.0.0")
                                       .arg(version, QFileInfo(path).baseName()),
                                   platform));
    }
    return group;
}

TMainForm& TMainFormFixture::Create()
{
    Destroy();
    TMainFormEnvironment env;
    env.Paths.ExeFile = QCoreApplication::applicationFilePath();
    env.Paths.ExePath = ProgramDir();
    env.Paths.ExeBaseName = ExeBaseName;
    env.UseSystemFolders = SystemFolders;
    env.AppPath = ConfigDir();
    env.UserPath = DocumentsDir();
    env.ProgPath = QDir::toNativeSeparators(FRoot.filePath(QStringLiteral("programs")));
    env.Boxes = &Boxes;
    env.Dialogs = &Dialogs;
    env.CompilerTimeoutMs = CompilerTimeoutMs;
    env.StartGroup = StartGroup;
    FForm = std::make_unique<TMainForm>(env);
    return *FForm;
}

TMainForm& TMainFormFixture::Start()
{
    Create();
    FForm->FormShow();
    return *FForm;
}

void TMainFormFixture::Destroy()
{
    FForm.reset();
}

void SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget->grab().save(QDir(dir).filePath(name));
}

bool TMainFormFixture::ChooseCancelled(int Chooser)
{
    const TMainFormUi u(*FForm);
    Dialogs.SetNextCancel();
    QToolButton* button = Chooser == 0   ? u.btProjectGroup
                          : Chooser == 1 ? u.btTemplate
                                         : u.btResCompiler;
    const QString group = u.cbProjectGroup->currentText();
    const QString templateName = u.edTemplate->text();
    const QString compiler = u.edResCompiler->text();
    button->click();
    return u.cbProjectGroup->currentText() == group && u.edTemplate->text() == templateName &&
           u.edResCompiler->text() == compiler;
}
