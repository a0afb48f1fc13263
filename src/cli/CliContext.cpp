#include "cli/CliContext.h"

#include "support/PathHelpers.h"
#include "support/QuorvelError.h"
#include "support/TextFile.h"
#include "support/Translation.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

TCliContext::TCliContext() : Err(stderr)
{
    StdOut.open(stdout, QIODevice::WriteOnly);
    Out.setDevice(&StdOut);
    Out.setEncoding(QStringConverter::Utf8);
    Err.setEncoding(QStringConverter::Utf8);
    Paths = CurrentProgramPaths();
}

void TCliContext::LoadConfig()
{
    QString appPath, userPath, progPath;
    GetProgramFolders(appPath, userPath, progPath, false, Paths.ExePath);
    const bool named = !ConfigFile.isNull();
    // The window's configuration file: the tool reads the same one.
    const QString file = named ? ConfigFile : ConfigurationFileName(appPath);
    // A mistyped --config must not quietly build with the defaults.
    if (named || QFileInfo::exists(file))
        ReadFileBytes(file);
    Config = LoadConfiguration(file, Paths.ExePath, userPath);
}

TUserDefaults TCliContext::Defaults() const
{
    return TUserDefaults{Config.DefaultAuthor, Config.DefaultCompany, Config.DefaultCopyright};
}

bool TCliContext::OpenGroup(const QString& groupFile, TProjectGroup& group) const
{
    QStringList history;
    const QString absolute = QDir::toNativeSeparators(QFileInfo(groupFile).absoluteFilePath());
    return group.OpenProjectGroup(absolute, history, Defaults());
}

void TCliContext::OpenGroupWithProjects(const QString& groupFile, TProjectGroup& group) const
{
    // Nothing to build or check must not pass in a pipeline as all right.
    if (!OpenGroup(groupFile, group))
        throw TQuorvelError(Tr("No projects in %1").arg(group.LastProjectGrp));
}

int TCliContext::UsageError(const QString& message, const QString& usage)
{
    LastError = message;
    if (!message.isEmpty())
        Err << "quorvel-cli: " << message << "\n";
    // The usage text is the command's English one: translated here.
    Err << Tr("usage: ") << TrText(usage) << "\n";
    Err.flush();
    return ceUsage;
}

int TCliContext::Refuse(const QString& message)
{
    LastError = message;
    Err << "quorvel-cli: " << message << "\n";
    Err.flush();
    return ceFailure;
}

QString ForTextMode(const QString& text)
{
#ifdef Q_OS_WIN
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return result;
#else
    return text;
#endif
}

TCliArguments TCliContext::CommandArguments()
{
    TCliArguments parser;
    parser.AddValue("--config", &ConfigFile);
    return parser;
}

std::optional<int> TCliContext::ParseCommandArguments(TCliArguments& parser,
                                                      const QStringList& arguments, QString& group,
                                                      const char* usage)
{
    const QString error = parser.Parse(arguments, group);
    if (parser.HelpRequested()) {
        Out << Tr("usage: ") << TrText(QLatin1String(usage)) << "\n";
        return ceSuccess;
    }
    if (!error.isEmpty())
        return UsageError(error, QLatin1String(usage));
    return std::nullopt;
}

QString JsonText(const QJsonValue& value)
{
    // The writer's compact form of a one-element array, without the brackets.
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

void PrintJsonSummary(QTextStream& out, QJsonObject summary, const QList<TCliFailure>& failures,
                      const QString& listName)
{
    QJsonArray list;
    for (const TCliFailure& f : failures)
        list.append(QJsonObject{{QStringLiteral("project"), f.Project},
                                {QStringLiteral("platform"), f.Platform},
                                {QStringLiteral("reason"), f.Reason}});
    summary.insert(listName, list);
    out << QString::fromUtf8(QJsonDocument(summary).toJson(QJsonDocument::Indented));
    out.flush();
}
