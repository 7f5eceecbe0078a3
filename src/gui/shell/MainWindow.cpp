// The main window.
#include "gui/shell/MainWindow.h"

#include "core/Ui.h"
#include "gui/shell/Pictures.h"
#include "gui/widgets/FindButton.h"
#include "shell/Access.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace focaris::gui {

MainWindow::MainWindow(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      ui_(ui)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Foc aris"));
    setWindowIcon(programIcon());
    setSizeGripEnabled(false);

    auto *strip = new QHBoxLayout;
    strip->setSpacing(4);
    auto *b1 = addButton(QStringLiteral("PeriodsButton"), QStringLiteral("Perioada"),
                         QStringLiteral("Evidenta cereri."), false);
    auto *b2 = addButton(QStringLiteral("ApplicationsButton"), QStringLiteral("Cereri"),
                         QStringLiteral("Gospodariile care beneficiaza de ajutor si datele lor."), false);
    auto *b3 = addButton(QStringLiteral("ListsButton"), QStringLiteral("Liste / Formulare"),
                         QStringLiteral("Liste si formulare."), false);
    auto *b4 = addButton(QStringLiteral("UtilitiesButton"), QStringLiteral("Utilitare"),
                         QStringLiteral("Operatii cu datele. Sugestii. Explicatii. Legislatie."), false);
    auto *adm = addButton(QStringLiteral("AdminButton"), QStringLiteral("Administrare"),
                          QStringLiteral("Administrare program."), true);
    auto *exit =
        addButton(QStringLiteral("ExitButton"), QStringLiteral("Iesire"), QStringLiteral("Inchide programul."), true);
    b1->setIcon(pictureIcon(Picture::Period));
    b2->setIcon(pictureIcon(Picture::Applications));
    b3->setIcon(pictureIcon(Picture::Lists));
    b4->setIcon(pictureIcon(Picture::Utilities));
    adm->setIcon(pictureIcon(Picture::AdminLocked));
    exit->setIcon(pictureIcon(Picture::Exit));
    for (QToolButton *b : {b1, b2, b3, b4, adm, exit})
        strip->addWidget(b);
    strip->addStretch(1);

    auto *monthBox = new QVBoxLayout;
    auto *monthCaption = new QLabel(QStringLiteral("Luna in lucru"), this);
    monthCaption->setAlignment(Qt::AlignCenter);
    month_ = new QLabel(this);
    month_->setObjectName(QStringLiteral("WorkingMonthPanel"));
    month_->setAlignment(Qt::AlignCenter);
    month_->setMinimumWidth(130);
    QFont big = month_->font();
    big.setPointSizeF(big.pointSizeF() * 1.9);
    big.setBold(true);
    month_->setFont(big);
    month_->setStyleSheet(QStringLiteral("color: #365F9C;"));
    monthBox->addStretch();
    monthBox->addWidget(monthCaption);
    monthBox->addWidget(month_);
    monthBox->addStretch();
    strip->addLayout(monthBox);
    strip->addSpacing(12);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    panel1_ = new QLabel(QStringLiteral("ESC - Iesire din program"), this);
    panel1_->setMinimumWidth(220);
    panel2_ = new QLabel(this);
    panel2_->setObjectName(QStringLiteral("WorkMode"));
    status->addWidget(panel1_);
    status->addWidget(panel2_, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addLayout(strip);
    layout->addWidget(status);

    reports_ = new QMenu(this);
    reports_->setObjectName(QStringLiteral("ListsMenu"));
    addItem(reports_, Command::AjpisReport, QStringLiteral("AjpisReport"), QStringLiteral("Raport AJPIS"));
    addItem(reports_, Command::AnpisExport, QStringLiteral("AnpisExport"), QStringLiteral("Export Date ANPIS - XML"));
    QMenu *suppliers = reports_->addMenu(QStringLiteral("Raport Furnizori"));
    addItem(suppliers, Command::AjpisSuppliers, QStringLiteral("AjpisSuppliers"), QStringLiteral("Format AJPIS"));
    addItem(suppliers, Command::EonSuppliers, QStringLiteral("EonSuppliers"),
            QStringLiteral("Format E-On Gaz Tg.Mures"));
    addItem(reports_, Command::TreasuryReport, QStringLiteral("TreasuryReport"),
            QStringLiteral("Raport Trezorerie - Suplimente Lemne"));
    addItem(reports_, Command::PersonsAgeList, QStringLiteral("PersonsAgeList"),
            QStringLiteral("Lista persoanelor si varsta"));
    addItem(reports_, Command::MembersSituation, QStringLiteral("MembersSituation"),
            QStringLiteral("Situatia membrilor"));
    addItem(reports_, Command::RiskControl, QStringLiteral("RiskControl"),
            QStringLiteral("Control bazat pe profilul de risc"));
    addItem(reports_, Command::F2201Export, QStringLiteral("F2201Export"),
            QStringLiteral("Formularul F 2201 ANAF - XML"));
    // A heading among the items; choosing it does nothing.
    QAction *heading = reports_->addAction(QStringLiteral("-------- LEGISLATIE -------------"));
    heading->setObjectName(QStringLiteral("LegislationHeading"));
    heading->setEnabled(true);
    addItem(reports_, Command::Law226, QStringLiteral("Law226"), QStringLiteral("Legea 226 / 2021"));
    addItem(reports_, Command::Norms1073, QStringLiteral("Norms1073"), QStringLiteral("H.G.1073/2021 - Norme"));
    addItem(reports_, Command::ApplicationAnnex, QStringLiteral("ApplicationAnnex"),
            QStringLiteral("Anexa 26 - Cerere"));

    utilities_ = new QMenu(this);
    utilities_->setObjectName(QStringLiteral("UtilitiesMenu"));
    addItem(utilities_, Command::Backup, QStringLiteral("Backup"), QStringLiteral("Salvare / Incarcare baza de date"));
    addItem(utilities_, Command::Suggestions, QStringLiteral("Suggestions"), QStringLiteral("Condica de sugestii"));
    addItem(utilities_, Command::ChangeLog, QStringLiteral("ChangeLog"),
            QStringLiteral("Istoricul modificarii datelor"));
    addItem(utilities_, Command::Guide, QStringLiteral("Guide"), QStringLiteral("Ghidul programului"));
    addItem(utilities_, Command::About, QStringLiteral("About"), QStringLiteral("Despre program"));

    // The buttons that run a command; the other two open their menus.
    buttonOf_ = {{Command::Period, QStringLiteral("PeriodsButton")},
                 {Command::Applications, QStringLiteral("ApplicationsButton")},
                 {Command::Admin, QStringLiteral("AdminButton")}};
    connect(b1, &QToolButton::clicked, this, [this] { trigger(Command::Period); });
    connect(b2, &QToolButton::clicked, this, [this] { trigger(Command::Applications); });
    connect(b3, &QToolButton::clicked, this, [this, b3] { popupBelow(reports_, b3); });
    connect(b4, &QToolButton::clicked, this, [this, b4] { popupBelow(utilities_, b4); });
    connect(adm, &QToolButton::clicked, this, [this] { trigger(Command::Admin); });
    connect(exit, &QToolButton::clicked, this, &QWidget::close);

    // The keys act through the buttons' actions, whether the buttons are shown or not.
    auto key = [this](QKeySequence seq, std::function<void()> f) {
        auto *s = new QShortcut(seq, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, f);
    };
    key(QKeySequence(Qt::Key_Escape), [this] { close(); });
    key(QKeySequence(Qt::Key_F12), [this] { close(); });
    key(QKeySequence(Qt::Key_F1), [this] { trigger(Command::Period); });
    key(QKeySequence(Qt::Key_F2), [this] { trigger(Command::Applications); });

    spanScreen();
}

QToolButton *MainWindow::addButton(const QString &name, const QString &caption, const QString &hint, bool visible)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolTipDuration(5000);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setIconSize(QSize(40, 40));
    b->setMinimumSize(110, 72);
    b->setFocusPolicy(Qt::TabFocus);
    b->setVisible(visible);
    b->setHidden(!visible);
    return b;
}

