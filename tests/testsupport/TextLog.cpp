#include "testsupport/TextLog.h"

bool TTextLog::AtLineStart() const
{
    return FText.isEmpty() || FText.endsWith(u'\n') || FText.endsWith(u'\r');
}
