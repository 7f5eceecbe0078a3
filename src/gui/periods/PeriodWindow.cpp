// The window "Perioada in lucru".
#include "gui/periods/PeriodWindow.h"

#include "core/Ui.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/WindowAction.h"
#include "periods/Imports.h"

#include <QComboBox>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

PeriodWindow::PeriodWindow(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("Perioada"), QStringLiteral("Perioada in lucru"));
    list_ = Named<QComboBox>(QStringLiteral("Luna"), this);
    list_->setMinimumWidth(200);
    auto *grid = new QGridLayout;
    grid->addWidget(addButton(QStringLiteral("AddButton"), QStringLiteral("&Adauga luna")), 0, 0);
    grid->addWidget(addButton(QStringLiteral("DeleteButton"), QStringLiteral("&Sterge luna")), 0, 1);
    grid->addWidget(addButton(QStringLiteral("SaveButton"), QStringLiteral("&Memoreaza si inchide")), 1, 0);
    grid->addWidget(addButton(QStringLiteral("CancelButton"), QStringLiteral("&Renunta si inchide")), 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Luna in lucru"), this));
    layout->addWidget(list_);
    layout->addLayout(grid);
    layout->addWidget(addButton(QStringLiteral("ImportButton"), QStringLiteral("Import dosare din VMG sau ASF")));

    importMenu_ = new QMenu(this);
    QAction *vmg = importMenu_->addAction(QStringLiteral("Import din VMG"));
    vmg->setObjectName(QStringLiteral("ImportVmgItem"));
    QAction *asf = importMenu_->addAction(QStringLiteral("Import din ASF"));
    asf->setObjectName(QStringLiteral("ImportAsfItem"));
    // Every command of the window changes the month list, the working month or the data,
    // so each is refused in a view-only run; a failure ends the command, not the program.
    auto writing = [this](const QString &title, void (PeriodWindow::*work)()) {
        return
            [this, title, work] { RunWindowAction(ui_, title, ActionKind::Writes, [this, work] { (this->*work)(); }); };
    };
    connect(vmg, &QAction::triggered, this, writing(QStringLiteral("Preluare L416"), &PeriodWindow::importVmg));
    connect(asf, &QAction::triggered, this, writing(QStringLiteral("Preluare ASF"), &PeriodWindow::importAsf));

    add_ = new AddMonthDialog(ui_, this);
    connect(button(QStringLiteral("AddButton")), &QPushButton::clicked, this,
            writing(QStringLiteral("Adaugare Luna"), &PeriodWindow::addMonth));
    connect(button(QStringLiteral("DeleteButton")), &QPushButton::clicked, this,
            writing(QStringLiteral("Stergere luna"), &PeriodWindow::deleteMonth));
    connect(button(QStringLiteral("SaveButton")), &QPushButton::clicked, this,
            writing(QStringLiteral("Luna in lucru"), &PeriodWindow::keepAndClose));
    connect(button(QStringLiteral("CancelButton")), &QPushButton::clicked, this, &QDialog::reject);
    connect(button(QStringLiteral("ImportButton")), &QPushButton::clicked, this, &PeriodWindow::showImportMenu);
    // The selection follows the list, so that the month kept or deleted is the one shown.
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) { state_.selected = index; });
}

QPushButton *PeriodWindow::addButton(const QString &name, const QString &caption)
{
    return DialogButton(caption, this, name);
}

QPushButton *PeriodWindow::button(const QString &objectName) const
{
    return FindButton<QPushButton>(*this, objectName);
}

void PeriodWindow::load()
{
    state_ = periods::OpenPeriodList();
    showList();
}

void PeriodWindow::setList(const periods::PeriodList &list)
{
    state_ = list;
    showList();
}

void PeriodWindow::open()
{
    load();
    exec();
}

void PeriodWindow::showList()
{
    const int selected = state_.selected;
    const QSignalBlocker block(list_);
    list_->clear();
    list_->addItems(state_.months);
    list_->setCurrentIndex(selected);
    state_.selected = list_->currentIndex();
}

void PeriodWindow::addMonth()
{
    QString month;
    if (!add_->ask(month))
        return;
    if (const auto refusal = periods::AddListedMonth(state_, month)) {
        ui_.fieldHint(refusal->message, list_);
        return;
    }
    showList();
}

void PeriodWindow::deleteMonth()
{
    // The entry selected now, when the button is pressed, is the month deleted.
    const int index = list_->currentIndex();
    if (state_.months.isEmpty()) {
        ui_.fieldHint(QStringLiteral("Nu mai aveti ce sterge!"), button(QStringLiteral("DeleteButton")));
        return;
    }
    const periods::DeleteOutcome out = periods::DeleteListedMonth(ui_, state_, index);
    if (out.refusal)
        ui_.fieldHint(out.refusal->message, button(QStringLiteral("DeleteButton")));
    if (out.deleted)
        showList();
}

void PeriodWindow::keepAndClose()
{
    periods::KeepPeriodList(state_);
    accept();
}

void PeriodWindow::showImportMenu()
{
    QPushButton *b = button(QStringLiteral("ImportButton"));
    importMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
}

void PeriodWindow::runImport(bool vmg)
{
    if (vmg)
        periods::ImportFromVmg(ui_);
    else
        periods::ImportFromAsf(ui_);
}

} // namespace focaris::gui
