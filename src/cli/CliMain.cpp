#include "cli/CliMain.h"

#include <QCoreApplication>
#include <cstdio>

int CliMain(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fputs("usage: quorvel-cli COMMAND ...\n", stderr);
    return 2;
}
