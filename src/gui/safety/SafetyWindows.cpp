// The two backup windows, made together.
#include "gui/safety/SafetyWindows.h"

namespace focaris::gui {

SafetyWindows::SafetyWindows(Ui &ui, QObject *parent) : QObject(parent), remote(ui), backup(ui, remote) {}

} // namespace focaris::gui
