#pragma once

// What the German and the French translation tests share: a sample of the
// window's controls with their English and German captions, the texts a
// window shows by design, a reader for the catalogs in po/, and a driver for
// modal windows. Each test runs in its own program because gettext keeps
// what it once looked up.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace TranslationSamples
{

// One control's text: the object (widget or menu action) is found by name
// below the window; Property is a Qt property holding the text.
struct TCaption {
    const char* Page;
    const char* Object;
    const char* Property;
    const char* English;
    const char* German;
};

// A sample of every page of the main window.
inline const QList<TCaption>& MainWindowCaptions()
{
    static const QList<TCaption> captions{
        {"process", "lbProjectName", "text", "Project group", "Projektgruppe"},
        {"process", "cbProjectGroup", "toolTip", "Delphi projects", "Delphi-Projekte"},
        {"process", "pmiEditList", "text", "Edit list ...", "Liste bearbeiten ..."},
        {"process", "pmiEditList", "toolTip", "Edit list", "Liste bearbeiten"},
        {"process", "pmiCancel", "text", "Cancel", "Abbrechen"},
        {"process", "Label1", "text", "Projects:", "Projekte:"},
        {"process", "sbCheckNone", "toolTip", "Uncheck all projects", "Alle Projekte abwählen"},
        {"process", "gbGroup", "title", "Version info of project group",
         "Versionsinformationen der Projektgruppe"},
        {"process", "laudProdMajor", "text", "Major version", "Hauptversion"},
        {"process", "laudProdMinor", "text", "Minor version", "Nebenversion"},
        {"process", "laedCompany", "text", "Company", "Firma"},
        {"process", "laedProduct", "text", "Product name", "Produktname"},
        {"process", "gbProject", "title", "Version info of selected project",
         "Versionsinformationen des ausgewählten Projekts"},
        {"process", "laudRelease", "text", "Release", "Release"},
        {"process", "sbCopyMinor", "toolTip", "Copy from project group",
         "Aus der Projektgruppe übernehmen"},
        {"process", "laedProject", "text", "Project name", "Projektname"},
        {"process", "laPlatforms", "text", "Platforms:", "Plattformen:"},
        {"process", "cbWin32", "text", "Windows 32 bit", "Windows 32 Bit"},
        {"process", "btSettings", "toolTip", "Settings", "Einstellungen"},
        {"process", "btProcess", "text", "Create resource files", "Ressourcendateien erzeugen"},
        {"process", "btQuit", "toolTip", "Close program", "Programm beenden"},
        {"settings", "Label3", "text", "Global settings", "Globale Einstellungen"},
        {"settings", "laedTemplate", "text", "Template for rc file", "Vorlage für RC-Datei"},
        {"settings", "laedResPath", "text", "Subpath for resources", "Unterordner für Ressourcen"},
        {"settings", "laedSuffix64", "text", "Suffix for Win64", "Suffix für Win64"},
        {"settings", "laedResCompiler", "text", "Resource compiler", "Ressourcencompiler"},
        {"settings", "Label6", "text", "User default settings", "Standardwerte des Benutzers"},
        {"settings", "laedDefAuthor", "text", "Author", "Autor"},
        {"settings", "btBack", "text", "Back", "Zurück"},
        {"editor", "Label4", "text", "Template file", "Vorlagendatei"},
        {"editor", "Label5", "text", "Placeholders:", "Platzhalter:"},
        {"editor", "btnInsert", "text", "Insert", "Einfügen"},
        {"editor", "btOk", "text", "OK", "OK"},
        {"editor", "btCancel", "text", "Cancel", "Abbrechen"},
    };
    return captions;
}

// The list editor, in the domain "dialogs".
inline const QList<TCaption>& ListEditorCaptions()
{
    static const QList<TCaption> captions{
        {"list editor", "EditHistListDialog", "windowTitle", "Edit list entries",
         "Listeneinträge bearbeiten"},
        {"list editor", "btnDelete", "text", "Remove", "Entfernen"},
        {"list editor", "btnDelete", "toolTip", "Remove item", "Eintrag entfernen"},
        {"list editor", "gbxMove", "title", "Move entry", "Verschieben"},
        {"list editor", "UpBtn", "toolTip", "Move item up", "Eintrag nach oben verschieben"},
        {"list editor", "DownBtn", "toolTip", "Move item down", "Eintrag nach unten verschieben"},
        {"list editor", "OKBtn", "text", "OK", "OK"},
        {"list editor", "CancelBtn", "text", "Cancel", "Abbrechen"},
    };
    return captions;
}

// The text a sample row names, or a null string when the object is missing.
inline QString CaptionOf(QWidget* window, const TCaption& caption)
{
    QObject* object = window->objectName() == QLatin1String(caption.Object)
                          ? window
                          : window->findChild<QObject*>(QLatin1String(caption.Object));
    return object ? object->property(caption.Property).toString() : QString();
}

// Every text a window carries by design: window title, captions, tooltips,
// placeholder texts, menu entries and the items of the combos named in
// itemCombos. Edit texts and other combos hold run-time contents and are left
// out; so are the widgets named in skip (the window's own texts too when it
// is named there).
inline QStringList DesignTexts(QWidget* window, const QStringList& itemCombos,
                               const QStringList& skip = {})
{
    QStringList texts;
    auto add = [&](const QString& text) {
        if (!text.isEmpty())
            texts.append(text);
    };
    QList<QWidget*> widgets{window};
    widgets += window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (skip.contains(w->objectName()))
            continue;
        if (w == window)
            add(w->windowTitle());
        add(w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(button->text());
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            add(box->title());
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            add(edit->placeholderText());
        else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (itemCombos.contains(combo->objectName()))
                for (int i = 0; i < combo->count(); ++i)
                    add(combo->itemText(i));
        }
        for (QAction* action : w->actions()) {
            if (action->isSeparator())
                continue;
            add(action->text());
            // An action without a tooltip of its own shows its text without
            // the dots and mnemonics.
            QString shown = action->text();
            shown.remove(QStringLiteral("...")).remove(u'&');
            if (action->toolTip() != shown.trimmed())
                add(action->toolTip());
        }
    }
    return texts;
}

