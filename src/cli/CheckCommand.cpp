#include "cli/CheckCommand.h"

#include "cli/CliArguments.h"
#include "cli/ScriptOptions.h"
#include "resgen/VersionCheck.h"
#include "support/Translation.h"

namespace
{

int RunCheck(TCliContext& c, const QStringList& args)
{
    QString groupFile;
    bool json = false;
    TCliArguments parser = c.CommandArguments();
    parser.AddFlag("--json", &json);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, groupFile, CheckCommand.Usage))
        return *end;
    c.LoadConfig();
    TProjectGroup group;
    c.OpenGroupWithProjects(groupFile, group);
    TScriptOptions options;
    TakeBuildRecord(c, group, options);
    const QList<TVersionFinding> findings =
        CheckGroup(group, options.EscapeValues.value_or(c.Config.EscapeValues));
    for (const TVersionFinding& f : findings)
        c.Err << f.Entry << ": " << f.Message << "\n";
    c.Err.flush();
    const int count = group.Projects.Count();
    if (json) {
        QList<TCliFailure> failures;
        for (const TVersionFinding& f : findings)
            failures.append({f.Entry, QString(), f.Message});
        PrintJsonSummary(c.Out, QJsonObject{{QStringLiteral("projects"), count}}, failures,
                         QStringLiteral("warnings"));
        return findings.isEmpty() ? ceSuccess : ceFailure;
    }
    if (!findings.isEmpty())
        return ceFailure;
    c.Out << TrPlural("No warnings for %1 project", "No warnings for %1 projects", count).arg(count)
          << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand CheckCommand{
    "check", TrNoop("warn about what would give wrong version resources"),
    TrNoop("quorvel-cli [--config FILE] check GROUP [--json]\n"
           "Warns, one line per finding on standard error, about: a version part above\n"
           "65535; a missing project file; a checked project without a platform; a\n"
           "project file with the IDE's own version information still switched on; a\n"
           "project file whose product version or company differs from the group's;\n"
           "a text value the script would carry otherwise than meant, with escaping\n"
           "as the last build recorded it (else as configured); a project the group\n"
           "file lists in a form that is not read.\n"
           "Exit code 1 when there is a warning. --json prints a summary on standard\n"
           "output: the number of projects and every warning with its project."),
    RunCheck};
