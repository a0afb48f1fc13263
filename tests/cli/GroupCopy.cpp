#include "cli/GroupCopy.h"

#include "project/GroupFile.h"
#include "support/TextFile.h"
#include "testsupport/TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

void CopyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        TestFiles::Write(to + f.mid(from.size()), TestFiles::Read(f));
    }
}

} // namespace

TGroupCopy::TGroupCopy()
{
    EXPECT_TRUE(Dir.isValid());
    WriteConfig({});
}

QString TGroupCopy::CopyDemo()
{
    CopyTree(QDir(TestFiles::ExamplesDir()).filePath(QStringLiteral("demo")),
             Path(QStringLiteral("demo")));
    TestFiles::Write(Path(QStringLiteral("VersInfo.trc")),
                     TestFiles::Read(TestFiles::ExamplesDir() + QStringLiteral("/VersInfo.trc")));
    return Path(QStringLiteral("demo/Demo.groupproj"));
}

QString TGroupCopy::CopyCorpusGroup(const QString& groupFile)
{
    const QString source = QDir(TestFiles::CorpusDir()).filePath(groupFile);
    const QString sourceFolder = QFileInfo(source).absolutePath() + u'/';
    const QString target = Path(QStringLiteral("corpus/") + QFileInfo(source).fileName());
    TestFiles::Write(target, TestFiles::Read(source));
    const QStringList entries = ReadProjectEntries(ReadTextFile(source).Lines);
    for (QString entry : entries) {
        entry.replace(u'\\', u'/');
        if (entry.startsWith(QLatin1String("..")) || entry.startsWith(u'/'))
            continue;
        if (QFileInfo(sourceFolder + entry).isFile())
            TestFiles::Write(Path(QStringLiteral("corpus/") + entry),
                             TestFiles::Read(sourceFolder + entry));
    }
    return target;
}

QString TGroupCopy::Path(const QString& relative) const
{
    return Dir.filePath(relative);
}

void TGroupCopy::WriteConfig(const QStringList& lines, const QString& compiler)
{
    const QStringList defaults{QStringLiteral("ResourceCompiler=") +
                                   (compiler.isNull() ? TestFiles::FakeCompiler() : compiler),
                               QStringLiteral("TemplateName=") +
                                   Path(QStringLiteral("VersInfo.trc"))};
    TestFiles::Write(Config(),
                     TestFiles::CrLf(QStringList{QStringLiteral("[Config]")} + lines + defaults));
}

TGroupCopy::TRun TGroupCopy::Run(const QStringList& arguments,
                                 const QList<QPair<QString, QString>>& variables) const
{
    return TestFiles::RunCli(QStringList{QStringLiteral("--config"), Config()} + arguments,
                             Dir.path(), Path(QStringLiteral("home")), variables);
}

QStringList TGroupCopy::Listing() const
{
    QStringList result;
    QDirIterator it(Dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        QString sum;
        if (f.isFile())
            sum = QString::fromLatin1(
                QCryptographicHash::hash(TestFiles::Read(f.filePath()), QCryptographicHash::Md5)
                    .toHex());
        result << QStringLiteral("%1 %2 %3 %4")
                      .arg(f.filePath())
                      .arg(f.size())
                      .arg(f.lastModified().toMSecsSinceEpoch())
                      .arg(sum);
    }
    result.sort();
    return result;
}
