// The remote copy window.
#include "gui/safety/RemoteCopyWindow.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <climits>

namespace focaris::gui {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

RemoteCopyWindow::RemoteCopyWindow(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui), remote_(ui)
{
    SetUpDialog(this, QStringLiteral("TNetF"), QStringLiteral("Copie / Recupereaza date la Distanta"));
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Login.
    QWidget *p2 = makePanel("Panel2");
    email_ = new QLineEdit(p2);
    email_->setObjectName(QStringLiteral("Email"));
    email_->setMaxLength(100);
    pass_ = new QLineEdit(p2);
    pass_->setObjectName(QStringLiteral("Pass"));
    pass_->setMaxLength(40);
    pass_->setEchoMode(QLineEdit::Password);
    pass_->setValidator(new UpperCaseValidator(pass_));
    remember_ = new QCheckBox(QStringLiteral("Memoreaza-mi datele"), p2);
    remember_->setObjectName(QStringLiteral("RememberCheck"));
    QPushButton *loginB = makeButton(p2, "LoginButton", QStringLiteral("Conectare la cont"));
    QPushButton *sendPasswordButton =
        makeButton(p2, "SendPasswordButton", QStringLiteral("Trimte-mi parola pe email !"));
    sendPasswordButton->hide();
    auto *l2 = new QVBoxLayout(p2);
    l2->addWidget(Heading(QStringLiteral("Contul dvs.:"), p2));
    l2->addWidget(new QLabel(QStringLiteral("E-mail"), p2));
    l2->addWidget(email_);
    l2->addWidget(new QLabel(QStringLiteral("Parola"), p2));
    l2->addWidget(pass_);
    l2->addWidget(remember_);
    l2->addWidget(loginB);
    l2->addWidget(sendPasswordButton);

    // Confirmation code.
    QWidget *p1 = makePanel("Panel1");
    confirmationCode_ = new QLineEdit(p1);
    confirmationCode_->setObjectName(QStringLiteral("ConfirmationCode"));
    confirmationCode_->setMaxLength(8);
    confirmationCode_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), confirmationCode_));
    auto *l1 = new QVBoxLayout(p1);
    l1->addWidget(Heading(QStringLiteral("V-am trimis pe E-mail un cod de verificare!"), p1));
    l1->addWidget(new QLabel(QStringLiteral("Cod de verificare primit pe e-mail"), p1));
    l1->addWidget(confirmationCode_);
    l1->addWidget(makeButton(p1, "CheckCodeButton", QStringLiteral("Verifica Codul din e-mail")));

    // Account.
    QWidget *p4 = makePanel("Panel4");
    emailLabel_ = new QLabel(p4);
    emailLabel_->setObjectName(QStringLiteral("EmailLabel"));
    passwordLabel_ = new QLabel(p4);
    passwordLabel_->setObjectName(QStringLiteral("PasswordLabel"));
    auto *l4 = new QVBoxLayout(p4);
    l4->addWidget(Heading(QStringLiteral("Contul dvs."), p4));
    l4->addWidget(emailLabel_);
    auto *row4 = new QHBoxLayout;
    row4->addWidget(passwordLabel_);
    row4->addStretch();
    row4->addWidget(makeButton(p4, "ChangePasswordButton", QStringLiteral("Schimba Parola")));
    l4->addLayout(row4);

    // Actions.
    QWidget *p5 = makePanel("Panel5");
    auto *l5 = new QVBoxLayout(p5);
    l5->addWidget(makeButton(p5, "SaveButton", QStringLiteral("Salveaza o copie a datelor")));
    l5->addWidget(makeButton(p5, "LoadButton", QStringLiteral("Incarca o salvare anterioara")));

    // Copies.
    QWidget *p6 = makePanel("Panel6");
    grid_ = new QTableWidget(0, 3, p6);
    grid_->setObjectName(QStringLiteral("CopiesGrid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("Observatii")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setMinimumHeight(200);
    auto *l6 = new QVBoxLayout(p6);
    l6->addWidget(grid_);
    auto *row6 = new QHBoxLayout;
    row6->addWidget(makeButton(p6, "LoadFromServerButton", QStringLiteral("Incarca datele in program")));
    row6->addWidget(makeButton(p6, "DeleteOnServerButton", QStringLiteral("Sterge salvarea")));
    row6->addStretch();
    row6->addWidget(makeButton(p6, "BackButton", QStringLiteral("Inapoi")));
    l6->addLayout(row6);

    // Progress of the running exchange.
    QWidget *p3 = makePanel("Panel3");
    descriptionLabel_ = Named<QLabel>(QStringLiteral("Description"), p3);
    bar_ = Named<QProgressBar>(QStringLiteral("ProgressBar"), p3);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto *l3 = new QVBoxLayout(p3);
    l3->addWidget(descriptionLabel_);
    l3->addWidget(bar_);

    for (QWidget *p : {p2, p1, p4, p5, p6, p3})
        layout->addWidget(p);

    connect(&remote_, &remote::RemoteCopy::progressText, descriptionLabel_, &QLabel::setText);
    connect(&remote_, &remote::RemoteCopy::progressRange, bar_, [this](qint64 max) {
        bar_->setRange(0, int(std::min<qint64>(std::max<qint64>(max, 1), INT_MAX)));
        bar_->setValue(0);
    });
    connect(&remote_, &remote::RemoteCopy::progressValue, bar_,
            [this](qint64 v) { bar_->setValue(int(std::min<qint64>(v, bar_->maximum()))); });

    connect(loginB, &QPushButton::clicked, this, &RemoteCopyWindow::loginClick);
    connect(sendPasswordButton, &QPushButton::clicked, this, &RemoteCopyWindow::sendPassClick);
    connect(button(QStringLiteral("CheckCodeButton")), &QPushButton::clicked, this, &RemoteCopyWindow::checkCodeClick);
    connect(button(QStringLiteral("ChangePasswordButton")), &QPushButton::clicked, this,
            &RemoteCopyWindow::passChangeClick);
    connect(button(QStringLiteral("SaveButton")), &QPushButton::clicked, this, &RemoteCopyWindow::saveClick);
    connect(button(QStringLiteral("LoadButton")), &QPushButton::clicked, this, &RemoteCopyWindow::loadClick);
    connect(button(QStringLiteral("LoadFromServerButton")), &QPushButton::clicked, this,
            &RemoteCopyWindow::loadFromServerClick);
    connect(button(QStringLiteral("DeleteOnServerButton")), &QPushButton::clicked, this,
            &RemoteCopyWindow::deleteOnServerClick);
    connect(button(QStringLiteral("BackButton")), &QPushButton::clicked, this, &RemoteCopyWindow::backClick);
    showPanels({QStringLiteral("Panel2")});
}

QWidget *RemoteCopyWindow::makePanel(const char *name)
{
    auto *p = new QWidget(this);
    p->setObjectName(QString::fromLatin1(name));
    panels_ << p;
    return p;
}

QWidget *RemoteCopyWindow::panel(const QString &objectName) const
{
    for (QWidget *p : panels_)
        if (p->objectName() == objectName)
            return p;
    return nullptr;
}

QLineEdit *RemoteCopyWindow::field(const QString &objectName) const
{
    return findChild<QLineEdit *>(objectName);
}

QPushButton *RemoteCopyWindow::button(const QString &objectName) const
{
    return FindButton<QPushButton>(*this, objectName);
}

void RemoteCopyWindow::showPanels(const QStringList &names)
{
    for (QWidget *p : panels_)
        p->setVisible(names.contains(p->objectName()));
    // The window is as tall as its visible panels and stays in the middle of the screen.
    layout()->activate();
    resize(width(), 0);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void RemoteCopyWindow::setCopies(const QList<remote::StoredCopy> &copies)
{
    copies_ = copies;
    grid_->setRowCount(int(copies.size()));
    for (int r = 0; r < copies.size(); ++r) {
        const auto &c = copies[r];
        grid_->setItem(r, 0, new QTableWidgetItem(c.when.toString(QStringLiteral("dd.MM.yyyy"))));
        grid_->setItem(r, 1, new QTableWidgetItem(c.when.toString(QStringLiteral("HH:mm:ss"))));
        grid_->setItem(r, 2, new QTableWidgetItem(c.note));
    }
    button(QStringLiteral("LoadFromServerButton"))->setEnabled(!copies.isEmpty());
    button(QStringLiteral("DeleteOnServerButton"))->setEnabled(!copies.isEmpty());
}

bool RemoteCopyWindow::showModal(const QString &archive)
{
    prepare(archive);
    exec();
    return restored_;
}

void RemoteCopyWindow::prepare(const QString &archive)
{
    archive_ = archive;
    restored_ = false;
    copies_.clear();
    grid_->setRowCount(0);
    button(QStringLiteral("SendPasswordButton"))->hide();
    panel(QStringLiteral("Panel2"))->setEnabled(true);
    QString email, password;
    const bool remembered = remote::RememberedAccount(email, password);
    remember_->setChecked(remembered);
    email_->setText(email);
    pass_->setText(password);
    showPanels({QStringLiteral("Panel2")});
    email_->setFocus();
}

void RemoteCopyWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter moves to the next field; on a button it presses the button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (qobject_cast<QLineEdit *>(focusWidget()) || qobject_cast<QCheckBox *>(focusWidget()))) {
        focusNextChild();
        return;
    }
    if (enter) {
        if (auto *b = qobject_cast<QPushButton *>(focusWidget())) {
            b->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void RemoteCopyWindow::reject()
{
    remote_.stop();
    QDialog::reject();
}

bool RemoteCopyWindow::run(QWidget *part, const QString &title, const std::function<void()> &work)
{
    if (running_)
        return false;
    running_ = true;
    QStringList shown;
    for (QWidget *p : panels_)
        if (!p->isHidden())
            shown << p->objectName();
    part->setEnabled(false);
    descriptionLabel_->clear();
    bar_->setValue(0);
    showPanels(shown + QStringList{QStringLiteral("Panel3")});
    bool ok = true;
    try {
        work();
    } catch (const std::exception &e) {
        ok = false;
        ui_.message(title, QStringLiteral("\n") + QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
    } catch (...) {
        ok = false;
        ui_.message(title, QStringLiteral("\nEroare neasteptata."), MessageKind::Error, MessageButton::OK);
    }
    part->setEnabled(true);
    showPanels(shown);
    running_ = false;
    return ok;
}

void RemoteCopyWindow::loginClick()
{
    if (running_)
        return;
    // Remembering the account writes the settings files, which may fail.
    std::optional<remote::Refusal> refused;
    try {
        refused = remote_.takeLogin(email_->text(), pass_->text(), remember_->isChecked());
    } catch (const std::exception &e) {
        ui_.message(QStringLiteral("Conectare la server"), QStringLiteral("\n") + QString::fromUtf8(e.what()),
                    MessageKind::Error, MessageButton::OK);
        return;
    }
    if (refused) {
        ui_.fieldHint(refused->message, refused->field == QStringLiteral("Email") ? email_ : pass_);
        return;
    }
    const Municipality m = LoadMunicipality();
    remote_.place = m.primaria + QLatin1Char('/') + m.judet;
    auto state = remote::RemoteCopy::Login::Failed;
    if (!run(panel(QStringLiteral("Panel2")), QStringLiteral("Conectare la server"), [&] { state = remote_.login(); }))
        return;
    confirmationCode_->setText(QStringLiteral("0"));
    button(QStringLiteral("SendPasswordButton"))->setVisible(state == remote::RemoteCopy::Login::WrongPassword);
    if (state == remote::RemoteCopy::Login::WrongPassword || state == remote::RemoteCopy::Login::Failed) {
        showPanels({QStringLiteral("Panel2")});
        return;
    }
    emailLabel_->setText(remote_.email);
    passwordLabel_->setText(QString(remote_.password.size(), QLatin1Char('X')));
    if (state == remote::RemoteCopy::Login::NeedsConfirmation) {
        showPanels({QStringLiteral("Panel1"), QStringLiteral("Panel4")});
        confirmationCode_->setFocus();
        return;
    }
    showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel5")});
    if (!archive_.isEmpty())
        saveClick();
}

void RemoteCopyWindow::checkCodeClick()
{
    if (running_)
        return;
    auto state = remote::RemoteCopy::Login::Failed;
    if (!run(panel(QStringLiteral("Panel1")), QStringLiteral("Verificare Cod"),
             [&] { state = remote_.confirm(confirmationCode_->text(), confirmationCode_); }))
        return;
    if (state == remote::RemoteCopy::Login::Ready) {
        showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel5")});
        if (!archive_.isEmpty())
            saveClick();
    }
}

void RemoteCopyWindow::sendPassClick()
{
    if (running_)
        return;
    // The server answers with a new password: the account changes, refused when viewing only.
    RunWindowAction(ui_, QStringLiteral("Trimite-mi parola"), ActionKind::Writes, [&] {
        button(QStringLiteral("SendPasswordButton"))->hide();
        run(panel(QStringLiteral("Panel2")), QStringLiteral("Transmitere date"), [&] { remote_.sendPassword(); });
    });
}

void RemoteCopyWindow::passChangeClick()
{
    if (running_)
        return;
    RunWindowAction(ui_, QStringLiteral("Schimbare parola"), ActionKind::Writes, [&] {
        QString fresh;
        if (!ui_.askText(QStringLiteral("Schimbare parola"), QStringLiteral("Parola noua"), fresh))
            return;
        bool changed = false;
        run(panel(QStringLiteral("Panel4")), QStringLiteral("Schimbare parola"),
            [&] { changed = remote_.changePassword(fresh); });
        if (changed)
            passwordLabel_->setText(QString(remote_.password.size(), QLatin1Char('X')));
    });
}

void RemoteCopyWindow::saveClick()
{
    if (running_)
        return;
    bool sent = false;
    run(panel(QStringLiteral("Panel5")), QStringLiteral("Salvare pe server"),
        [&] { sent = remote_.sendCopy(archive_); });
    // Sent on behalf of a save just made (at closing or after a local save): done.
    if (sent && !archive_.isEmpty())
        accept();
}

void RemoteCopyWindow::loadClick()
{
    if (running_)
        return;
    std::optional<QList<remote::StoredCopy>> copies;
    if (!run(this, QStringLiteral("Transmitere date"), [&] { copies = remote_.listCopies(); }) || !copies)
        return;
    setCopies(*copies);
    showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel6")});
    if (!copies->isEmpty())
        grid_->selectRow(0);
}

int RemoteCopyWindow::selectedRow() const
{
    const auto rows = grid_->selectionModel()->selectedRows();
    return rows.isEmpty() ? grid_->currentRow() : rows.first().row();
}

void RemoteCopyWindow::loadFromServerClick()
{
    const int row = selectedRow();
    if (running_ || row < 0 || row >= copies_.size())
        return;
    bool done = false;
    run(panel(QStringLiteral("Panel6")), QStringLiteral("Incarcare date"),
        [&] { done = remote_.restoreAsked(copies_[row].id); });
    if (!done)
        return;
    // The data were replaced: the list goes and the program ends after this window.
    restored_ = true;
    setCopies({});
    accept();
}

void RemoteCopyWindow::deleteOnServerClick()
{
    const int row = selectedRow();
    if (running_ || row < 0 || row >= copies_.size())
        return;
    bool done = false;
    run(panel(QStringLiteral("Panel6")), QStringLiteral("Stergere Salvare"),
        [&] { done = remote_.deleteAsked(copies_[row].id); });
    if (!done)
        return;
    auto rest = copies_;
    rest.removeAt(row);
    setCopies(rest);
    if (!rest.isEmpty())
        grid_->selectRow(int(rest.size()) - 1);
}

void RemoteCopyWindow::backClick()
{
    setCopies({});
    showPanels({QStringLiteral("Panel4"), QStringLiteral("Panel5")});
}

} // namespace focaris::gui
