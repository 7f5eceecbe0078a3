// The pictures of the program's buttons and windows, drawn at run time so that they scale
// cleanly and need no image files: the six main-window buttons (with the locked and the
// unlocked "Administrare"), the flame of the start window and the program icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace focaris::gui {

enum class Picture { Period, Applications, Lists, Utilities, AdminLocked, AdminUnlocked, Exit };

QIcon pictureIcon(Picture picture, int size = 40);
// The flame picture of the start window and the program's icon.
QPixmap flamePixmap(int size);
QIcon programIcon();

} // namespace focaris::gui
