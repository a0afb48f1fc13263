#pragma once

#include <QApplication>

// The GUI application: an error that an action does not handle itself is
// shown in an error box and the program goes on.
class TQuorvelApplication : public QApplication
{
public:
    TQuorvelApplication(int& argc, char** argv);
    // The program's name and version, as --version shows them.
    static void SetIdentity();
    bool notify(QObject* receiver, QEvent* event) override;
    // Qt's own texts (standard buttons, the options' help) in the user's
    // language, for this application or the one that prints --help.
    static void LoadQtTranslations(QCoreApplication& App);
};
