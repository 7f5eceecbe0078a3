// What the desktop program sets on its QApplication before any window exists: the
// application's name, the program icon, the hint colours and Qt's texts in Romanian.
#pragma once

namespace focaris::gui {

// Call once, after the QApplication is made. No display name is set: the platform would
// append it to every window's caption ("Foc aris  ver.1.0029 — Foc aris" under X11),
// and each window's caption must read exactly as the window gives it.
void SetUpApplication();

} // namespace focaris::gui
