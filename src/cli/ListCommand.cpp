#include "cli/ListCommand.h"

#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QFileInfo>

namespace {

// The listing keeps its own layout (members in this order, a project per
// line); every value is written by QJsonDocument.
void PrintJson(TCliContext& c, const TProjectGroup& g)
{
    QTextStream& o = c.Out;
    const auto member = [](const char* name, const QJsonValue& value) {
        return JsonText(QLatin1String(name)) + QStringLiteral(": ") + JsonText(value);
    };
    o << "{" << member("group", g.LastProjectGrp) << ",\n";
    o << " " << member("settingsFile", g.Projects.IsEmpty() ? QString() : g.LastGroupFile)
      << ",\n";
    o << " \"global\": {" << member("pvMajor", g.Group.ProdMajor) << ", "
      << member("pvMinor", g.Group.ProdMinor) << ", " << member("Company", g.Group.Company) << ", "
      << member("Copyright", g.Group.Copyright) << ", " << member("Product", g.Group.Product)
      << ", " << member("Author", g.Group.Author) << "},\n";
    o << " \"projects\": [";
    for (int i = 0; i < g.Projects.Count(); ++i) {
        const TProjectEntry& e = g.Projects[i];
        const TProjectData d = e.Info ? e.Info->ProjectData : TProjectData();
        const QString path = g.ProjectFileName(i);
        o << (i ? ",\n              " : "") << "{" << member("entry", e.Text) << ", "
          << member("path", path) << ", " << member("exists", QFileInfo(path).isFile()) << ", "
          << member("fvMajor", d.FileVersionMajor) << ", " << member("fvMinor", d.FileVersionMinor)
          << ", " << member("fvRelease", d.FileVersionRelease) << ", "
          << member("fvBuild", d.FileVersionBuild) << ", "
          << member("Description", d.FileDescription) << ", "
          << member("Status", StatesToInt(d.Status)) << ", " << member("checked", e.Checked)
          << ", " << member("win32", d.Status.Contains(psWin32)) << ", "
          << member("win64", d.Status.Contains(psWin64)) << "}";
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
