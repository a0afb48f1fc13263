#pragma once

#include "app/QuorvelMain.h"
#include "guisupport/DialogStubs.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A main window on fresh temporary folders: its own program folder (with the
// default template), configuration folder, Documents and programs folder, and
// a work folder for groups. Nothing touches the real home folder.
class TMainFormFixture
{
public:
    TMainFormFixture();
    ~TMainFormFixture();

    // The folders as the program names them: with the system's delimiter.
    QString ProgramDir() const { return Folder(QStringLiteral("program")); }
    QString ConfigDir() const { return Folder(QStringLiteral("config")); }
    QString DocumentsDir() const { return Folder(QStringLiteral("docs")); }
    QString WorkDir() const { return Folder(QStringLiteral("work")); }
    // The configuration file in ConfigDir().
    QString ConfigFile() const;

    // Writes a configuration with a compiler, template and last group set,
    // and the history given (none given: the last group alone).
    void WriteConfig(const QString& group, const QString& compiler, const QStringList& extra = {},
                     const QStringList& history = {});
    // A group of projects (entry, version keys, platforms) in the work folder.
    QString MakeGroup(const QString& name, const QStringList& entries,
                      const QStringList& fileVersions = {}, const QStringList& platforms = {});

    // Creates the window (runs its creation) without showing it.
    TMainForm& Create();
    // Creates the window and runs its start sequence.
    TMainForm& Start();
    TMainForm& Form() { return *FForm; }
    void Destroy();
    // Clicks a chooser button of the created window (0: group, 1: template,
    // 2: compiler) with its file dialog cancelled; true when the group,
    // template and compiler fields stayed as they were.
    bool ChooseCancelled(int Chooser);

    // From now on the fake compiler notes its process id in a file and then
    // sleeps for a minute, until the fixture goes.
    void HoldCompilers();
    // Whether a held compiler has noted its id, and that id.
    bool CompilerHeld() const;
    qint64 HeldCompiler() const;

    // The window finds the user's folders itself, as the program does.
    bool SystemFolders = false;
    // The window's time limit for a compiler run.
    int CompilerTimeoutMs = 10000;
    // The program file's base name, which names the configuration file.
    QString ExeBaseName = QStringLiteral("quorvel");
    // A group named on the command line.
    QString StartGroup;
    TMessageBoxesStub Boxes;
    TFileDialogsStub Dialogs;

private:
    QString Folder(const QString& name) const;

    QTemporaryDir FRoot;
    std::unique_ptr<TMainForm> FForm;
};

// Saves a screenshot of a widget into QUORVEL_SCREENSHOT_DIR when set.
void SaveScreenshot(QWidget* widget, const QString& name);
