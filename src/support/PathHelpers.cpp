#include "support/PathHelpers.h"

#include "support/TextHelpers.h"

#include <QStringList>

namespace
{

constexpr int MaxPath = 260;

int LastDelimiter(const QString& s, TPathStyle style)
{
    return s.lastIndexOf(PathDelimiter(style));
}

// Length of the part of an absolute path that ".." cannot climb above.
int RootLength(const QString& path, TPathStyle style)
{
    if (style == TPathStyle::Posix)
        return path.startsWith(u'/') ? 1 : 0;
    if (path.startsWith(QLatin1String("\\\\")))
        return 2;
    if (path.startsWith(u'\\'))
        return 1;
    if (path.size() >= 2 && path[1] == u':')
        return (path.size() >= 3 && path[2] == u'\\') ? 3 : 2;
    return 0;
}

QString Canonicalize(const QString& path, TPathStyle style)
{
    const QChar delim = PathDelimiter(style);
    const int rootLen = RootLength(path, style);
    const QString root = path.left(rootLen);
    const QStringList parts = path.mid(rootLen).split(delim);
    QStringList kept;
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!kept.isEmpty() && kept.last() != QLatin1String(".."))
                kept.removeLast();
            else if (root.isEmpty())
                kept.append(part);
            continue;
        }
        kept.append(part);
    }
    // "a\." and "a\.." end in a folder: keep the trailing delimiter they imply.
    const bool endsAsFolder = path.endsWith(delim) || path.endsWith(QString(delim) + u'.') ||
                              path.endsWith(QString(delim) + QLatin1String(".."));
    QString result = root + kept.join(delim);
    if (endsAsFolder && !result.isEmpty() && !result.endsWith(delim))
        result += delim;
    return result;
}

} // namespace

TPathStyle NativePathStyle()
{
#ifdef Q_OS_WIN
    return TPathStyle::Windows;
#else
    return TPathStyle::Posix;
#endif
}

QChar PathDelimiter(TPathStyle style)
{
    return style == TPathStyle::Windows ? u'\\' : u'/';
}

QString WithTrailingDelimiter(const QString& path, TPathStyle style)
{
    if (path.isEmpty() || path.endsWith(PathDelimiter(style)))
        return path;
    return path + PathDelimiter(style);
}

QString RemoveExtension(const QString& fileName, TPathStyle style)
{
    const QChar delim = PathDelimiter(style);
    for (int i = fileName.size() - 1; i >= 0; --i) {
        if (fileName[i] == u'.')
            return fileName.left(i);
        if (fileName[i] == delim)
            break;
    }
    return fileName;
}

QString ChangeExtension(const QString& fileName, const QString& extension, TPathStyle style)
{
    if (fileName.isEmpty())
        return QString();
    QString ext = extension;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    const QString base = RemoveExtension(fileName, style);
    return ext.isEmpty() ? base : base + u'.' + ext;
}

QString JoinPath(const QString& directory, const QString& name, TPathStyle style)
{
    if (name.isEmpty())
        return directory;
    if (directory.isEmpty())
        return name;
    return WithTrailingDelimiter(directory, style) + name;
}

QString BuildFileName(const QString& directory, const QString& name,
                      const QString& defaultExtension, TPathStyle style)
{
    QString ext = defaultExtension;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    QString result = name;
    if (!result.contains(u'.') && !ext.isEmpty())
        result += u'.' + ext;
    if (HasFullPath(result, style) || directory.isEmpty())
        return result;
    return WithTrailingDelimiter(directory, style) + result;
}

bool HasFullPath(const QString& name, TPathStyle style)
{
    if (name.isEmpty())
        return false;
    if (style == TPathStyle::Posix)
        return name.startsWith(u'/');
    return name.startsWith(u'\\') || name.contains(u':');
}

bool IsSubPath(const QString& base, const QString& path, TPathStyle style)
{
    if (base.isEmpty())
        return false;
    const QString b = WithTrailingDelimiter(base, style);
    const QString p = WithTrailingDelimiter(path, style);
    return p.size() >= b.size() && SameText(p.left(b.size()), b);
}

QString MakeRelativePath(const QString& base, const QString& path, TPathStyle style)
{
    const QString b = WithTrailingDelimiter(base, style);
    const QString p = WithTrailingDelimiter(path, style);
    if (SameText(b, p))
        return QString();
    if (IsSubPath(base, path, style))
        return path.mid(b.size());
    return path;
}

QString MakeAbsolutePath(const QString& base, const QString& path, TPathStyle style)
{
    if (HasFullPath(path, style))
        return path;
    const QString joined =
        (base.isEmpty() ? QString(PathDelimiter(style)) : WithTrailingDelimiter(base, style)) +
        path;
    if (joined.size() >= MaxPath)
        return path;
    const QString result = Canonicalize(joined, style);
    return result.size() >= MaxPath ? path : result;
}

QString ExtractFilePath(const QString& fileName, TPathStyle style)
{
    int i = LastDelimiter(fileName, style);
    if (style == TPathStyle::Windows && i < 0) {
        const int colon = fileName.lastIndexOf(u':');
        if (colon >= 0)
            return fileName.left(colon + 1);
    }
    return fileName.left(i + 1);
}

QString ExtractFileName(const QString& fileName, TPathStyle style)
{
    return fileName.mid(LastDelimiter(fileName, style) + 1);
}

QString EntryToNativePath(const QString& entry, TPathStyle style)
{
    if (style == TPathStyle::Windows)
        return entry;
    QString result = entry;
    result.replace(u'\\', u'/');
    return result;
}
