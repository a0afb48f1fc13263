#include "resgen/LogSink.h"

void ILogSink::AppendLine(const QString& line)
{
    if (AtLineStart())
        AppendText(line + QStringLiteral("\r\n"));
    else
        AppendText(QStringLiteral("\r\n") + line);
}

void ILogSink::EndLine()
{
    if (!AtLineStart())
        AppendText(QStringLiteral("\r\n"));
}
