// Writing one application: the INSERT of a new application with its members moved from
// the temporary table, the UPDATE of a modified one (its old kept document removed only
// after the UPDATE succeeded), the deletion of one application with its members, and
// their log entries. This is the only code that writes a row of the applications table
// from the editor; the applications list calls it after the editor saved.
#pragma once

#include <QString>

namespace focaris {

class ApplicationEditor;
class Ui;

class ApplicationStore {
public:
    explicit ApplicationStore(Ui &ui) : ui_(ui) {}

    // Stores what `editor` accepted (its save() returned saved): in add mode a new key
    // from "NRCRT", one INSERT, the members moved into the members table, the log entry
    // "Adaugare Cerere ..."; in modify mode the question about the kept document, one
    // UPDATE and "Modificare Cerere ...". Returns the application's key. A failing
    // statement throws sql::SqlError with nothing half-written by this code.
    qint64 store(const ApplicationEditor &editor);

    // "&Sterge cerere" of one application: asks "Stergere cerere" (unless `ask` is false,
    // for callers that already asked), writes the log entry, then deletes the application
    // and its members. False when the key is unknown or the answer was not "&Da".
    bool remove(qint64 nrcrt, bool ask = true);

private:
    qint64 insert(const ApplicationEditor &editor);
    void update(const ApplicationEditor &editor);
    void removeKeptDocument(const QString &path);

    Ui &ui_;
};

} // namespace focaris
