// Qt's own texts in Romanian: the folder and file choosers, the fields' right-click menus,
// the standard buttons and the scroll bars' menu. Debian ships no Romanian catalogue of
// Qt's texts, so the program carries the ones its windows show; a "qtbase_ro.qm" found in
// Qt's translations folder is loaded as well, beneath ours, for whatever we do not carry.
// Header only, so that the test programs load the same texts without the window library.
#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace focaris::gui {

class QtRomanianTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    // `context` is the Qt class asking; the disambiguation is not needed for these texts.
    QString translate(const char *context, const char *sourceText, const char * = nullptr, int = -1) const override
    {
        return table().value(QLatin1String(context) + QLatin1Char('|') + QString::fromUtf8(sourceText));
    }

private:
    static const QHash<QString, QString> &table()
    {
        static const QHash<QString, QString> texts = [] {
            struct Entry {
                const char *context, *source, *romanian;
            };
            static const Entry entries[] = {
                {"QPlatformTheme", "OK", "OK"},
                {"QPlatformTheme", "Cancel", "Renunt"},
                {"QPlatformTheme", "Open", "Deschide"},
                {"QPlatformTheme", "Save", "Salveaza"},
                {"QPlatformTheme", "Close", "Inchide"},
                {"QPlatformTheme", "Apply", "Aplica"},
                {"QPlatformTheme", "&Yes", "&Da"},
                {"QPlatformTheme", "&No", "&Nu"},
                {"QPlatformTheme", "Yes to &All", "Da la &toate"},
                {"QPlatformTheme", "N&o to All", "N&u la toate"},
                {"QPlatformTheme", "Abort", "Abandoneaza"},
                {"QPlatformTheme", "Retry", "Reincearca"},
                {"QPlatformTheme", "Ignore", "Ignora"},
                {"QPlatformTheme", "Help", "Ajutor"},
                {"QPlatformTheme", "Reset", "Reinitializeaza"},
                {"QPlatformTheme", "Restore Defaults", "Valorile initiale"},
                {"QPlatformTheme", "Save All", "Salveaza tot"},
                {"QPlatformTheme", "Discard", "Nu pastra"},
                {"QPlatformTheme", "Don't Save", "Nu salva"},
                {"QPlatformTheme", "Close without Saving", "Inchide fara salvare"},

                {"QFileDialog", "Look in:", "Cauta in:"},
                {"QFileDialog", "Back", "Inapoi"},
                {"QFileDialog", "Go back", "Mergi inapoi"},
                {"QFileDialog", "Forward", "Inainte"},
                {"QFileDialog", "Go forward", "Mergi inainte"},
                {"QFileDialog", "Parent Directory", "Dosarul parinte"},
                {"QFileDialog", "Go to the parent directory", "Mergi la dosarul parinte"},
                {"QFileDialog", "Create New Folder", "Dosar nou"},
                {"QFileDialog", "Create a New Folder", "Creeaza un dosar nou"},
                {"QFileDialog", "List View", "Lista"},
                {"QFileDialog", "Change to list view mode", "Arata ca lista"},
                {"QFileDialog", "Detail View", "Detalii"},
                {"QFileDialog", "Change to detail view mode", "Arata cu detalii"},
                {"QFileDialog", "Sidebar", "Locuri"},
                {"QFileDialog", "List of places and bookmarks", "Lista locurilor si a semnelor de carte"},
                {"QFileDialog", "Files", "Fisiere"},
                {"QFileDialog", "Files of type:", "Fisiere de tipul:"},
                {"QFileDialog", "File &name:", "&Nume fisier:"},
                {"QFileDialog", "&Open", "&Deschide"},
                {"QFileDialog", "&Save", "&Salveaza"},
                {"QFileDialog", "&Choose", "&Alege"},
                {"QFileDialog", "Open", "Deschide"},
                {"QFileDialog", "Save As", "Salveaza ca"},
                {"QFileDialog", "Find Directory", "Alege dosarul"},
                {"QFileDialog", "All Files (*)", "Toate fisierele (*)"},
                {"QFileDialog", "Show ", "Arata "},
                {"QFileDialog", "&Rename", "&Redenumeste"},
                {"QFileDialog", "&Delete", "&Sterge"},
                {"QFileDialog", "Show &hidden files", "Arata fisierele &ascunse"},
                {"QFileDialog", "&New Folder", "Dosar &nou"},
                {"QFileDialog", "New Folder", "Dosar nou"},
                {"QFileDialog", "Directories", "Dosare"},
                {"QFileDialog", "Directory:", "Dosar:"},
                {"QFileDialog", "Recent Places", "Locuri recente"},
                {"QFileDialog", "My Computer", "Computerul meu"},
                {"QFileDialog", "Unknown", "Necunoscut"},
                {"QFileDialog", "Are you sure you want to delete '%1'?", "Stergeti '%1'?"},
                {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
                 "'%1' este protejat la scriere.\nIl stergem totusi?"},
                {"QFileDialog", "Could not delete directory.", "Dosarul nu a putut fi sters."},
                {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 exista deja.\nIl inlocuim?"},
                {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
                 "%1\nFisierul nu exista.\nVerificati numele fisierului."},
                {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
                 "%1\nDosarul nu exista.\nVerificati numele dosarului."},

                {"QFileSystemModel", "Name", "Nume"},
                {"QFileSystemModel", "Size", "Marime"},
                {"QFileSystemModel", "Type", "Tip"},
                {"QFileSystemModel", "Kind", "Tip"},
                {"QFileSystemModel", "Date Modified", "Data modificarii"},
                {"QFileSystemModel", "Computer", "Computer"},
                {"QFileSystemModel", "My Computer", "Computerul meu"},
                {"QFileSystemModel", "Invalid filename", "Nume de fisier incorect"},
                {"QFileSystemModel",
                 "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or no "
                 "punctuation marks.",
                 "<b>Numele \"%1\" nu poate fi folosit.</b><p>Incercati alt nume, mai scurt sau fara semne de "
                 "punctuatie."},
                {"QAbstractFileIconProvider", "Drive", "Disc"},
                {"QAbstractFileIconProvider", "Folder", "Dosar"},
                {"QAbstractFileIconProvider", "File", "Fisier"},
                {"QAbstractFileIconProvider", "%1 File", "Fisier %1"},

                {"QLineEdit", "&Undo", "&Anuleaza"},
                {"QLineEdit", "&Redo", "&Refa"},
                {"QLineEdit", "Cu&t", "&Taie"},
                {"QLineEdit", "&Copy", "&Copiaza"},
                {"QLineEdit", "&Paste", "&Lipeste"},
                {"QLineEdit", "Delete", "Sterge"},
                {"QLineEdit", "Select All", "Selecteaza tot"},
                {"QWidgetTextControl", "&Undo", "&Anuleaza"},
                {"QWidgetTextControl", "&Redo", "&Refa"},
                {"QWidgetTextControl", "Cu&t", "&Taie"},
                {"QWidgetTextControl", "&Copy", "&Copiaza"},
                {"QWidgetTextControl", "Copy &Link Location", "Copiaza adresa &legaturii"},
                {"QWidgetTextControl", "&Paste", "&Lipeste"},
                {"QWidgetTextControl", "Delete", "Sterge"},
                {"QWidgetTextControl", "Select All", "Selecteaza tot"},
                {"QAbstractSpinBox", "&Select All", "&Selecteaza tot"},
                {"QAbstractSpinBox", "&Step up", "&Creste"},
                {"QAbstractSpinBox", "Step &down", "&Scade"},

                {"QScrollBar", "Scroll here", "Deruleaza pana aici"},
                {"QScrollBar", "Left edge", "Marginea din stanga"},
                {"QScrollBar", "Top", "Inceput"},
                {"QScrollBar", "Right edge", "Marginea din dreapta"},
                {"QScrollBar", "Bottom", "Sfarsit"},
                {"QScrollBar", "Page left", "O pagina la stanga"},
                {"QScrollBar", "Page up", "O pagina in sus"},
                {"QScrollBar", "Page right", "O pagina la dreapta"},
                {"QScrollBar", "Page down", "O pagina in jos"},
                {"QScrollBar", "Scroll left", "La stanga"},
                {"QScrollBar", "Scroll up", "In sus"},
                {"QScrollBar", "Scroll right", "La dreapta"},
                {"QScrollBar", "Scroll down", "In jos"},
                {"QMessageBox", "Show Details...", "Arata detaliile..."},
                {"QMessageBox", "Hide Details...", "Ascunde detaliile..."},
            };
            QHash<QString, QString> h;
            for (const Entry &e : entries)
                h.insert(QLatin1String(e.context) + QLatin1Char('|') + QString::fromUtf8(e.source),
                         QString::fromUtf8(e.romanian));
            return h;
        }();
        return texts;
    }
};

// Installs the Romanian texts on the running application whatever the system's locale:
// Qt's own catalogue when the system has one, then ours, which is asked first.
inline void InstallQtRomanian()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    auto *system = new QTranslator(app);
    if (system->load(QStringLiteral("qtbase_ro"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(system);
    else
        delete system;
    QCoreApplication::installTranslator(new QtRomanianTexts(app));
}

} // namespace focaris::gui
