#pragma once

#include "dialogs/FileDialogs.h"
#include "dialogs/MessageBoxes.h"

#include <QList>
#include <QString>
#include <QStringList>

// Message boxes that record what they were asked to show and answer OK.
class TMessageBoxesStub : public IMessageBoxes
{
public:
    struct TCall {
        bool Error;
        QString Title;
        QString Text;
    };
    QList<TCall> Calls;
    int ShowInfo(const QString& Title, const QString& Text, TDefaultMonitor) override
    {
        Calls.append({false, Title, Text});
        return 1;
    }
    int ShowError(const QString& Text, TDefaultMonitor) override
    {
        Calls.append({true, QString(), Text});
        return 1;
    }
    // Each question takes the next answer; with none left, Yes.
    QList<bool> Answers;
    QStringList Questions;
    bool Confirm(const QString& Text, TDefaultMonitor) override
    {
        Questions.append(Text);
        return Answers.isEmpty() || Answers.takeFirst();
    }
    QStringList Errors() const
    {
        QStringList result;
        for (const TCall& c : Calls)
            if (c.Error)
                result.append(c.Text);
        return result;
    }
};

// A file dialog whose answers are preset: each call takes the next answer
// (an empty one cancels); with no answer left it cancels.
class TFileDialogsStub : public IFileDialogs
{
public:
    QStringList Answers;
    QList<TOpenDialogRequest> Requests;
    void SetNextFileName(const QString& fileName) { Answers.append(fileName); }
    void SetNextCancel() { Answers.append(QString()); }
    bool ExecuteOpen(const TOpenDialogRequest& Request, QString& FileName) override
    {
        Requests.append(Request);
        if (Answers.isEmpty())
            return false;
        const QString answer = Answers.takeFirst();
        if (answer.isEmpty())
            return false;
        FileName = answer;
        return true;
    }
};
