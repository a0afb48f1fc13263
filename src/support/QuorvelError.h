#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the system: it carries the message the user sees,
// already translated and filled, so that the window's top-level handler and the
// command-line tool can show it as it stands.
class TQuorvelError : public std::exception
{
public:
    explicit TQuorvelError(QString message, QString reason = QString())
        : FMessage(std::move(message)), FReason(std::move(reason)), FUtf8(FMessage.toUtf8())
    {
    }
    const QString& Message() const noexcept { return FMessage; }
    // The system's reason when the message carries one ("No space left on
    // device"), for a caller that words the error anew.
    const QString& Reason() const noexcept { return FReason; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QString FReason;
    QByteArray FUtf8;
};
