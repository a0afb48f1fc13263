#include "cli/CheckCommand.h"

#include "cli/CliArguments.h"
#include "resgen/VersionCheck.h"
#include "support/Translation.h"

namespace
{

int RunCheck(TCliContext& c, const QStringList& args)
{
    QString groupFile;
    TCliArguments parser;
    parser.AddValue("--config", &c.ConfigFile);
    const QString parseError = parser.Parse(args, groupFile);
    if (!parseError.isEmpty())
        return c.UsageError(parseError, QLatin1String(CheckCommand.Usage));
    c.LoadConfig();
    TProjectGroup group;
    c.OpenGroupWithProjects(groupFile, group);
    const QList<TVersionFinding> findings = CheckGroup(group);
    for (const TVersionFinding& f : findings)
        c.Err << f.Entry << ": " << f.Message << "\n";
    c.Err.flush();
    if (!findings.isEmpty())
        return ceFailure;
    const int count = group.Projects.Count();
    c.Out << TrPlural("No warnings for %1 project", "No warnings for %1 projects", count).arg(count)
          << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand CheckCommand{
    "check", TrNoop("warn about what would give wrong version resources"),
    TrNoop("quorvel-cli [--config FILE] check GROUP\n"
           "Warns, one line per finding on standard error, about: a version part above\n"
           "65535; a missing project file; a checked project without a platform; a\n"
           "project file with the IDE's own version information still switched on; a\n"
           "project file whose product version or company differs from the group's.\n"
           "Exit code 1 when there is a warning."),
    RunCheck};
