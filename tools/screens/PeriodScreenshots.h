// The pictures of the working-month windows for the documentation: "Perioada in lucru"
// with three months, the dialog "Adaugare Luna" and the import menu open.
#pragma once

#include <QString>

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MainWindow;

// Saves the three pictures into `folder`; returns the number written. Nothing is written
// to the data folder.
int TakePeriodScreenshots(MainWindow &main, Ui &ui, const QString &folder);

} // namespace focaris::gui
