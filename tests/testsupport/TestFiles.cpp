#include "testsupport/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace TestFiles {

void Write(const QString& fileName, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + fileName.toStdString());
}

QByteArray Read(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file " + fileName.toStdString());
    return f.readAll();
}

QByteArray CrLf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

QString CorpusDir()
{
    return QStringLiteral(QUORVEL_CORPUS_DIR);
}
QString DataDir()
{
    return QStringLiteral(QUORVEL_TEST_DATA_DIR);
}
QString ExamplesDir()
{
    return QStringLiteral(QUORVEL_EXAMPLES_DIR);
}
QString FakeCompiler()
{
    return QStringLiteral(QUORVEL_FAKERC);
}
QString CliProgram()
{
    return QStringLiteral(QUORVEL_CLI);
}

QStringList FindFiles(const QString& folder, const QStringList& suffixes)
{
    QStringList result;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        for (const QString& s : suffixes)
            if (f.endsWith(s, Qt::CaseInsensitive)) {
                result.append(f);
                break;
            }
    }
    result.sort();
    return result;
}

QByteArray GroupFile(const QStringList& entries)
{
    QStringList lines{QStringLiteral("<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"),
                      QStringLiteral("    <ItemGroup>")};
    for (const QString& e : entries) {
        lines << QStringLiteral("        <Projects Include=\"%1\">").arg(e)
              << QStringLiteral("            <Dependencies/>")
              << QStringLiteral("        </Projects>");
    }
    lines << QStringLiteral("    </ItemGroup>") << QStringLiteral("</Project>");
    return "\xEF\xBB\xBF" + CrLf(lines);
}

QByteArray ProjectFile(const QString& verInfoKeys, const QString& targetedPlatforms)
{
    QStringList lines{QStringLiteral("<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"),
                      QStringLiteral("    <PropertyGroup>")};
    if (!targetedPlatforms.isNull())
        lines << QStringLiteral("        <TargetedPlatforms>%1</TargetedPlatforms>").arg(targetedPlatforms);
    lines << QStringLiteral("    </PropertyGroup>") << QStringLiteral("    <PropertyGroup Condition=\"'$(Base)'!=''\">");
    if (!verInfoKeys.isNull())
        lines << QStringLiteral("        <VerInfo_Keys>%1</VerInfo_Keys>").arg(verInfoKeys);
    lines << QStringLiteral("    </PropertyGroup>") << QStringLiteral("</Project>");
    return "\xEF\xBB\xBF" + CrLf(lines);
}

} // namespace TestFiles
