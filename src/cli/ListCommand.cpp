#include "cli/ListCommand.h"

#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QFileInfo>

namespace {

QString Bool(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

void PrintJson(TCliContext& c, const TProjectGroup& g)
{
    QTextStream& o = c.Out;
    o << "{\"group\": " << JsonString(g.LastProjectGrp) << ",\n";
    o << " \"settingsFile\": " << JsonString(g.Projects.IsEmpty() ? QString() : g.LastGroupFile)
      << ",\n";
    o << " \"global\": {\"pvMajor\": " << g.Group.ProdMajor << ", \"pvMinor\": " << g.Group.ProdMinor
      << ", \"Company\": " << JsonString(g.Group.Company)
      << ", \"Copyright\": " << JsonString(g.Group.Copyright)
      << ", \"Product\": " << JsonString(g.Group.Product)
      << ", \"Author\": " << JsonString(g.Group.Author) << "},\n";
    o << " \"projects\": [";
    for (int i = 0; i < g.Projects.Count(); ++i) {
        const TProjectEntry& e = g.Projects[i];
        const TProjectData d = e.Info ? e.Info->ProjectData : TProjectData();
        const QString path = g.ProjectFileName(i);
        o << (i ? ",\n              " : "") << "{\"entry\": " << JsonString(e.Text)
          << ", \"path\": " << JsonString(path)
          << ", \"exists\": " << Bool(QFileInfo(path).isFile())
          << ", \"fvMajor\": " << d.FileVersionMajor << ", \"fvMinor\": " << d.FileVersionMinor
          << ", \"fvRelease\": " << d.FileVersionRelease << ", \"fvBuild\": " << d.FileVersionBuild
          << ", \"Description\": " << JsonString(d.FileDescription)
          << ", \"Status\": " << StatesToInt(d.Status) << ", \"checked\": " << Bool(e.Checked)
          << ", \"win32\": " << Bool(d.Status.Contains(psWin32))
          << ", \"win64\": " << Bool(d.Status.Contains(psWin64)) << "}";
    }
    o << "]}\n";
}

void PrintTable(TCliContext& c, const TProjectGroup& g)
{
    QTextStream& o = c.Out;
    o << "Group:         " << g.LastProjectGrp << "\n";
    if (!g.Projects.IsEmpty())
        o << "Settings file: " << g.LastGroupFile
          << (QFileInfo(g.LastGroupFile).isFile() ? "" : " (not written yet)") << "\n";
    o << "Product version " << g.Group.ProdMajor << "." << g.Group.ProdMinor
      << "  Company: " << g.Group.Company << "  Copyright: " << g.Group.Copyright
      << "  Product: " << g.Group.Product << "  Author: " << g.Group.Author << "\n\n";
    if (g.Projects.IsEmpty()) {
        o << "No projects.\n";
        return;
    }
    o << "   " << QStringLiteral("%1").arg(QStringLiteral("Version"), -16) << "Win32 Win64 "
      << "Project (description)\n";
    for (int i = 0; i < g.Projects.Count(); ++i) {
        const TProjectEntry& e = g.Projects[i];
        const TProjectData d = e.Info ? e.Info->ProjectData : TProjectData();
        const QString version = QStringLiteral("%1.%2.%3.%4")
                                    .arg(d.FileVersionMajor)
                                    .arg(d.FileVersionMinor)
                                    .arg(d.FileVersionRelease)
                                    .arg(d.FileVersionBuild);
        o << (e.Checked ? "[x] " : "[ ] ") << QStringLiteral("%1").arg(version, -15)
          << (d.Status.Contains(psWin32) ? "  x   " : "  -   ")
          << (d.Status.Contains(psWin64) ? "  x   " : "  -   ") << e.Text;
        if (!d.FileDescription.isEmpty())
            o << " (" << d.FileDescription << ")";
        if (!QFileInfo(g.ProjectFileName(i)).isFile())
            o << "  [project file missing]";
        o << "\n";
    }
}

int RunList(TCliContext& c, const QStringList& args)
{
    QString group;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(u'-'))
            return c.UsageError(Tr("unknown option %1").arg(a), QLatin1String(ListCommand.Usage));
        else if (group.isEmpty())
            group = a;
        else
            return c.UsageError(Tr("more than one group given"), QLatin1String(ListCommand.Usage));
    }
    if (group.isEmpty())
        return c.UsageError(Tr("no group file given"), QLatin1String(ListCommand.Usage));
    c.LoadConfig();
    TProjectGroup g;
    c.OpenGroup(group, g);
    if (json)
        PrintJson(c, g);
    else
        PrintTable(c, g);
    return ceSuccess;
}

} // namespace

const TCliCommand ListCommand{"list", TrNoop("show the group values and every project"),
                              TrNoop("quorvel-cli [--config FILE] list GROUP [--json]"), RunList};
