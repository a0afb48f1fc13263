#include "resgen/OutputDecoder.h"

#include "support/CodePage.h"

QString TOutputDecoder::Decode(const QByteArray& bytes)
{
    QString text = DecodeCodePage(bytes, cpOem850);
    if (FPendingCr)
        text.prepend(u'\r');
    FPendingCr = text.endsWith(u'\r');
    if (FPendingCr)
        text.chop(1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

QString TOutputDecoder::Finish()
{
    const bool pending = FPendingCr;
    FPendingCr = false;
    return pending ? QStringLiteral("\r") : QString();
}
