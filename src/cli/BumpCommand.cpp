#include "cli/BumpCommand.h"

#include "cli/CliArguments.h"
#include "cli/ProjectSelection.h"
#include "project/VersionEdits.h"
#include "support/Translation.h"

namespace
{

int RunBump(TCliContext& c, const QStringList& args)
{
    const QString usage = QLatin1String(BumpCommand.Usage);
    QString groupFile;
    QStringList projects;
    bool all = false;
    bool parts[4] = {false, false, false, false};
    TCliArguments parser = c.CommandArguments();
    parser.AddFlag("--major", &parts[vpMajor]);
    parser.AddFlag("--minor", &parts[vpMinor]);
    parser.AddFlag("--release", &parts[vpRelease]);
    parser.AddFlag("--build", &parts[vpBuild]);
    parser.AddList("--project", &projects);
    parser.AddFlag("--all", &all);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, groupFile, BumpCommand.Usage))
        return *end;
    int partCount = 0;
    TVersionPart part = vpBuild;
    for (int p = vpMajor; p <= vpBuild; ++p)
        if (parts[p]) {
            ++partCount;
            part = TVersionPart(p);
        }
    if (partCount != 1)
        return c.UsageError(Tr("give exactly one of --major, --minor, --release, --build"), usage);
    if (all && !projects.isEmpty())
        return c.UsageError(Tr("--all and --project exclude each other"), usage);

    TProjectGroup group;
    OpenGroupForChange(c, groupFile, group);
    QList<int> indices;
    if (all || !projects.isEmpty()) {
        const QString selectError = SelectProjects(group, projects, all, indices);
        if (!selectError.isEmpty())
            return c.UsageError(selectError, usage);
    } else {
        for (int i = 0; i < group.Projects.Count(); ++i)
            if (group.Projects[i].Checked)
                indices.append(i);
        if (indices.isEmpty())
            return c.Refuse(
                Tr("no project of the group is checked; name them with --project ENTRY or --all"));
    }

    // Raises the part of every project named; on a part that cannot be
    // raised, the usage error naming it.
    QStringList report;
    const auto raise = [&]() -> QString {
        report.clear();
        for (int i : indices) {
            TProjectEntry& entry = group.Projects[i];
            TProjectData data = entry.Data();
            const QString before = FileVersionText(data);
            if (!BumpFileVersion(data, part))
                return entry.Text + QStringLiteral(": ") +
                       Tr("the file version %1 cannot be raised further: a version resource "
                          "holds no part above 65535")
                           .arg(before);
            entry.Info = std::make_unique<TProjectInfo>(data);
            report << QStringLiteral("%1: %2 -> %3").arg(entry.Text, before, FileVersionText(data));
        }
        return QString();
    };
    // Nothing is saved when one of the projects cannot be raised; the
    // values are read again under the lock, so that concurrent runs each
    // raise the version the other one saved.
    QString raiseError = raise();
    if (raiseError.isEmpty())
        group.UpdateVersionSettings(c.Defaults(), [&](TProjectGroup&) {
            raiseError = raise();
            return raiseError.isEmpty();
        });
    // A well-formed request the values do not allow: no usage text.
    if (!raiseError.isEmpty())
        return c.Refuse(raiseError);
    for (const QString& line : report)
        c.Out << line << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand BumpCommand{
    "bump", TrNoop("raise one part of the file version and save the group's settings"),
    TrNoop("quorvel-cli [--config FILE] bump GROUP (--major|--minor|--release|--build)\n"
           "         [--project ENTRY]... [--all]\n"
           "Raises that part of the file version of the named projects (default: the\n"
           "checked ones) by 1 and sets the lower parts to 0; prints old -> new per\n"
           "project and saves the settings file as set does."),
    RunBump};
