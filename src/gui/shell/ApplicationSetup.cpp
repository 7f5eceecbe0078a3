// The program's application-wide settings; see ApplicationSetup.h.
#include "gui/shell/ApplicationSetup.h"

#include "gui/shell/Pictures.h"
#include "gui/shell/QtRomanian.h"

#include <QApplication>
#include <QPalette>
#include <QToolTip>

namespace focaris::gui {

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Foc_aris"));
    QApplication::setWindowIcon(programIcon());

    // Hints show on white.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, Qt::white);
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);

    InstallQtRomanian();
}

} // namespace focaris::gui
