#pragma once

#include <QString>

// Which path rule a helper follows: Windows paths use "\" and know drive
// letters and UNC names, POSIX paths use "/". The native rule is the default,
// so callers only name a rule to work on the other platform's paths.
enum class TPathStyle { Windows, Posix };

TPathStyle NativePathStyle();
QChar PathDelimiter(TPathStyle style = NativePathStyle());

// Empty for an empty path, else the path ending with exactly one added delimiter
// unless it already ends with one.
QString WithTrailingDelimiter(const QString& path, TPathStyle style = NativePathStyle());
// The name without the extension of its last path segment ("a.b.c" gives "a.b").
QString RemoveExtension(const QString& fileName, TPathStyle style = NativePathStyle());
// The name with its extension replaced; one leading "." of the extension is
// dropped, an empty extension leaves no dot; empty for an empty name.
QString ChangeExtension(const QString& fileName, const QString& extension,
                        TPathStyle style = NativePathStyle());
// Directory and name joined by one delimiter; no test whether name is absolute.
QString JoinPath(const QString& directory, const QString& name,
                 TPathStyle style = NativePathStyle());
// The configuration-file naming rule: the default extension only for a name
// without any dot, the directory only for a name that is not absolute.
QString BuildFileName(const QString& directory, const QString& name,
                      const QString& defaultExtension, TPathStyle style = NativePathStyle());
// Windows: begins with "\" or holds a ":". POSIX: begins with "/".
bool HasFullPath(const QString& name, TPathStyle style = NativePathStyle());
// Whether path lies in or under base (compared without regard to case).
bool IsSubPath(const QString& base, const QString& path, TPathStyle style = NativePathStyle());
// Path relative to base when it lies under it; empty for base itself; else path.
QString MakeRelativePath(const QString& base, const QString& path,
                         TPathStyle style = NativePathStyle());
// Path made absolute against base with "." and ".." resolved; path unchanged
// when it is already absolute or the result would not fit 260 characters.
QString MakeAbsolutePath(const QString& base, const QString& path,
                         TPathStyle style = NativePathStyle());
// The folder part of a file name with its trailing delimiter ("" when none).
QString ExtractFilePath(const QString& fileName, TPathStyle style = NativePathStyle());
// The name after the last delimiter.
QString ExtractFileName(const QString& fileName, TPathStyle style = NativePathStyle());
// Delphi writes project entries with backslashes; as a path on this platform
// they take the native delimiter.
QString EntryToNativePath(const QString& entry, TPathStyle style = NativePathStyle());
