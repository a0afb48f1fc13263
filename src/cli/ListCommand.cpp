#include "cli/ListCommand.h"

#include "project/GroupFile.h"
#include "project/VersionEdits.h"
#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/Translation.h"

#include <QFileInfo>

namespace
{

// "name": value, both written by QJsonDocument.
QString Member(const QString& name, const QJsonValue& value)
{
    return JsonText(name) + QStringLiteral(": ") + JsonText(value);
}

// A settings-file key as a member: its name and its value.
QString KeyMember(const TVersionEdit& value)
{
    return Member(EditKeyName(value.Key),
                  IsNumberKey(value.Key) ? QJsonValue(value.Number) : QJsonValue(value.Text));
}

// The listing keeps its own layout (members in the settings file's order, a
// project per line), which a QJsonObject, sorting its members, would not.
void PrintJson(TCliContext& c, const TProjectGroup& g)
{
    QTextStream& o = c.Out;
    const auto member = [](const char* name, const QJsonValue& value) {
        return Member(QLatin1String(name), value);
    };
    o << "{" << member("group", g.LastProjectGrp) << ",\n";
    o << " " << member("settingsFile", g.Projects.IsEmpty() ? QString() : g.LastGroupFile) << ",\n";
    QStringList global;
    for (TEditKey key : GroupSettingsKeys())
        global.append(KeyMember(GroupKeyValue(g.Group, key)));
    o << " \"global\": {" << global.join(QStringLiteral(", ")) << "},\n";
    o << " \"projects\": [";
    for (int i = 0; i < g.Projects.Count(); ++i) {
        const TProjectEntry& e = g.Projects[i];
        const TProjectData d = e.Data();
        const QString path = g.ProjectFileName(i);
        QStringList members{member("entry", e.Text), member("path", path),
                            member("exists", QFileInfo(path).isFile())};
        for (TEditKey key : ProjectSettingsKeys())
            members.append(KeyMember(ProjectKeyValue(d, key)));
        members.append(member("checked", e.Checked));
        for (TEditKey key : {ekWin32, ekWin64})
            members.append(Member(EditKeyName(key), ProjectKeyValue(d, key).Number != 0));
        o << (i ? ",\n              " : "") << "{" << members.join(QStringLiteral(", ")) << "}";
    }
    o << "]}\n";
}

void PrintTable(TCliContext& c, const TProjectGroup& g)
{
    QTextStream& o = c.Out;
    // The two labels line up in every language.
    const QString groupLabel = Tr("Group:");
    const QString settingsLabel = Tr("Settings file:");
    const int width = int(qMax(groupLabel.size(), settingsLabel.size())) + 1;
    o << QStringLiteral("%1").arg(groupLabel, -width) << g.LastProjectGrp << "\n";
    if (!g.Projects.IsEmpty())
        o << QStringLiteral("%1").arg(settingsLabel, -width) << g.LastGroupFile
          << (QFileInfo(g.LastGroupFile).isFile() ? QString()
                                                  : QStringLiteral(" ") + Tr("(not written yet)"))
          << "\n";
    o << Tr("Product version %1.%2  Company: %3  Copyright: %4  Product: %5  Author: %6")
             .arg(g.Group.ProdMajor)
             .arg(g.Group.ProdMinor)
             .arg(g.Group.Company, g.Group.Copyright, g.Group.Product, g.Group.Author)
      << "\n\n";
    if (g.Projects.IsEmpty()) {
        o << Tr("No projects.") << "\n";
        return;
    }
    o << "   " << QStringLiteral("%1").arg(Tr("Version"), -16) << "Win32 Win64 "
      << Tr("Project (description)") << "\n";
    for (int i = 0; i < g.Projects.Count(); ++i) {
        const TProjectEntry& e = g.Projects[i];
        const TProjectData d = e.Data();
        const QString version = FileVersionText(d);
        o << (e.Checked ? "[x] " : "[ ] ") << QStringLiteral("%1").arg(version, -15)
          << (d.Status.Contains(psWin32) ? "  x   " : "  -   ")
          << (d.Status.Contains(psWin64) ? "  x   " : "  -   ") << e.Text;
        if (!d.FileDescription.isEmpty())
            o << " (" << d.FileDescription << ")";
        if (!QFileInfo(g.ProjectFileName(i)).isFile())
            o << "  [" << Tr("project file missing") << "]";
        o << "\n";
    }
}

int RunList(TCliContext& c, const QStringList& args)
{
    QString group;
    bool json = false;
    TCliArguments parser = c.CommandArguments();
    parser.AddFlag("--json", &json);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, group, ListCommand.Usage))
        return *end;
    c.LoadConfig();
    TProjectGroup g;
    c.OpenGroup(group, g);
    // On standard error: the listing stays what a pipeline parses.
    for (const QString& item : g.SkippedProjects)
        c.Err << ExtractFileName(g.LastProjectGrp) << ": " << SkippedProjectWarning(item) << "\n";
    if (json)
        PrintJson(c, g);
    else
        PrintTable(c, g);
    return ceSuccess;
}

} // namespace

const TCliCommand ListCommand{"list", TrNoop("show the group values and every project"),
                              TrNoop("quorvel-cli [--config FILE] list GROUP [--json]"), RunList};