void MainWindow::addItem(QMenu *menu, Command command, const QString &name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    items_[command] = a;
    connect(a, &QAction::triggered, this, [this, command] { trigger(command); });
}

void MainWindow::setAction(Command command, std::function<void()> handler, ActionKind kind)
{
    actions_[command] = Action{std::move(handler), kind};
}

QAction *MainWindow::action(Command command) const
{
    const auto it = items_.find(command);
    return it == items_.end() ? nullptr : it->second;
}

QString MainWindow::caption(Command command) const
{
    if (QAction *a = action(command))
        return a->text();
    const auto it = buttonOf_.find(command);
    QToolButton *b = it == buttonOf_.end() ? nullptr : button(it->second);
    return b ? b->text() : QString();
}

void MainWindow::trigger(Command command)
{
    const QString title = caption(command);
    const auto it = actions_.find(command);
    if (it == actions_.end() || !it->second.handler) {
        shell::NotAvailable(ui_, QString(title).remove(QLatin1Char('&')));
        return;
    }
    // A copy: the handler may replace the actions while it runs.
    const Action action = it->second;
    RunWindowAction(ui_, title, action.kind, action.handler);
}

void MainWindow::unlockAdmin()
{
    unlocked_ = true;
    button(QStringLiteral("AdminButton"))->setIcon(pictureIcon(Picture::AdminUnlocked));
    for (const char *name : {"PeriodsButton", "ApplicationsButton", "ListsButton", "UtilitiesButton"})
        button(QString::fromLatin1(name))->setVisible(true);
}

bool MainWindow::periodShown() const
{
    return unlocked_;
}

void MainWindow::setWorkMode(const QString &text)
{
    panel2_->setText(text);
}

QString MainWindow::workMode() const
{
    return panel2_->text();
}

void MainWindow::setMonth(const QString &monthText)
{
    month_->setText(monthText);
}

QString MainWindow::month() const
{
    return month_->text();
}

QToolButton *MainWindow::button(const QString &objectName) const
{
    return FindButton<QToolButton>(*this, objectName);
}

void MainWindow::popupBelow(QMenu *menu, QToolButton *button)
{
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void MainWindow::spanScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int height = std::max(sizeHint().height(), minimumSizeHint().height());
    // The frame's width is added by the window system; the client area takes the rest.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int extraW = isVisible() ? frame.width() - inner.width() : 0;
    setFixedWidth(area.width() - extraW);
    setFixedHeight(height);
    move(area.left(), area.top());
}

void MainWindow::closeWithoutQuestions()
{
    skipQuestions_ = true;
    close();
}

void MainWindow::reject()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!skipQuestions_ && onClosing)
        onClosing(periodShown());
    skipQuestions_ = true; // the questions are asked once, whatever closes the window
    event->accept();
    done(QDialog::Accepted);
}

void MainWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        QTimer::singleShot(0, this, &MainWindow::spanScreen);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    skipQuestions_ = false;
    QTimer::singleShot(0, this, &MainWindow::spanScreen);
}

} // namespace focaris::gui
