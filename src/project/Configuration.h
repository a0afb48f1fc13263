#pragma once

#include <QString>
#include <QStringList>

// The user's configuration: section "Config" of the program's INI file.
struct TConfiguration {
    QString LastPath;
    QString TemplateName; // absolute
    QString ResourceCompiler;
    QString ResourceCompilerOptions;
    bool EscapeValues = false;
    QString ResourcePath = QStringLiteral("Resources");
    QString Win32Suffix = QStringLiteral("-32");
    QString Win64Suffix = QStringLiteral("-64");
    QString DefaultAuthor;
    QString DefaultCompany;
    QString DefaultCopyright;
    QString LastProjGroup;
    QStringList ProjGroups;
};

// The name of the recent-group key number n (from 1): "ProjGroups01", ... "ProjGroups100".
QString ProjGroupsKey(int n);

// Reads the configuration; missing keys take their defaults ("LastPath": userPath,
// "TemplateName": DefaultTemplateFile), the template is made
// absolute against exePath, and recent groups naming no existing file are dropped.
TConfiguration LoadConfiguration(const QString& iniName, const QString& exePath,
                                 const QString& userPath);

// The configuration file in the folder of program data (appPath): named
// after the window's program, so that quorvel-cli reads the window's file.
QString ConfigurationFileName(const QString& appPath,
                              const QString& programBaseName = QStringLiteral("quorvel"));

// Writes every key, the template relative to exePath where it lies under it.
// Recent-group keys above the new count stay in the file. Throws
// TQuorvelError "Unable to write to %s" and leaves the old file intact on failure.
void SaveConfiguration(const QString& iniName, const QString& exePath,
                       const TConfiguration& config);
