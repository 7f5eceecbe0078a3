// Plugs the working months into the main window: the button "Perioada" opens the window
// "Perioada in lucru", and the label of the working month follows every change of it.
#pragma once

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MainWindow;

// Called once by the program; the window is created on the first click and reused.
void WirePeriods(MainWindow &main, Ui &ui);

} // namespace focaris::gui
