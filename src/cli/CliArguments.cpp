#include "cli/CliArguments.h"

#include "support/Translation.h"

void TCliArguments::AddFlag(const char* name, bool* value, const char* shortName)
{
    TOption o;
    o.Name = QLatin1String(name);
    o.ShortName = QLatin1String(shortName);
    o.Flag = value;
    FOptions.push_back(o);
}

void TCliArguments::AddSwitch(const char* on, const char* off, std::optional<bool>* value)
{
    for (const char* name : {on, off}) {
        TOption o;
        o.Name = QLatin1String(name);
        o.Switch = value;
        o.SwitchValue = name == on;
        FOptions.push_back(o);
    }
}

void TCliArguments::AddValue(const char* name, QString* value, const char* shortName)
{
    TOption o;
    o.Name = QLatin1String(name);
    o.ShortName = QLatin1String(shortName);
    o.Value = value;
    FOptions.push_back(o);
}

void TCliArguments::AddList(const char* name, QStringList* values)
{
    TOption o;
    o.Name = QLatin1String(name);
    o.List = values;
    FOptions.push_back(o);
}

void TCliArguments::SetRest(QStringList* rest)
{
    FRest = rest;
}

void TCliArguments::StopAtFirst(QStringList* rest)
{
    FRest = rest;
    FStopAtFirst = true;
}

const TCliArguments::TOption* TCliArguments::Find(const QString& a, QString& value, bool& hasValue,
                                                  bool& isShort) const
{
    hasValue = false;
    isShort = false;
    for (const TOption& o : FOptions) {
        if (a == o.Name || (!o.ShortName.isEmpty() && a == o.ShortName)) {
            isShort = a == o.ShortName;
            return &o;
        }
    }
    for (const TOption& o : FOptions) {
        const bool takesValue = o.Value || o.List;
        if (takesValue && a.startsWith(o.Name + u'=')) {
            value = a.mid(o.Name.size() + 1);
            hasValue = true;
            return &o;
        }
        // "-j4": a short option's value joined to it.
        if (takesValue && !o.ShortName.isEmpty() && a.startsWith(o.ShortName)) {
            value = a.mid(o.ShortName.size());
            hasValue = true;
            isShort = true;
            return &o;
        }
    }
    return nullptr;
}

QString TCliArguments::Parse(const QStringList& arguments, QString& first)
{
    first.clear();
    FHelp = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            FHelp = true;
            continue;
        }
        QString value;
        bool hasValue = false, isShort = false;
        const TOption* option = a.startsWith(u'-') ? Find(a, value, hasValue, isShort) : nullptr;
        if (!option && (!a.startsWith(u'-') || a == QLatin1String("-"))) {
            if (first.isEmpty()) {
                first = a;
                if (FStopAtFirst) {
                    *FRest = arguments.mid(i + 1);
                    return QString();
                }
            } else if (FRest) {
                FRest->append(a);
            } else if (!FHelp) {
                return Tr("more than one group given");
            }
            continue;
        }
        if (!option) {
            if (FHelp)
                return QString();
            return Tr("unknown option %1").arg(a);
        }
        if (option->Flag) {
            *option->Flag = true;
            continue;
        }
        if (option->Switch) {
            *option->Switch = option->SwitchValue;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return FHelp
                           ? QString()
                           : Tr("%1 needs a value").arg(isShort ? option->ShortName : option->Name);
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
    // Before a command, its absence is the caller's to report.
    if (first.isEmpty() && !FHelp && !FStopAtFirst)
        return Tr("no group file given");
    return QString();
}
