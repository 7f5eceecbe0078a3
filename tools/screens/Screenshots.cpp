// The screenshot mode.
#include "screens/Screenshots.h"

#include "core/ChangeLog.h"
#include "core/Context.h"
#include "gui/shell/GuideWindow.h"
#include "gui/shell/Program.h"
#include "gui/widgets/FieldHint.h"
#include "gui/widgets/GridExportDialog.h"
#include "gui/widgets/MessageDialog.h"
#include "screens/ApplicationsScreenshots.h"
#include "screens/PeriodScreenshots.h"
#include "screens/SafetyScreens.h"
#include "shell/LogRows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScreen>
#include <QThread>
#include <QToolButton>

namespace focaris::gui {
namespace {

void settle(int ms = 400)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

bool shoot(const QString &folder, const QString &name)
{
    settle();
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->grabWindow(0).save(folder + QLatin1Char('/') + name, "PNG");
}

} // namespace

int TakeScreenshots(Program &program, const QString &folder)
{
    QDir().mkpath(folder);
    // A plain desktop behind the windows: the virtual screen the pictures are taken on is
    // black where no window is, which in the guide looks like a broken picture. Shown first,
    // it stays below every window shown after it.
    QWidget desktop(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        desktop.setAutoFillBackground(true);
        QPalette palette = desktop.palette();
        palette.setColor(QPalette::Window, QColor(0x3a, 0x6e, 0xa5));
        desktop.setPalette(palette);
        desktop.setGeometry(screen->geometry());
        desktop.show();
    }
    int written = 0;
    auto take = [&](const char *name) { written += shoot(folder, QString::fromLatin1(name)) ? 1 : 0; };

    program.startWindow().show();
    take("start-window.png");
    program.startWindow().hide();

    MainWindow &main = program.mainWindow();
    main.setMonth(WorkingMonth().isEmpty() ? QStringLiteral("01.2025") : WorkingMonth());
    main.show();
    take("main-locked.png");
    main.unlockAdmin();
    settle(100);
    take("main-unlocked.png");
    main.popupBelow(main.reportsMenu(), main.button(QStringLiteral("ListsButton")));
    take("main-menu-liste.png");
    main.reportsMenu()->hide();
    main.popupBelow(main.utilitiesMenu(), main.button(QStringLiteral("UtilitiesButton")));
    take("main-menu-utilitare.png");
    main.utilitiesMenu()->hide();

    MessageDialog message(&main);
    const struct {
        int kind, buttons;
        const char *title, *text, *file;
    } kinds[] = {
        {0, 4, "Administrare", "\rATENTIE!\rNu aveti nicio parola!", "mesaj-atentie.png"},
        {1, 4, "Greseala!", "PAROLA INCORECTA !", "mesaj-eroare.png"},
        {2, 4, "Confirmare", "\rParola a fost schimbata cu succes!", "mesaj-informatie.png"},
        {3, 3, "Salvare Automata", "\rDoriti sa facem o copie la datele de azi?", "mesaj-confirmare.png"},
    };
    for (const auto &k : kinds) {
        message.prepare(QString::fromLatin1(k.title), QString::fromLatin1(k.text), MessageKind(k.kind),
                        MessageButtons::fromInt(k.buttons));
        message.move(QGuiApplication::primaryScreen()->availableGeometry().center() - QPoint(169, 85));
        message.show();
        take(k.file);
        message.hide();
    }
    message.prepare(QStringLiteral("Schimbare"), QStringLiteral("Patru butoane"), MessageKind::Confirmation,
                    MessageButtons::fromInt(15));
    message.show();
    take("mesaj-patru-butoane.png");
    message.hide();

    AdminWindow &admin = program.adminWindow();
    admin.show();
    admin.move(QGuiApplication::primaryScreen()->availableGeometry().center() -
               QPoint(admin.width() / 2, admin.height() / 2 - 60));
    take("administrare.png");
    FieldHint hint;
    QLineEdit *name = admin.field(QStringLiteral("Localit"));
    name->clear();
    hint.showHint(QStringLiteral("Nu ati completat numele UAT!"), name);
    take("field-hint.png");
    hint.hide();
    admin.hide();

    written += TakePeriodScreenshots(main, program.ui(), folder);

    LogViewer &log = program.logViewer();
    WriteLog(QStringLiteral("Pornire program"));
    log.setRows(shell::ReadLog());
    log.show();
    take("log-viewer.png");
    log.hide();
    written += ApplicationsScreenshots(program.ui(), main, folder);
    ShowSafetyWindowsForPictures(program, take);

    const auto centre = [](QWidget &w) {
        w.adjustSize();
        w.move(QGuiApplication::primaryScreen()->availableGeometry().center() - QPoint(w.width() / 2, w.height() / 2));
    };
    AboutWindow &about = program.aboutWindow();
    centre(about);
    about.show();
    take("despre-program.png");
    about.hide();
    ShowGuide(&main);
    if (auto *guide = main.findChild<GuideWindow *>()) {
        // The chapter on the working month, from the pages the program shows (HTML when
        // installed).
        const bool html = GuideWindow::firstPage().fileName().endsWith(QLatin1String(".html"));
        guide->showPage(GuideWindow::pageUrl(html ? QStringLiteral("03-luna-de-lucru.html")
                                                  : QStringLiteral("03-luna-de-lucru.md")));
        guide->move(QGuiApplication::primaryScreen()->availableGeometry().center() -
                    QPoint(guide->width() / 2, guide->height() / 2 - 40));
        take("ghid.png");
        guide->hide();
    }
    SuggestionWindow &suggestion = program.suggestionWindow();
    suggestion.nameField()->setText(QStringLiteral("Ana Pop"));
    suggestion.phoneField()->setText(QStringLiteral("0265123456"));
    suggestion.emailField()->setText(QStringLiteral("ana.pop@primarie.ro"));
    suggestion.localityField()->setText(QStringLiteral("Sancraiu de Mures"));
    suggestion.textField()->setPlainText(QStringLiteral("Lista cererilor sa poata fi sortata dupa adresa."));
    centre(suggestion);
    suggestion.show();
    take("condica-de-sugestii.png");
    suggestion.hide();
    GridExportDialog exportDialog(program.ui(), &main);
    exportDialog.fileField()->setText(QDir::homePath() + QStringLiteral("/Documente/Cereri 12.2026.xls"));
    centre(exportDialog);
    exportDialog.show();
    take("export-grila.png");
    exportDialog.hide();
    main.hide();
    return written;
}

} // namespace focaris::gui
