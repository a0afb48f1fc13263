#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "support/ProjectState.h"

#include <QString>
#include <QStringList>

// Filling a resource template: the $-placeholders replaced by one project's and
// the group's version values, with CR LF line breaks throughout.

// Replaces every "$" + name in the text, found without regard to case and
// without regard to word boundaries, from left to right. The search goes on
// after each inserted value, so a value is never searched by its own
// substitution.
QString SubstitutePlaceholder(const QString& text, const QString& name, const QString& value);

// Splits the text at CR LF, lone CR and lone LF and joins the lines again, each
// followed by CR LF. An empty text stays empty; a final line break gives no
// extra line.
QString NormaliseLineBreaks(const QString& text);

// A text as the contents of a resource string: '"' and '\' doubled, every
// character outside printable ASCII (0x20 to 0x7E) as "\x" and the four
// upper-case hex digits of its UTF-16 code unit.
QString EscapeResourceString(const QString& text);

// The template's lines, each followed by CR LF.
QString TemplateText(const QStringList& templateLines);

// The template filled with everything but the platform: the eleven value
// placeholders in their fixed order. With escapeValues the five text values
// go in through EscapeResourceString, otherwise unchanged but for each double
// quote, which is doubled.
QString FillTemplate(const QStringList& templateLines, const TProjectData& project,
                     const TGroupValues& group, bool escapeValues);

// The text for "$Platform": "32-bit" for psWin32, "64-bit" for psWin64.
QString PlatformText(TProjectState platform);

// A filled template with "$Platform" replaced for one platform, normalised.
QString FillPlatform(const QString& filledTemplate, TProjectState platform);

// Empty unless escaping is off and the text value holds a backslash or a
// control character (a line break among them), which a compiler reads as an
// escape or a break of the script: then the warning naming the key and the
// option that fixes it.
QString RawValueWarning(const QString& key, const QString& value, bool escapeValues);
// The warnings of RawValueWarning for the five text values of a script.
QStringList RawValueWarnings(const TProjectData& project, const TGroupValues& group,
                             bool escapeValues);
