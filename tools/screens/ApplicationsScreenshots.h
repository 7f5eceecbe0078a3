// The pictures of the applications list and its dialogs for the screenshot mode: the list
// on the working month, the list after a search, and the numbering, dates and months
// windows over it.
#pragma once

#include <QString>

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MainWindow;

// Shows each window in turn and saves its picture as a PNG file into `folder`; the list
// shows the working month (or the month of the settings when none is chosen yet).
// Returns the number of files written.
int ApplicationsScreenshots(Ui &ui, MainWindow &main, const QString &folder);

} // namespace focaris::gui
