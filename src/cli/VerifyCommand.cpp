#include "cli/VerifyCommand.h"

#include "cli/CliArguments.h"
#include "resgen/ResourceGenerator.h"
#include "resgen/VersionCheck.h"
#include "support/Translation.h"

namespace
{

// A value given on the command line, even an empty one, wins over the
// configuration's, as for build.
QString Pick(const QString& given, const QString& configured)
{
    return given.isNull() ? configured : given;
}

int RunVerify(TCliContext& c, const QStringList& args)
{
    QString groupFile, resourcePath, suffix32, suffix64;
    TCliArguments parser;
    parser.AddValue("--resource-path", &resourcePath);
    parser.AddValue("--suffix32", &suffix32);
    parser.AddValue("--suffix64", &suffix64);
    parser.AddValue("--config", &c.ConfigFile);
    const QString parseError = parser.Parse(args, groupFile);
    if (!parseError.isEmpty())
        return c.UsageError(parseError, QLatin1String(VerifyCommand.Usage));
    c.LoadConfig();
    const QString suffixError =
        SuffixClash(Pick(suffix32, c.Config.Win32Suffix), Pick(suffix64, c.Config.Win64Suffix));
    if (!suffixError.isEmpty())
        return c.UsageError(suffixError, QLatin1String(VerifyCommand.Usage));
    TProjectGroup group;
    c.OpenGroupWithProjects(groupFile, group);
    const QList<TResourceTarget> targets =
        ResourceTargets(group, Pick(resourcePath, c.Config.ResourcePath),
                        Pick(suffix32, c.Config.Win32Suffix), Pick(suffix64, c.Config.Win64Suffix));
    int failed = 0;
    for (const TResourceTarget& target : targets) {
        const QStringList problems = VerifyResourceFile(target);
        for (const QString& problem : problems)
            c.Err << target.Entry << " (" << target.Platform << "): " << problem << "\n";
        if (!problems.isEmpty())
            ++failed;
    }
    c.Err.flush();
    if (failed > 0)
        return ceFailure;
    const int count = int(targets.size());
    c.Out << TrPlural("%1 resource file carries its project's file version",
                      "%1 resource files carry their projects' file versions", count)
                 .arg(count)
          << "\n";
    return ceSuccess;
}

} // namespace

const TCliCommand VerifyCommand{
    "verify", TrNoop("check that the compiled resource files carry the file versions"),
    TrNoop("quorvel-cli [--config FILE] verify GROUP [--resource-path DIR] [--suffix32 S]\n"
           "         [--suffix64 S]\n"
           "For every checked project and platform, reads the .res file a build names,\n"
           "and reports on standard error one that is missing, older than its script, or\n"
           "whose FILEVERSION or FileVersion text differs from the project's file version.\n"
           "Settings not given come from the configuration. Exit code 1 on any report."),
    RunVerify};
