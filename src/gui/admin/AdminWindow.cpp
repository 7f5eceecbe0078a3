// The administration window.
#include "gui/admin/AdminWindow.h"

#include "admin/AdminSettings.h"
#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/Ui.h"
#include "documents/TemplateMenu.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"
#include "shell/Access.h"
#include "shell/Folders.h"
#include "shell/Passwords.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace focaris::gui {
namespace {

const QRegularExpression kWhole4(QStringLiteral("\\d{0,4}"));
const QRegularExpression kGcal(QStringLiteral("\\d{0,2}(\\.\\d{0,2})?"));

QLabel *caption(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

AdminWindow::AdminWindow(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint), ui_(ui)
{
    setObjectName(QStringLiteral("Administrare"));
    setWindowTitle(QStringLiteral("Administrare program"));
    setModal(true);

    // Three columns, so that the window fits a 1366 x 768 screen.
    auto *left = new QVBoxLayout;
    left->addWidget(buildIdentity());
    left->addWidget(buildOfficials());
    left->addStretch();
    auto *middle = new QVBoxLayout;
    middle->addWidget(buildBrackets());
    middle->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(buildSupplements());
    right->addWidget(buildPassword());
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(middle);
    columns->addLayout(right);

    // The template menu drops below its button, aligned with its left edge.
    templatesButton_ = new QToolButton(this);
    templatesButton_->setObjectName(QStringLiteral("TemplatesButton"));
    templatesButton_->setText(QStringLiteral("Modifica modele de listare"));
    templatesButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    templates_ = new QMenu(this);
    QMenu *current = nullptr;
    QString currentName;
    for (const TemplateMenuItem &t : kTemplateMenu) {
        QMenu *parentMenu = templates_;
        const QString submenu = QString::fromLatin1(t.submenu);
        if (!submenu.isEmpty()) {
            if (currentName != submenu) {
                current = templates_->addMenu(submenu);
                currentName = submenu;
            }
            parentMenu = current;
        }
        QMenu *item = parentMenu->addMenu(QString::fromLatin1(t.caption));
        QAction *edit = item->addAction(QString::fromLatin1(kEditItemCaption));
        QAction *reset = item->addAction(QString::fromLatin1(kResetItemCaption));
        edit->setObjectName(QString::fromLatin1(t.editItem));
        reset->setObjectName(QString::fromLatin1(t.resetItem));
        const TemplateMenuItem *entry = &t;
        connect(edit, &QAction::triggered, this,
                GuardedAction(ui_, QString::fromLatin1(kEditItemCaption), [this, entry] {
                    if (onTemplate)
                        onTemplate(*entry, false);
                }));
        connect(reset, &QAction::triggered, this,
                GuardedAction(ui_, QString::fromLatin1(kResetItemCaption), [this, entry] {
                    if (onTemplate)
                        onTemplate(*entry, true);
                }));
    }
    connect(templatesButton_, &QToolButton::clicked, this,
            [this] { templates_->popup(templatesButton_->mapToGlobal(QPoint(0, templatesButton_->height()))); });

    auto *recalc = new QPushButton(QStringLiteral("&Recalculeaza cererile"), this);
    recalc->setObjectName(QStringLiteral("RecalculateButton"));
    connect(recalc, &QPushButton::clicked, this, GuardedAction(ui_, recalc->text(), [this] {
                if (onRecalculate)
                    onRecalculate();
            }));
    store_ = new QPushButton(QStringLiteral("Memoreaza si inchide"), this);
    store_->setObjectName(QStringLiteral("SaveButton"));
    store_->setAutoDefault(false);
    recalc->setAutoDefault(false);
    connect(store_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { storeAndClose(); }));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(templatesButton_);
    bottom->addWidget(recalc);
    bottom->addStretch();
    bottom->addWidget(store_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buildFolders());
    layout->addLayout(bottom);
    setForm(AdminForm());
}

QLineEdit *AdminWindow::addEdit(const QString &name, int maxLength)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QLineEdit *AdminWindow::field(const QString &objectName) const
{
    return findChild<QLineEdit *>(objectName);
}

QWidget *AdminWindow::buildIdentity()
{
    auto *box = new QGroupBox(QStringLiteral("Date UAT"), this);
    auto *form = new QFormLayout(box);
    uat_ = new QComboBox(box);
    uat_->setObjectName(QStringLiteral("UAT"));
    uat_->addItems(UatKinds());
    auto *localit = addEdit(QStringLiteral("Localit"), 32);
    localit->setValidator(new UpperCaseValidator(localit));
    // Long municipality names ("SÂNCRAIU DE MUREŞ", "DRAGOMIREŞTI-VALE") show whole.
    localit->setMinimumWidth(localit->fontMetrics().horizontalAdvance(QString(24, QLatin1Char('N'))));
    auto *row = new QHBoxLayout;
    row->addWidget(uat_);
    row->addWidget(localit, 1);
    form->addRow(row);
    form->addRow(caption(QStringLiteral("Cod fiscal"), box), addEdit(QStringLiteral("CodFiscal"), 16));
    county_ = new QComboBox(box);
    county_->setObjectName(QStringLiteral("CountyName"));
    county_->addItems(Counties());
    county_->setMaxVisibleItems(20);
    connect(county_, &QComboBox::currentIndexChanged, this, &AdminWindow::countyChanged);
    form->addRow(caption(QStringLiteral("Judetul"), box), county_);
    form->addRow(caption(QStringLiteral("Cod judet"), box), addEdit(QStringLiteral("CodJud"), 16));
    localityKind_ = new QComboBox(box);
    localityKind_->setObjectName(QStringLiteral("LocalityKind"));
    localityKind_->addItems(LocalityKinds());
    form->addRow(caption(QStringLiteral("Tip localitate"), box), localityKind_);
    return box;
}

QWidget *AdminWindow::buildOfficials()
{
    auto *box = new QGroupBox(QStringLiteral("Semnaturi"), this);
    auto *form = new QFormLayout(box);
    const std::pair<const char *, const char *> rows[] = {{"MayorName", "Primar"},
                                                          {"SecretaryName", "Secretar"},
                                                          {"AccountantName", "Contabil"},
                                                          {"PreparerName", "Intocmit"},
                                                          {"DirectorName", "Director"}};
    for (const auto &[name, text] : rows)
        form->addRow(caption(QString::fromLatin1(text), box), addEdit(QString::fromLatin1(name), 32));
    return box;
}

QWidget *AdminWindow::buildBrackets()
{
    auto *box = new QGroupBox(QStringLiteral("Venit net lunar pe membru de familie (lei)"), this);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    auto numeric = [this](const QString &name) {
        QLineEdit *e = addEdit(name, 4);
        e->setValidator(new QRegularExpressionValidator(kWhole4, e));
        e->setMaximumWidth(60);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    for (int n = 1; n <= 10; ++n) {
        const int r = n - 1;
        if (n > 1) {
            grid->addWidget(caption(QStringLiteral("peste"), box), r, 0);
            grid->addWidget(caps_[n - 2], r, 1);
        }
        grid->addWidget(caption(QStringLiteral("pana la"), box), r, 2);
        QLineEdit *lim = numeric(QStringLiteral("Lim%1").arg(n));
        grid->addWidget(lim, r, 3);
        grid->addWidget(numeric(QStringLiteral("Cu%1").arg(n)), r, 4);
        grid->addWidget(caption(QStringLiteral("%"), box), r, 5);
        auto *cap = new QLabel(box);
        cap->setObjectName(QStringLiteral("Cap%1").arg(n));
        cap->setMinimumWidth(40);
        cap->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caps_[r] = cap;
        connect(lim, &QLineEdit::textChanged, cap, &QLabel::setText);
    }
    grid->addWidget(caption(QStringLiteral("In cazul persoanei singure:"), box), 10, 0, 1, 6);
    grid->addWidget(caption(QStringLiteral("peste"), box), 11, 0);
    grid->addWidget(caps_[9], 11, 1);
    grid->addWidget(caption(QStringLiteral("pana la"), box), 11, 2);
    grid->addWidget(numeric(QStringLiteral("Lim11")), 11, 3);
    grid->addWidget(numeric(QStringLiteral("Cu11")), 11, 4);
    grid->addWidget(caption(QStringLiteral("%"), box), 11, 5);
    grid->setColumnStretch(6, 1);
    return box;
}

QWidget *AdminWindow::buildSupplements()
{
    auto *box = new QGroupBox(QStringLiteral("Suplimente lunare (lei) si consum mediu"), this);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    const std::pair<const char *, const char *> rows[] = {{"IndL", "Combustibili solizi / petrolieri"},
                                                          {"IndG", "Gaze naturale"},
                                                          {"IndT", "Energie termica"},
                                                          {"IndE", "Energie electrica"},
                                                          {"IndE2", "Energie electrica (singura sursa)"}};
    int r = 0;
    for (const auto &[name, text] : rows) {
        QLineEdit *e = addEdit(QString::fromLatin1(name), 4);
        e->setValidator(new QRegularExpressionValidator(kWhole4, e));
        e->setMaximumWidth(60);
        e->setAlignment(Qt::AlignRight);
        grid->addWidget(caption(QString::fromLatin1(text), box), r, 0);
        grid->addWidget(e, r, 1);
        ++r;
    }
    grid->addWidget(caption(QStringLiteral("CLmed - Consumul mediu lunar (GCal.)"), box), r++, 0, 1, 2);
    const char *rooms[] = {"1 camera", "2 camere", "3 camere", ">= 4 camere"};
    for (int n = 1; n <= 4; ++n) {
        QLineEdit *e = addEdit(QStringLiteral("CL%1").arg(n), 5);
        e->setValidator(new QRegularExpressionValidator(kGcal, e));
        e->setMaximumWidth(60);
        e->setAlignment(Qt::AlignRight);
        grid->addWidget(caption(QString::fromLatin1(rooms[n - 1]), box), r, 0);
        grid->addWidget(e, r, 1);
        ++r;
    }
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget *AdminWindow::buildPassword()
{
    auto *box = new QGroupBox(QStringLiteral("Schimbare parola"), this);
    auto *form = new QFormLayout(box);
    QLineEdit *first = addEdit(QStringLiteral("NewPassword"), 32);
    QLineEdit *again = addEdit(QStringLiteral("RepeatPassword"), 32);
    first->setEchoMode(QLineEdit::Password);
    again->setEchoMode(QLineEdit::Password);
    form->addRow(caption(QStringLiteral("Parola noua"), box), first);
    form->addRow(caption(QStringLiteral("Inca odata"), box), again);
    auto *change = new QPushButton(QStringLiteral("&Schimba parola"), box);
    change->setObjectName(QStringLiteral("ChangePasswordButton"));
    change->setAutoDefault(false);
    form->addRow(QString(), change);
    connect(change, &QPushButton::clicked, this, GuardedAction(ui_, change->text(), [this] { changePassword(); }));
    return box;
}

QWidget *AdminWindow::buildFolders()
{
    auto *box = new QGroupBox(QStringLiteral("Copie de siguranta automata / Lucru in retea"), this);
    auto *grid = new QGridLayout(box);
    auto button = [this, box](const char *name, const char *text, const char *hint, int which) {
        auto *b = new QPushButton(QString::fromLatin1(text), box);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(hint));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, GuardedAction(ui_, b->text(), [this, which] { folderCommand(which); }));
        return b;
    };
    serverLabel_ = new QLabel(QStringLiteral("-"), box);
    serverLabel_->setObjectName(QStringLiteral("ServerFolder"));
    savesLabel_ = new QLabel(QStringLiteral("-"), box);
    savesLabel_->setObjectName(QStringLiteral("SavesFolder"));
    for (QLabel *l : {serverLabel_, savesLabel_}) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    grid->addWidget(caption(QStringLiteral("Cale Server :"), box), 0, 0);
    grid->addWidget(serverLabel_, 0, 1);
    grid->addWidget(button("ChangeServerButton", "Modifica", "Modificare cale server.", 0), 0, 2);
    grid->addWidget(button("LeaveServerButton", "Sterge", "Stergere cale server. Lucru local.", 1), 0, 3);
    grid->addWidget(caption(QStringLiteral("Cale Salvari :"), box), 1, 0);
    grid->addWidget(savesLabel_, 1, 1);
    grid->addWidget(button("ChangeSavesButton", "Modifica", "Modificare cale salvari automate.", 2), 1, 2);
    grid->addWidget(button("StopSavesButton", "Sterge", "Stergere cale salvari automate.", 3), 1, 3);
    // Where this computer sends its remote copies: stored with "Memoreaza si inchide".
    QLineEdit *serverCopii = addEdit(QStringLiteral("ServerCopii"), 260);
    serverCopii->setToolTip(QStringLiteral("Adresa serverului de copii la distanta: nume sau IP, optional :port "
                                           "(implicit 1235). Gol: fara copie la distanta."));
    serverCopii->setPlaceholderText(QStringLiteral("copii.exemplu.ro:1235"));
    grid->addWidget(caption(QStringLiteral("Server copii :"), box), 2, 0);
    grid->addWidget(serverCopii, 2, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    return box;
}

void AdminWindow::countyChanged()
{
    // The county code follows the county only while no code is typed.
    if (loading_)
        return;
    QLineEdit *code = field(QStringLiteral("CodJud"));
    if (code->text().trimmed().isEmpty())
        code->setText(DerivedCountyCode(county_->currentText()));
}

void AdminWindow::changePassword()
{
    QLineEdit *first = field(QStringLiteral("NewPassword"));
    QLineEdit *again = field(QStringLiteral("RepeatPassword"));
    if (shell::ChangePassword(ui_, first->text(), again->text()) == shell::PasswordChange::Changed) {
        first->clear();
        again->clear();
    }
}

void AdminWindow::folderCommand(int which)
{
    QString server = serverLabel_->text();
    QString saves = savesLabel_->text();
    shell::FolderResult r = shell::FolderResult::Unchanged;
    switch (which) {
    case 0: r = shell::ChangeServerFolder(ui_, server); break;
    case 1: r = shell::LeaveServerFolder(ui_, server, serverLabel_); break;
    case 2: r = shell::ChangeSaveFolder(ui_, saves); break;
    case 3: r = shell::SwitchOffSaveFolder(ui_, saves, savesLabel_); break;
    }
    serverLabel_->setText(server);
    savesLabel_->setText(saves);
    if (r == shell::FolderResult::EndProgram) {
        reject();
        if (onEndProgram)
            onEndProgram();
    }
}

AdminForm AdminWindow::form() const
{
    AdminForm f;
    Municipality &m = f.identity;
    m.uat = uat_->currentText();
    m.primaria = field(QStringLiteral("Localit"))->text();
    m.sirues = field(QStringLiteral("CodFiscal"))->text();
    m.judet = county_->currentIndex() >= 0 ? county_->currentText() : QString();
    m.codJud = field(QStringLiteral("CodJud"))->text();
    m.primar = field(QStringLiteral("MayorName"))->text();
    m.viceprimar = field(QStringLiteral("SecretaryName"))->text();
    m.contabil = field(QStringLiteral("AccountantName"))->text();
    m.intocmit = field(QStringLiteral("PreparerName"))->text();
    m.director = field(QStringLiteral("DirectorName"))->text();
    m.tipLoc = std::max(0, localityKind_->currentIndex());
    for (int n = 1; n <= 11; ++n) {
        f.lim[n - 1] = field(QStringLiteral("Lim%1").arg(n))->text();
        f.cu[n - 1] = field(QStringLiteral("Cu%1").arg(n))->text();
    }
    f.indL = field(QStringLiteral("IndL"))->text().toInt();
    f.indG = field(QStringLiteral("IndG"))->text().toInt();
    f.indT = field(QStringLiteral("IndT"))->text().toInt();
    f.indE = field(QStringLiteral("IndE"))->text().toInt();
    f.indE2 = field(QStringLiteral("IndE2"))->text().toInt();
    for (int n = 1; n <= 4; ++n)
        f.cl[n - 1] = field(QStringLiteral("CL%1").arg(n))->text();
    f.caleServer = serverLabel_->text();
    f.caleSalvari = savesLabel_->text();
    f.serverCopii = field(QStringLiteral("ServerCopii"))->text();
    return f;
}

void AdminWindow::setForm(const AdminForm &f)
{
    loading_ = true;
    const Municipality &m = f.identity;
    uat_->setCurrentIndex(std::max(0, uat_->findText(m.uat)));
    field(QStringLiteral("Localit"))->setText(m.primaria);
    field(QStringLiteral("CodFiscal"))->setText(m.sirues);
    county_->setCurrentIndex(CountyPosition(m.judet) - 1);
    field(QStringLiteral("CodJud"))->setText(m.codJud);
    field(QStringLiteral("MayorName"))->setText(m.primar);
    field(QStringLiteral("SecretaryName"))->setText(m.viceprimar);
    field(QStringLiteral("AccountantName"))->setText(m.contabil);
    field(QStringLiteral("PreparerName"))->setText(m.intocmit);
    field(QStringLiteral("DirectorName"))->setText(m.director);
    localityKind_->setCurrentIndex(m.tipLoc >= 0 && m.tipLoc < localityKind_->count() ? m.tipLoc : 0);
    for (int n = 1; n <= 11; ++n) {
        field(QStringLiteral("Lim%1").arg(n))->setText(f.lim[n - 1]);
        field(QStringLiteral("Cu%1").arg(n))->setText(f.cu[n - 1]);
    }
    field(QStringLiteral("IndL"))->setText(QString::number(f.indL));
    field(QStringLiteral("IndG"))->setText(QString::number(f.indG));
    field(QStringLiteral("IndT"))->setText(QString::number(f.indT));
    field(QStringLiteral("IndE"))->setText(QString::number(f.indE));
    field(QStringLiteral("IndE2"))->setText(QString::number(f.indE2));
    for (int n = 1; n <= 4; ++n)
        field(QStringLiteral("CL%1").arg(n))->setText(f.cl[n - 1]);
    serverLabel_->setText(f.caleServer);
    savesLabel_->setText(f.caleSalvari);
    field(QStringLiteral("ServerCopii"))->setText(f.serverCopii);
    loading_ = false;
}

void AdminWindow::loadSettings()
{
    AdminForm f = form();
    LoadAdminSettings(f);
    setForm(f);
}

bool AdminWindow::storeAndClose()
{
    if (shell::RefuseReadOnly(ui_, QStringLiteral("Administrare")))
        return false;
    AdminForm f = form();
    const AdminCheck check = StoreAdminForm(f);
    // The cleaned texts are shown back whether or not the checks passed.
    field(QStringLiteral("Localit"))->setText(f.identity.primaria);
    field(QStringLiteral("CodFiscal"))->setText(f.identity.sirues);
    field(QStringLiteral("CodJud"))->setText(f.identity.codJud);
    switch (check.field) {
    case AdminField::None: accept(); return true;
    case AdminField::Localit: ui_.fieldHint(check.hint, field(QStringLiteral("Localit"))); break;
    case AdminField::Judet: ui_.fieldHint(check.hint, county_); break;
    case AdminField::CodFiscal: ui_.fieldHint(check.hint, field(QStringLiteral("CodFiscal"))); break;
    case AdminField::ServerCopii: ui_.fieldHint(check.hint, field(QStringLiteral("ServerCopii"))); break;
    }
    return false;
}

void AdminWindow::done(int result)
{
    QDialog::done(result);
    // Whatever closed the window, it shows the stored values the next time.
    loadSettings();
}

void AdminWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter moves to the next field; in "Inca odata" it moves to "Memoreaza si inchide".
    if (IsEnterKey(event)) {
        QWidget *focus = focusWidget();
        if (qobject_cast<QLineEdit *>(focus) || qobject_cast<QComboBox *>(focus)) {
            if (focus == field(QStringLiteral("RepeatPassword")))
                store_->setFocus();
            else if (focus == field(QStringLiteral("NewPassword")))
                field(QStringLiteral("RepeatPassword"))->setFocus();
            else
                focusNextChild();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace focaris::gui
