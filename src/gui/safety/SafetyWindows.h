// The backup windows put into the program: the utilities menu item "Salvare / Incarcare
// baza de date" opens the backup window, a restore ends the program without the closing
// questions, and the closing work hands an archive the person wants on the server to the
// remote copy window. Both windows are made once and belong to the program, which attaches
// them in gui/shell/SafetyWiring.h.
#pragma once

#include "gui/safety/BackupWindow.h"
#include "gui/safety/RemoteCopyWindow.h"

#include <QObject>

namespace focaris::gui {

class SafetyWindows : public QObject {
    Q_OBJECT
public:
    SafetyWindows(Ui &ui, QObject *parent);

    RemoteCopyWindow remote;
    BackupWindow backup;
};

} // namespace focaris::gui
