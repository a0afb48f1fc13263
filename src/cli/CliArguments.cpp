#include "cli/CliArguments.h"

#include "support/Translation.h"

void TCliArguments::AddFlag(const char* name, bool* value)
{
    FOptions.push_back(TOption{QLatin1String(name), QString(), value, nullptr, nullptr});
}

void TCliArguments::AddValue(const char* name, QString* value, const char* shortName)
{
    FOptions.push_back(
        TOption{QLatin1String(name), QLatin1String(shortName), nullptr, value, nullptr});
}

void TCliArguments::AddList(const char* name, QStringList* values)
{
    FOptions.push_back(TOption{QLatin1String(name), QString(), nullptr, nullptr, values});
}

void TCliArguments::SetRest(QStringList* rest)
{
    FRest = rest;
}

QString TCliArguments::Parse(const QStringList& arguments, QString& group) const
{
    group.clear();
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const TOption* option = nullptr;
        QString value;
        bool hasValue = false;
        bool isShort = false;
        for (const TOption& o : FOptions) {
            if (o.ShortName.isEmpty() || !a.startsWith(o.ShortName))
                continue;
            option = &o;
            isShort = true;
            hasValue = a.size() > o.ShortName.size();
            if (hasValue)
                value = a.mid(o.ShortName.size());
            break;
        }
        if (!option && !a.startsWith(QLatin1String("--"))) {
            if (group.isEmpty())
                group = a;
            else if (FRest)
                FRest->append(a);
            else
                return Tr("more than one group given");
            continue;
        }
        for (const TOption& o : FOptions) {
            if (option)
                break;
            if (a == o.Name) {
                option = &o;
                break;
            }
            if (!o.Flag && a.startsWith(o.Name + u'=')) {
                option = &o;
                value = a.mid(o.Name.size() + 1);
                hasValue = true;
                break;
            }
        }
        if (!option)
            return Tr("unknown option %1").arg(a);
        if (option->Flag) {
            *option->Flag = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return Tr("%1 needs a value").arg(isShort ? option->ShortName : option->Name);
            value = arguments[++i];
        }
        // A null value would read as "not given".
        if (value.isNull())
            value = QStringLiteral("");
        if (option->Value)
            *option->Value = value;
        else
            option->List->append(value);
    }
    if (group.isEmpty())
        return Tr("no group file given");
    return QString();
}
