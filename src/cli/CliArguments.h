#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The arguments of one command: the group file first, then options in any
// order, "--name value" or "--name=value" for options with a value, and the
// positional arguments after the group for commands that take them.
class TCliArguments
{
public:
    // An option without a value.
    void AddFlag(const char* name, bool* value);
    // An option with a value; the last one given counts. A value given, even
    // an empty one, is never null. A short name ("-j") takes its value as the
    // next argument or joined to it ("-j4").
    void AddValue(const char* name, QString* value, const char* shortName = nullptr);
    // An option with a value that may be given more than once.
    void AddList(const char* name, QStringList* values);
    // Where the positional arguments after the group go; without it a second
    // one is a usage error.
    void SetRest(QStringList* rest);

    // Parses the arguments into the places given. Returns the empty text on
    // success, else the usage error.
    QString Parse(const QStringList& arguments, QString& group) const;

private:
    struct TOption {
        QString Name;
        QString ShortName;
        bool* Flag = nullptr;
        QString* Value = nullptr;
        QStringList* List = nullptr;
    };
    std::vector<TOption> FOptions;
    QStringList* FRest = nullptr;
};
