#pragma once

#include <QString>

// Message translation through GNU gettext. Message identifiers are the English
// texts; a text without a translation comes back unchanged.

// Marks a text for extraction without translating it (for constant tables).
#define TrNoop(text) text

// Translates a text in the domain "default".
QString Tr(const char* msgid);
// Translates a text in the given domain ("default" or "dialogs").
QString TrDomain(const char* domain, const char* msgid);
// Translates a run-time text (a table entry) in the domain "default".
QString TrText(const QString& msgid, const char* domain = "default");

// Binds both text domains to the catalogs beside the program
// (programFolder/locale) or, when none are there, below share/locale.
// The language follows the user's settings.
void InitTranslation(const QString& programFolder);
// The two-letter language the catalogs are looked up for ("en" when none).
QString CurrentLanguage();
