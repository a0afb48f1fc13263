#include "resgen/BuildRecord.h"

#include "support/IniFile.h"
#include "support/QuorvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

const QString Section = QStringLiteral("Build");

} // namespace

QString BuildRecordFile(const QString& resourceFolder)
{
    return QDir::toNativeSeparators(
        QDir(resourceFolder).filePath(QStringLiteral("quorvel-build.ini")));
}

void WriteBuildRecord(const TGenerationInput& input)
{
    const QString file = BuildRecordFile(ResourceFolder(input.GroupFolder, input.ResourcePath));
    try {
        TIniFile ini(file);
        ini.WriteString(Section, QStringLiteral("TemplateName"), input.TemplateName);
        ini.WriteString(Section, QStringLiteral("Win32Suffix"), input.Suffix32);
        ini.WriteString(Section, QStringLiteral("Win64Suffix"), input.Suffix64);
        ini.WriteInteger(Section, QStringLiteral("EscapeValues"), input.EscapeValues ? 1 : 0);
        ini.UpdateFile();
    } catch (const TQuorvelError&) {
        QFile::remove(file);
    }
}

std::optional<TBuildRecord> ReadBuildRecord(const QString& resourceFolder)
{
    const QString file = BuildRecordFile(resourceFolder);
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    const TIniFile ini(file);
    if (!ini.ReadError().isEmpty() || !ini.SectionExists(Section))
        return std::nullopt;
    TBuildRecord r;
    r.TemplateName = ini.ReadString(Section, QStringLiteral("TemplateName"), QString());
    r.Suffix32 = ini.ReadString(Section, QStringLiteral("Win32Suffix"), QString());
    r.Suffix64 = ini.ReadString(Section, QStringLiteral("Win64Suffix"), QString());
    r.EscapeValues = ini.ReadInteger(Section, QStringLiteral("EscapeValues"), 0) != 0;
    return r;
}
