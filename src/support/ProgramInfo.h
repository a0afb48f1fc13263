#pragma once

#include <QString>

// The program's own version strings, as a version resource holds them.
struct TFileVersionInfo {
    QString Company;
    QString Description;
    QString Version;
    QString InternalName;
    QString Copyright;
    QString Comments;
};

// Where the program lives: its folder (with trailing delimiter) and its file
// name without folder and extension.
struct TProgramPaths {
    QString ExePath;
    QString ExeBaseName;
    QString ExeFile;
};
// The running program's paths (needs a QCoreApplication).
TProgramPaths CurrentProgramPaths();

// The default template "VersInfo.trc": beside the program (the build tree, the
// Windows folder) when it is there, else in the data folder of the program's
// installation (share/quorvel beside bin/, found from the program's own folder
// so that a moved installation still finds it). When neither exists, the one
// beside the program, for the template chooser to replace.
QString DefaultTemplateFile(const QString& exePath);

// The user's application-data folder (for the configuration file), Documents
// folder (the home folder when there is no Documents folder) and programs
// folder, each with a trailing delimiter. The first is created when create is
// set; when it is unknown or cannot be created it falls back to exePath. The
// others are a lone delimiter when unknown.
void GetProgramFolders(QString& appPath, QString& userPath, QString& progPath, bool create,
                       const QString& exePath);

// The version information of a program file; false when it has none. On
// Windows it is the file's version resource; elsewhere only this program
// carries any, from the build's values.
bool ReadVersionInfo(const QString& fileName, TFileVersionInfo& info);

// The program's name, version text (" - Vers. 1.0" style default cut to
// `components` parts and put after the translated word "Version") and the
// program file's date in the user's short date format.
void GetProgramIdentity(const QString& exeFile, const QString& defaultName,
                        const QString& defaultVersion, int components, QString& name,
                        QString& version, QString& date, TFileVersionInfo& info);

// Cuts the last dot-separated component off (4 - components) times.
QString CutVersion(const QString& version, int components);
