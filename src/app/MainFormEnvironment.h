#pragma once

#include "support/ProgramInfo.h"

#include <QString>

class IMessageBoxes;
class IFileDialogs;

// What the main window is given from outside: the program's paths, the
// user's folders (found by GetProgramFolders unless given, so that tests run
// on a fresh temporary configuration folder) and the dialog seams.
struct TMainFormEnvironment {
    TProgramPaths Paths;
    bool UseSystemFolders = true;
    QString AppPath;
    QString UserPath;
    QString ProgPath;
    IMessageBoxes* Boxes = nullptr;  // the real boxes when null
    IFileDialogs* Dialogs = nullptr; // the real dialog when null
    int CompilerTimeoutMs = 10000;
    // A group named on the command line: opened at start instead of the last
    // one, as if chosen in the group chooser.
    QString StartGroup;
};
