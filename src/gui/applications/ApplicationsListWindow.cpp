// The applications list window.
#include "gui/applications/ApplicationsListWindow.h"

#include "applications/ApplicationStore.h"
#include "applications/MonthCopy.h"
#include "applications/Removals.h"
#include "core/ChangeLog.h"
#include "core/Ui.h"
#include "gui/applications/DatesDialog.h"
#include "gui/applications/MonthsDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "shell/Access.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <stdexcept>

namespace focaris::gui {

namespace {

const QString kEmptyList = QStringLiteral("Nu aveti afisata nici o cerere!");

using Command = ApplicationsListWindow::Command;

// The commands' English names, the object names of their buttons and menu items.
const std::pair<Command, const char *> kCommandNames[] = {
    {Command::AddApplication, "AddApplication"},
    {Command::ModifyApplication, "ModifyApplication"},
    {Command::DeleteApplication, "DeleteApplication"},
    {Command::CopyFromMonth, "CopyFromMonth"},
    {Command::RemoveAlsoInMonth, "RemoveAlsoInMonth"},
    {Command::NumberDispositions, "NumberDispositions"},
    {Command::SetDates, "SetDates"},
    {Command::ChangeMonths, "ChangeMonths"},
    {Command::SingleDisposition, "SingleDisposition"},
    {Command::GrantDispositions, "GrantDispositions"},
    {Command::ModificationDispositions, "ModificationDispositions"},
    {Command::RejectionDispositions, "RejectionDispositions"},
    {Command::Reports, "Reports"},
    {Command::FullForm, "FullForm"},
    {Command::ShortForm, "ShortForm"},
    {Command::PaymentStatement, "PaymentStatement"},
    {Command::PersonsDbf, "PersonsDbf"},
    {Command::ExportGrid, "ExportGrid"},
    {Command::AddInquiry, "AddInquiry"},
    {Command::DeleteInquiry, "DeleteInquiry"},
    {Command::ShowInquiry, "ShowInquiry"},
};

// Widths of the grid's columns in characters, in the order of ListColumns.
const int kWidths[] = {6, 12, 9, 5, 28, 18, 20, 16, 28, 7, 12, 5, 10, 6, 9, 9,  8, 9, 5,
                       7, 7,  7, 7, 20, 20, 9,  12, 12, 5, 5,  6, 8,  7, 8, 18, 6, 6};

} // namespace

ApplicationsListWindow::ApplicationsListWindow(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui), model_(this)
{
    setWindowTitle(QStringLiteral("Lista Cereri"));
    setObjectName(QStringLiteral("TCereriF"));
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    auto *heading = new QLabel(QStringLiteral("Cereri pentru ajutorul de incalzire"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("Cauta Solicitant"), this));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("SearchField"));
    search_->setMaxLength(32);
    search_->setValidator(new UpperCaseValidator(search_));
    search_->setMinimumWidth(fontMetrics().averageCharWidth() * 34);
    top->addWidget(search_);
    top->addSpacing(20);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("TotalApplications"));
    top->addWidget(count_);
    layout->addLayout(top);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("ApplicationsGrid"));
    grid_->setModel(&model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setAlternatingRowColors(true);
    grid_->setWordWrap(false);
    // Fixed sizes: the view never measures the rows' contents, so a month of a city opens
    // and reorders at once.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    const int ch = fontMetrics().averageCharWidth();
    for (int c = 0; c < static_cast<int>(std::size(kWidths)); ++c)
        grid_->setColumnWidth(
            c, std::max(kWidths[c] * ch + 8, fontMetrics().horizontalAdvance(ListColumns()[c].title) + 12));
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 1);

    auto *rows = new QGridLayout;
    const std::pair<Command, QString> first[] = {
        {Command::AddApplication, QStringLiteral("&Adauga cerere")},
        {Command::ModifyApplication, QStringLiteral("&Modifica cerere")},
        {Command::DeleteApplication, QStringLiteral("&Sterge cerere")},
        {Command::CopyFromMonth, QStringLiteral("Adau&ga cereri din alta luna")},
        {Command::RemoveAlsoInMonth, QStringLiteral("Sterge cereri din alta luna")},
        {Command::NumberDispositions, QStringLiteral("&Numeroteaza dispozitiile")},
        {Command::SetDates, QStringLiteral("Modificare &Data cereri")},
        {Command::ChangeMonths, QStringLiteral("Modificare N&umar luni")}};
    int column = 0;
    for (const auto &[command, caption] : first)
        rows->addWidget(addButton(command, caption, this), 0, column++);
    rows->addWidget(addMenuButton(QStringLiteral("Dispositions"), QStringLiteral("Listeaza Dispozitii"),
                                  {{Command::SingleDisposition, QStringLiteral("Dispozitie Unica de Stabilire")},
                                   {Command::GrantDispositions, QStringLiteral("Dispozitie de Stabilire Separata")},
                                   {Command::ModificationDispositions, QStringLiteral("Dispozitie de Modificare")},
                                   {Command::RejectionDispositions, QStringLiteral("Dispozitie de Respingere")}}),
                    1, 0);
    rows->addWidget(addButton(Command::Reports, QStringLiteral("Listeaza Re&ferate"), this), 1, 1);
    rows->addWidget(addMenuButton(QStringLiteral("ApplicationForms"), QStringLiteral("Listeaza cerere"),
                                  {{Command::FullForm, QStringLiteral("Anexa 26")},
                                   {Command::ShortForm, QStringLiteral("Anexa 2 - Forma prescurtata")}}),
                    1, 2);
    rows->addWidget(addButton(Command::PaymentStatement, QStringLiteral("Situatie Plati"), this), 1, 3);
    rows->addWidget(addButton(Command::PersonsDbf, QStringLiteral("Export DBF persoane"), this), 1, 4);
    rows->addWidget(addButton(Command::ExportGrid, QStringLiteral("E&xporta tabel"), this), 1, 5);
    auto *inquiries = new QGroupBox(QStringLiteral("Anchete"), this);
    auto *inquiryRow = new QHBoxLayout(inquiries);
    inquiryRow->addWidget(addButton(Command::AddInquiry, QStringLiteral("Adauga"), inquiries));
    inquiryRow->addWidget(addButton(Command::DeleteInquiry, QStringLiteral("Sterge"), inquiries));
    inquiryRow->addWidget(addButton(Command::ShowInquiry, QStringLiteral("Arata"), inquiries));
    rows->addWidget(inquiries, 1, 6, 1, 2);
    layout->addLayout(rows);

    // The commands that change the month's applications (refused in a view-only run).
    constexpr ActionKind writes = ActionKind::Writes;
    setAction(
        Command::AddApplication, [this] { addApplication(); }, writes);
    setAction(
        Command::ModifyApplication, [this] { modifyApplication(); }, writes);
    setAction(
        Command::DeleteApplication, [this] { deleteApplication(); }, writes);
    setAction(
        Command::CopyFromMonth, [this] { copyFromMonth(); }, writes);
    setAction(
        Command::RemoveAlsoInMonth, [this] { removeAlsoInMonth(); }, writes);
    setAction(
        Command::NumberDispositions, [this] { numberDispositions(); }, writes);
    setAction(
        Command::SetDates, [this] { setDates(); }, writes);
    setAction(
        Command::ChangeMonths, [this] { changeMonths(); }, writes);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString &text) {
        const qint64 key = currentKey();
        model_.change([&](ApplicationList &l) { l.setSearch(text); });
        selectKey(key);
        updateState();
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &ApplicationsListWindow::sortByColumn);
    connect(grid_, &QTableView::doubleClicked, this, [this] { trigger(Command::ModifyApplication); });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { updateState(); });

    numbering_ = new NumberingDialog(ui_, this);
    dates_ = new DatesDialog(ui_, this);
    months_ = new MonthsDialog(ui_, this);
    resize(1200, 700);
    updateState();
}

