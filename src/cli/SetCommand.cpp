#include "cli/SetCommand.h"

#include "cli/CliArguments.h"
#include "cli/ProjectSelection.h"
#include "project/VersionEdits.h"
#include "support/Translation.h"

namespace
{

int RunSet(TCliContext& c, const QStringList& args)
{
    const QString usage = QLatin1String(SetCommand.Usage);
    QString groupFile;
    QStringList projects, assignments;
    bool all = false;
    TCliArguments parser = c.CommandArguments();
    parser.AddList("--project", &projects);
    parser.AddFlag("--all", &all);
    parser.SetRest(&assignments);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, groupFile, SetCommand.Usage))
        return *end;
    if (all && !projects.isEmpty())
        return c.UsageError(Tr("--all and --project exclude each other"), usage);
    if (assignments.isEmpty())
        return c.UsageError(Tr("no KEY=VALUE given"), usage);

    QList<TVersionEdit> groupEdits, projectEdits;
    for (const QString& assignment : assignments) {
        TVersionEdit edit;
        const QString editError = ParseVersionEdit(assignment, edit);
        if (!editError.isEmpty())
            return c.UsageError(editError, usage);
        (edit.IsProjectKey() ? projectEdits : groupEdits).append(edit);
    }
    if (!projectEdits.isEmpty() && !all && projects.isEmpty())
        return c.UsageError(Tr("%1 is a project key: name the projects with "
                               "--project ENTRY or --all")
                                .arg(EditKeyName(projectEdits.first().Key)),
                            usage);

    TProjectGroup group;
    OpenGroupForChange(c, groupFile, group);
    QList<int> indices;
    const QString selectError = SelectProjects(group, projects, all, indices);
    if (!selectError.isEmpty())
        return c.UsageError(selectError, usage);

    // The edits go over what the file holds under the lock: a run that saved
    // in the meantime keeps its values.
    group.UpdateVersionSettings(c.Defaults(), [&](TProjectGroup& g) {
        for (const TVersionEdit& edit : groupEdits)
            ApplyGroupEdit(g.Group, edit);
        if (!projectEdits.isEmpty())
            for (int i : indices)
                ApplyProjectEdits(g.Projects[i], projectEdits);
        return true;
    });
    c.Out << Tr("Saved %1").arg(group.LastGroupFile) << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand SetCommand{
    "set", TrNoop("change group or project values and save the group's settings"),
    TrNoop("quorvel-cli [--config FILE] set GROUP [--project ENTRY]... [--all] KEY=VALUE...\n"
           "Group keys:   pvMajor pvMinor Company Copyright Product Author\n"
           "Project keys: fvMajor fvMinor fvRelease fvBuild Description Status (0-7)\n"
           "              enabled win32 win64 (true or false)\n"
           "Project keys need the projects: --project ENTRY (as the group file names it,\n"
           "repeatable) or --all. Numbers are decimal. The settings file is saved as the\n"
           "window saves it; a group without one gets it, filled first from the project\n"
           "files and the configured defaults. A usage error changes nothing."),
    RunSet};
