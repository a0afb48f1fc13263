#pragma once

#include <QString>

// Where a compiler run reports what keeps it from running: an error box in the
// window, standard error in the command-line tool.
class IErrorReporter
{
public:
    virtual ~IErrorReporter() = default;
    virtual void ShowError(const QString& text) = 0;
};
