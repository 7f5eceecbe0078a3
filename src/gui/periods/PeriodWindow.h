// The window "Perioada in lucru": the list of the office's months, adding a month through
// the dialog "Adaugare Luna", deleting a month with its applications, choosing the working
// month, and the menu of the imports from the other registers under `ImportButton`.
#pragma once

#include "periods/Periods.h"

#include <QDialog>

class QComboBox;
class QMenu;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class AddMonthDialog;

class PeriodWindow : public QDialog {
    Q_OBJECT
public:
    explicit PeriodWindow(Ui &ui, QWidget *parent = nullptr);

    // Loads the list from "Luni.lst" with the working month selected, then shows the
    // window modally.
    void open();
    // The same without showing (tests and screenshots show it themselves).
    void load();
    // Shows a given list instead of the folder's (the screenshots).
    void setList(const periods::PeriodList &list);

    QComboBox *list() const { return list_; }
    QPushButton *button(const QString &objectName) const;
    QMenu *importMenu() const { return importMenu_; }
    AddMonthDialog &addDialog() { return *add_; }

    // Opens the import menu just below its button.
    void showImportMenu();

private:
    void addMonth();
    void deleteMonth();
    void keepAndClose();
    void runImport(bool vmg);
    void importVmg() { runImport(true); }
    void importAsf() { runImport(false); }
    void showList();
    QPushButton *addButton(const QString &name, const QString &caption);

    Ui &ui_;
    periods::PeriodList state_;
    QComboBox *list_;
    QMenu *importMenu_;
    AddMonthDialog *add_;
};

} // namespace focaris::gui