ApplicationsListWindow::~ApplicationsListWindow() = default;

QString ApplicationsListWindow::commandName(Command command)
{
    for (const auto &[c, name] : kCommandNames)
        if (c == command)
            return QString::fromLatin1(name);
    return {};
}

Command ApplicationsListWindow::commandNamed(const QString &name)
{
    for (const auto &[c, n] : kCommandNames)
        if (name == QLatin1String(n))
            return c;
    throw std::logic_error("The applications list has no command named " + name.toStdString());
}

QPushButton *ApplicationsListWindow::addButton(Command command, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(commandName(command));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, command] { trigger(command); });
    return b;
}

QPushButton *ApplicationsListWindow::addMenuButton(const QString &name, const QString &caption,
                                                   const std::vector<std::pair<Command, QString>> &items)
{
    // A button with a menu opens it; each item runs its own command.
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    auto *menu = new QMenu(this);
    for (const auto &[command, text] : items) {
        QAction *a = menu->addAction(text, this, [this, command = command] { trigger(command); });
        a->setObjectName(commandName(command));
        items_[command] = a;
    }
    b->setMenu(menu);
    return b;
}

QPushButton *ApplicationsListWindow::button(const QString &objectName) const
{
    return FindButton<QPushButton>(*this, objectName);
}

