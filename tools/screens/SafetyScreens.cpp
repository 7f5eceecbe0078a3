// The pictures of the backup windows.
#include "screens/SafetyScreens.h"

#include "gui/shell/Program.h"
#include "gui/shell/SafetyWiring.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTableWidget>

namespace focaris::gui {

void ShowSafetyWindowsForPictures(Program &program, const std::function<void(const char *name)> &take)
{
    SafetyWindows *windows = SafetyWindowsOf(program);
    if (!windows)
        return;
    BackupWindow &backup = windows->backup;
    backup.adjustSize();
    backup.move(QGuiApplication::primaryScreen()->availableGeometry().center() -
                QPoint(backup.width() / 2, backup.height() / 2));
    backup.show();
    take("copie-inlocuieste.png");
    backup.hide();

    RemoteCopyWindow &w = windows->remote;
    w.prepare();
    w.field(QStringLiteral("Email"))->setText(QStringLiteral("asistenta.sociala@primaria-vulcan.ro"));
    w.field(QStringLiteral("Pass"))->setText(QStringLiteral("PAROLA"));
    w.show();
    w.showPanels({QStringLiteral("Panel2")});
    take("copie-distanta-login.png");

    w.findChild<QLabel *>(QStringLiteral("EmailLabel"))
        ->setText(QStringLiteral("asistenta.sociala@primaria-vulcan.ro"));
    w.findChild<QLabel *>(QStringLiteral("PasswordLabel"))->setText(QStringLiteral("XXXXXX"));
    const QDateTime first(QDate(2025, 1, 31), QTime(16, 5, 12));
    w.setCopies({{QStringLiteral("1"), first, QStringLiteral("Inainte de plata ianuarie")},
                 {QStringLiteral("2"), first.addDays(14), QStringLiteral("Salvare la inchiderea programului.")},
                 {QStringLiteral("3"), first.addDays(28).addSecs(3600), QStringLiteral("***")}});
    w.grid()->selectRow(2);
    w.showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel6")});
    take("copie-distanta-lista.png");

    w.descriptionLabel()->setText(QStringLiteral("Transmit comanda..."));
    w.bar()->setRange(0, 100);
    w.bar()->setValue(42);
    w.panel(QStringLiteral("Panel5"))->setEnabled(false);
    w.showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel5"), QStringLiteral("Panel3")});
    take("copie-distanta-transfer.png");
    w.panel(QStringLiteral("Panel5"))->setEnabled(true);
    w.setCopies({});
    w.hide();
}

} // namespace focaris::gui
