#pragma once

#include <QString>

// Message translation through GNU gettext. Message identifiers are the English
// texts; a text without a translation comes back unchanged.

// Marks a text of the domain "default" for extraction without translating it:
// constant tables and the design-time captions of the main window, which are
// translated later (TrText, TranslateComponent).
#define TrNoop(text) text
// The same for the domain "dialogs" (the list editor's captions).
#define DlgNoop(text) text

// Translates a text in the domain "default".
QString Tr(const char* msgid);
// Translates a text in the given domain ("default" or "dialogs").
QString TrDomain(const char* domain, const char* msgid);
// Translates a text whose wording depends on a number n (singular and plural
// English forms) in the domain "default"; the caller fills in n.
QString TrPlural(const char* singular, const char* plural, unsigned long n);
// Translates a run-time text (a table entry) in the domain "default".
QString TrText(const QString& msgid, const char* domain = "default");

// The folder holding the catalogs (<language>/LC_MESSAGES/<domain>.mo):
// programFolder/locale when it exists (the build tree), else
// programFolder/../share/locale (an installation), else the installation
// folder the program was built for.
QString CatalogFolder(const QString& programFolder);
// Binds both text domains to CatalogFolder(programFolder). The language
// follows the user's settings.
void InitTranslation(const QString& programFolder);
// The two-letter language the catalogs are looked up for ("en" when none).
QString CurrentLanguage();
