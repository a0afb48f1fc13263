#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The arguments of one command, or of the program before its command: the
// first positional argument (the group file, or the command's name), then
// options in any order, "--name value" or "--name=value" for options with a
// value, and further positional arguments for commands that take them.
// "--help" and "-h" where an option may stand ask for help; as the value of
// an option ("--compiler-options -h") they are that value.
class TCliArguments
{
public:
    // An option without a value.
    void AddFlag(const char* name, bool* value, const char* shortName = nullptr);
    // Two contrary options without a value: the last one given counts.
    void AddSwitch(const char* on, const char* off, std::optional<bool>* value);
    // An option with a value; the last one given counts. A value given, even
    // an empty one, is never null. A short name ("-j") takes its value as the
    // next argument or joined to it ("-j4").
    void AddValue(const char* name, QString* value, const char* shortName = nullptr);
    // An option with a value that may be given more than once.
    void AddList(const char* name, QStringList* values);
    // Where the positional arguments after the first go; without it a second
    // one is a usage error.
    void SetRest(QStringList* rest);
    // Everything after the first positional argument goes to rest as it
    // stands: the program's options end at its command.
    void StopAtFirst(QStringList* rest);

    // Parses the arguments into the places given. Returns the empty text on
    // success or when help was asked for before any error, else the usage
    // error; a missing first positional argument is one unless help was
    // asked for or StopAtFirst was set.
    QString Parse(const QStringList& arguments, QString& first);
    bool HelpRequested() const { return FHelp; }

private:
    struct TOption {
        QString Name;
        QString ShortName;
        bool* Flag = nullptr;
        QString* Value = nullptr;
        QStringList* List = nullptr;
        std::optional<bool>* Switch = nullptr;
        bool SwitchValue = false;
    };
    const TOption* Find(const QString& argument, QString& value, bool& hasValue,
                        bool& isShort) const;

    std::vector<TOption> FOptions;
    QStringList* FRest = nullptr;
    bool FStopAtFirst = false;
    bool FHelp = false;
};