// One entry of a catalog or template. An entry with a plural form has its
// translations in Forms (MsgStr is the first of them).
struct TPoEntry {
    QString MsgId;
    QString MsgIdPlural;
    QString MsgStr;
    QStringList Forms;
    bool Fuzzy = false;
};

inline QString PoUnquote(const QString& quoted)
{
    const QString body = quoted.trimmed().mid(1).chopped(1);
    QString out;
    for (int i = 0; i < body.size(); ++i) {
        if (body[i] != u'\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const QChar c = body[++i];
        out += c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c;
    }
    return out;
}

// The entries of a .po or .pot file (header and obsolete entries left out).
inline QList<TPoEntry> ReadPoFile(const QString& fileName)
{
    QList<TPoEntry> entries;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    TPoEntry current;
    QString* field = nullptr;
    bool open = false;
    auto finish = [&] {
        if (!current.Forms.isEmpty())
            current.MsgStr = current.Forms.first();
        if (open && !current.MsgId.isEmpty())
            entries.append(current);
        current = TPoEntry();
        field = nullptr;
        open = false;
    };
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) {
            finish();
        } else if (line.startsWith(QLatin1String("#,"))) {
            current.Fuzzy = current.Fuzzy || line.contains(QLatin1String("fuzzy"));
        } else if (line.startsWith(u'#')) {
            continue;
        } else if (line.startsWith(QLatin1String("msgid "))) {
            open = true;
            current.MsgId = PoUnquote(line.mid(6));
            field = &current.MsgId;
        } else if (line.startsWith(QLatin1String("msgid_plural "))) {
            current.MsgIdPlural = PoUnquote(line.mid(13));
            field = &current.MsgIdPlural;
        } else if (line.startsWith(QLatin1String("msgstr "))) {
            current.MsgStr = PoUnquote(line.mid(7));
            field = &current.MsgStr;
        } else if (line.startsWith(QLatin1String("msgstr["))) {
            const int text = line.indexOf(QLatin1String("] "));
            current.Forms.append(PoUnquote(line.mid(text + 2)));
            field = &current.Forms.last();
        } else if (line.startsWith(u'"') && field) {
            *field += PoUnquote(line);
        }
    }
    finish();
    return entries;
}

inline QSet<QString> MsgIds(const QString& fileName)
{
    QSet<QString> ids;
    for (const TPoEntry& e : ReadPoFile(fileName))
        ids.insert(e.MsgId);
    return ids;
}

// The placeholders of a message in order: %s and %d (filled by the program's
// own formatting) and %1 to %9 (filled by Qt).
inline QStringList MessagePlaceholders(const QString& message)
{
    static const QRegularExpression pattern(QStringLiteral("%[sd1-9]"));
    QStringList found;
    auto it = pattern.globalMatch(message);
    while (it.hasNext())
        found.append(it.next().captured());
    return found;
}

// Opens a modal window through open() while driver() looks at it once it is
// shown; the window is closed afterwards so that a failing check cannot hang.
// Returns whether the driver saw a window.
inline bool DriveModal(const std::function<void()>& open,
                       const std::function<void(QWidget*)>& driver)
{
    bool driven = false;
    // The timer lives as long as the call: it cannot fire after open() returned.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        driven = true;
        driver(modal);
        if (modal->isVisible())
            modal->close();
    });
    poll.start();
    open();
    poll.stop();
    return driven;
}

} // namespace TranslationSamples
