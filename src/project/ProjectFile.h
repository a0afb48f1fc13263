#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"

#include <QString>
#include <QStringList>

// Reading a Delphi project file's version keys. Project files are read as
// lines, not parsed as XML: an element is found by its opening tag and its
// value must stand on the same line.

// Index of the first line at or after start that holds text (without regard to
// case); -1 when there is none or start lies beyond the last line.
int FindLine(const QStringList& lines, const QString& text, int start);

// The value of an element: the text after the first occurrence of the opening
// tag in the first line holding it, up to the next "</" on that line, trimmed,
// with XML character references decoded. Empty when the tag or "</" is missing.
QString ReadElementText(const QStringList& lines, const QString& tag);

// The value of a key (its text includes the "=") in a ";"-separated key list:
// from after the "=" to the next ";" or the end, trimmed. The key is found
// anywhere in the list, without regard to case. Empty when not found.
QString ReadKeyValue(const QString& keyList, const QString& key);

// The IDE's defaults write "FileDescription=$(MSBuildProjectName)" and
// replace the macro by the project's name when it builds: the text with
// "$(MSBuildProjectName)" and "$(ModuleName)" (any letter case) replaced by
// the project name. Other macros stay as they are.
QString ReplaceProjectNameMacros(const QString& text, const QString& projectName);

// The two elements the version data of a project file come from.
struct TProjectFileKeys {
    QString VerInfoKeys;       // ReadElementText of "<VerInfo_Keys>"
    QString TargetedPlatforms; // ReadElementText of "<TargetedPlatforms>"
};

// What ReadElementText finds in the lines, found in the file's whole text
// (the lines with their breaks) without splitting it into lines.
QString ReadElementTextInText(const QString& text, const QString& tag);
TProjectFileKeys ReadProjectFileKeys(const QStringList& lines);
TProjectFileKeys ReadProjectFileKeysInText(const QString& text);

// Fills in what the project file's lines provide (file version, description,
// platforms) and leaves every other field as the caller set it.
void ReadProjectFileLines(const QStringList& lines, TProjectData& data);
// The same from the two elements.
void ApplyProjectFileKeys(const TProjectFileKeys& keys, TProjectData& data);

// The group values a project file's lines provide, for ReadGroupDefaults.
struct TGroupDefaultsScan {
    qint64 Major = -1;
    qint64 Minor = -1;
};
// Fills the empty group fields from one project file's key list and advances
// the product version candidates. Returns false when the key list is empty.
bool ReadGroupDefaultsLines(const QStringList& lines, TGroupValues& group,
                            TGroupDefaultsScan& scan);
// The same from the two elements.
bool ApplyGroupDefaults(const TProjectFileKeys& keys, TGroupValues& group,
                        TGroupDefaultsScan& scan);
