#include "cli/VerifyCommand.h"

#include "cli/CliArguments.h"
#include "cli/ScriptOptions.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/ResourceVerification.h"
#include "resgen/VersionCheck.h"
#include "support/Translation.h"

#include <QHash>

namespace
{

int RunVerify(TCliContext& c, const QStringList& args)
{
    QString groupFile;
    TScriptOptions o;
    bool json = false;
    TCliArguments parser = c.CommandArguments();
    parser.AddFlag("--json", &json);
    AddScriptOptions(parser, o);
    if (const std::optional<int> end =
            c.ParseCommandArguments(parser, args, groupFile, VerifyCommand.Usage))
        return *end;
    c.LoadConfig();
    const QString suffixError = ScriptOptionsError(c, o);
    if (!suffixError.isEmpty())
        return c.UsageError(suffixError, QLatin1String(VerifyCommand.Usage));
    TProjectGroup group;
    c.OpenGroupWithProjects(groupFile, group);
    TakeBuildRecord(c, group, o);
    const TGenerationInput input = ScriptGenerationInput(c, group, o);

    // The scripts a build would write now, written nowhere, and the resource
    // files it would compile them into.
    QHash<QString, TResourceScript> scripts;
    QList<TResourceTarget> targets;
    int failed = 0;
    int count = 0;
    QList<TCliFailure> failures;
    TGenerationActions actions;
    actions.MakeFolder = [](const QString&) { return true; };
    actions.WriteScript = [&scripts](const TResourceScript& script) {
        scripts.insert(script.FileName, script);
        return true;
    };
    actions.Compile = [&targets](const TCompileJob& job) { targets.append(ResourceTarget(job)); };
    // A build skips such a project: none of its resource files can be right.
    actions.ProjectError = [&](const QString& entry, const QString& message) {
        c.Err << entry << ": " << message << "\n";
        failures.append({entry, QString(), message});
        ++failed;
        for (const TGenerationProject& project : input.Projects)
            if (project.Text == entry)
                count += int(project.Data.Status.Contains(psWin32)) +
                         int(project.Data.Status.Contains(psWin64));
    };
    GenerateResources(input, actions);

    for (const TResourceTarget& target : targets) {
        QStringList problems = VerifyResourceFile(target);
        const auto script = scripts.constFind(target.ScriptFile);
        if (script != scripts.constEnd()) {
            const QString outdated = CompareScriptFile(target.ScriptFile, *script);
            if (!outdated.isEmpty())
                problems << outdated;
        }
        for (const QString& problem : problems) {
            c.Err << target.Entry << " (" << target.Platform << "): " << problem << "\n";
            failures.append({target.Entry, target.Platform, problem});
        }
        if (!problems.isEmpty())
            ++failed;
    }
    c.Err.flush();
    count += int(targets.size());
    if (json) {
        PrintJsonSummary(c.Out, QJsonObject{{QStringLiteral("resourceFiles"), count}}, failures);
        return failed > 0 ? ceFailure : ceSuccess;
    }
    if (failed > 0)
        return ceFailure;
    c.Out << TrPlural("%1 resource file carries its project's file version",
                      "%1 resource files carry their projects' file versions", count)
                 .arg(count)
          << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand VerifyCommand{
    "verify", TrNoop("check that the compiled resource files carry the file versions"),
    TrNoop("quorvel-cli [--config FILE] verify GROUP [--template FILE] [--resource-path DIR]\n"
           "         [--suffix32 S] [--suffix64 S] [--escape-values | --no-escape-values]\n"
           "         [--json]\n"
           "For every checked project and platform, reads the .res file a build names,\n"
           "and reports on standard error one that is missing, older than its script, or\n"
           "whose FILEVERSION or FileVersion text differs from the project's file version,\n"
           "and a script that is not what a build would write now (an outdated script).\n"
           "Settings not given come from those the last build recorded beside its\n"
           "scripts (quorvel-build.ini in the resources folder), else from the\n"
           "configuration; the recorded ones taken are named on standard error.\n"
           "Exit code 1 on any report.\n"
           "--json prints a summary on standard output: the number of resource files and\n"
           "every report with its project and platform."),
    RunVerify};