QAction *ApplicationsListWindow::action(Command command) const
{
    const auto it = items_.find(command);
    return it == items_.end() ? nullptr : it->second;
}

QString ApplicationsListWindow::caption(Command command) const
{
    if (QAction *a = action(command))
        return a->text();
    QPushButton *b = button(command);
    return b ? b->text() : QString();
}

void ApplicationsListWindow::setAction(Command command, std::function<void()> handler, ActionKind kind)
{
    actions_[command] = Action{std::move(handler), kind};
}

void ApplicationsListWindow::trigger(Command command)
{
    if (QPushButton *b = button(command); b && !b->isEnabled())
        return;
    const QString title = caption(command);
    const auto it = actions_.find(command);
    if (it != actions_.end() && it->second.handler) {
        const Action action = it->second;
        RunWindowAction(ui_, title, action.kind, action.handler);
        return;
    }
    shell::NotAvailable(ui_, QString(title).remove(QLatin1Char('&')));
}

bool ApplicationsListWindow::openMonth(int month)
{
    try {
        model_.change([&](ApplicationList &l) { l.open(month, l.sortColumn()); });
    } catch (const std::exception &e) {
        ui_.message(QStringLiteral("Lista Cereri"), QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
        updateState();
        return false;
    }
    if (model_.rowCount() > 0)
        grid_->selectRow(0);
    updateState();
    return true;
}

void ApplicationsListWindow::showMonth(int month)
{
    if (!openMonth(month))
        return;
    grid_->setFocus();
    exec();
}

bool ApplicationsListWindow::reopen(qint64 key)
{
    try {
        model_.change([](ApplicationList &l) { l.reopen(); });
    } catch (const std::exception &e) {
        ui_.message(QStringLiteral("Lista Cereri"), QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
        updateState();
        return false;
    }
    if (key < 0 && model_.rowCount() > 0)
        grid_->selectRow(model_.rowCount() - 1);
    else
        selectKey(key);
    updateState();
    return true;
}

qint64 ApplicationsListWindow::currentKey() const
{
    const QModelIndex i = grid_->currentIndex();
    return i.isValid() ? model_.list().key(i.row()) : 0;
}

void ApplicationsListWindow::selectKey(qint64 key)
{
    const int row = key > 0 ? model_.list().rowOfKey(key) : -1;
    if (row >= 0) {
        grid_->selectRow(row);
        grid_->scrollTo(model_.index(row, 0));
    } else if (model_.rowCount() > 0) {
        grid_->selectRow(0);
    }
}

bool ApplicationsListWindow::listEmpty() const
{
    return model_.rowCount() == 0;
}

void ApplicationsListWindow::updateState()
{
    count_->setText(QStringLiteral("Total cereri: %1").arg(model_.rowCount()));
    // The commands on one application need one to be listed.
    const bool any = !listEmpty();
    for (const char *name :
         {"ModifyApplication", "DeleteApplication", "ApplicationForms", "AddInquiry", "DeleteInquiry", "ShowInquiry"})
        if (QPushButton *b = button(QString::fromLatin1(name)))
            b->setEnabled(any);
}

bool ApplicationsListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            trigger(Command::ModifyApplication);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ApplicationsListWindow::sortByColumn(int column)
{
    const qint64 key = currentKey();
    try {
        bool sorted = false;
        model_.change([&](ApplicationList &l) { sorted = l.sortBy(column); });
        if (!sorted)
            return selectKey(key);
    } catch (const std::exception &e) {
        ui_.message(QStringLiteral("Lista Cereri"), QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
    }
    selectKey(key);
    updateState();
}

void ApplicationsListWindow::addApplication()
{
    if (!onAdd) {
        shell::NotAvailable(ui_, QStringLiteral("Adauga cerere"));
        return;
    }
    const qint64 key = onAdd();
    if (key > 0)
        reopen(key);
}

void ApplicationsListWindow::modifyApplication()
{
    const qint64 key = currentKey();
    if (key <= 0)
        return;
    if (!onModify) {
        shell::NotAvailable(ui_, QStringLiteral("Modifica cerere"));
        return;
    }
    if (onModify(key))
        reopen(key);
}

void ApplicationsListWindow::deleteApplication()
{
    const qint64 key = currentKey();
    if (key <= 0)
        return;
    // The list comes back on the application listed just before the deleted one (the
    // new first one when the first was deleted).
    const int row = grid_->currentIndex().row();
    const qint64 before = row > 0 ? model_.list().key(row - 1) : model_.list().key(row + 1);
    const Outcome o = RunGuarded(ui_, QStringLiteral("Stergere cerere"),
                                 [&] { return ApplicationStore(ui_).remove(key) ? Outcome::success(1) : Outcome{}; });
    if (o.done || o.failed)
        reopen(o.done ? before : key);
}

void ApplicationsListWindow::copyFromMonth()
{
    if (haveMonth && !haveMonth(QStringLiteral("Adaugare Cereri")))
        return;
    if (!chooseMonth)
        return shell::NotAvailable(ui_, QStringLiteral("Adaugare cereri din luna"));
    const int source = chooseMonth(QStringLiteral("Adaugare cereri din luna"));
    if (source <= 0)
        return;
    CopyFromMonth(ui_, source, model_.list().monthCode());
    reopen(-1);
}

void ApplicationsListWindow::removeAlsoInMonth()
{
    if (haveMonth && !haveMonth(QStringLiteral("Stergere Cereri")))
        return;
    if (!chooseMonth)
        return shell::NotAvailable(ui_, QStringLiteral("Sterge cereri din luna"));
    const int other = chooseMonth(QStringLiteral("Sterge cereri din luna"));
    if (other <= 0)
        return;
    RemoveAlsoInMonth(ui_, other, model_.list().monthCode());
    reopen(-1);
}

void ApplicationsListWindow::numberDispositions()
{
    if (listEmpty())
        return ui_.fieldHint(kEmptyList, button(Command::NumberDispositions));
    const qint64 key = currentKey();
    numbering_->run(model_.list().monthCode());
    reopen(key);
    WriteLog(QStringLiteral("Numerotare Dispozitii."));
}

void ApplicationsListWindow::setDates()
{
    if (listEmpty())
        return ui_.fieldHint(kEmptyList, button(Command::SetDates));
    const qint64 key = currentKey();
    dates_->run(model_.list().monthCode());
    reopen(key);
    WriteLog(QStringLiteral("Modificare Data Cereri."));
}

void ApplicationsListWindow::changeMonths()
{
    if (haveMonth && !haveMonth(QStringLiteral("Recalculare cereri")))
        return;
    const qint64 key = currentKey();
    const Outcome o = months_->run(model_.list().monthCode());
    if (o.done || o.failed)
        reopen(key);
}

} // namespace focaris::gui
