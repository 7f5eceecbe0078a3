// The applications list inside the program: "Cereri" of the main window opens it on the
// working month, and the administration window's "&Recalculeaza cererile" recalculates the
// month with the parameters shown.
#pragma once

namespace focaris {
class Ui;
}

namespace focaris::gui {

class AdminWindow;
class ApplicationsListWindow;
class MainWindow;

// The list window of the run (made at the first call, owned by `main`), with the choice
// of a month and the month guard plugged in.
ApplicationsListWindow &ApplicationsList(Ui &ui, MainWindow &main);
// "Cereri" after SettingsReady passed: the list on the working month.
void OpenApplicationsList(Ui &ui, MainWindow &main);
// "&Recalculeaza cererile": stores the parameters shown, checks the working month and
// recalculates it.
void RecalculateFromAdmin(Ui &ui, AdminWindow &admin);

} // namespace focaris::gui
