// The numbering window.
#include "gui/applications/NumberingDialog.h"

#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

NumberingDialog::NumberingDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Numerotare Dispozitii"));
    setObjectName(QStringLiteral("TNrDispozF"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Numeroteaza Dispozitiile la Cereri"), this));

    numbers_.from = DigitsEntry(QStringLiteral("A"), this);
    numbers_.to = DigitsEntry(QStringLiteral("B"), this);
    first_ = DigitsEntry(QStringLiteral("D"), this);
    for (QLineEdit *e : {numbers_.from, numbers_.to, first_})
        e->setMaxLength(10);
    date_ = new DateField(QDate::currentDate(), this);
    category_ = new QComboBox(this);
    category_->addItems({QStringLiteral("Toate cererile"), QStringLiteral("Aprobate"),
                         QStringLiteral("Aprobate cu modificare"), QStringLiteral("Respinse")});
    auto *form =
        RangeRows(numbers_, QStringLiteral("incepand cu cererea nr."), QStringLiteral("terminand cu cererea nr."));
    AddFormRows(form, {{QStringLiteral("dispozitii incepand cu numarul"), first_},
                       {QStringLiteral("din data"), date_},
                       {QStringLiteral("Numeroteaza doar cererile"), category_}});
    layout->addLayout(form);
    clear_ = new QCheckBox(QStringLiteral("Sterge numarul de dispozitii la celelalte cereri"), this);
    same_ = new QCheckBox(QStringLiteral("Da acelasi numar de dispozitie la toate cererile"), this);
    same_->setObjectName(QStringLiteral("SameNumber"));
    layout->addWidget(clear_);
    layout->addWidget(same_);
    // "Aprobate" usually goes under one common disposition; the person may change it.
    connect(category_, &QComboBox::currentIndexChanged, this, [this](int i) { same_->setChecked(i == 1); });

    auto *go = DialogButton(QStringLiteral("&Numeroteaza"), this, QStringLiteral("Number"));
    auto *cancel = CancelButton(QStringLiteral("&Renunt"), this);
    layout->addWidget(ButtonRow(this, {go, cancel}));
    connect(go, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { start(); }));
    for (QWidget *w : std::initializer_list<QWidget *>{numbers_.from, numbers_.to, first_, date_})
        w->installEventFilter(this);
}

bool NumberingDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (IsEnterKey(event)) {
        // Enter moves to the next field; on the date it starts the numbering.
        if (watched == date_)
            start();
        else
            focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

Outcome NumberingDialog::run(int month)
{
    month_ = month;
    outcome_ = {};
    for (QLineEdit *e : {numbers_.from, numbers_.to, first_})
        e->setText(QStringLiteral("0"));
    numbers_.from->setFocus();
    numbers_.from->selectAll();
    exec();
    return outcome_;
}

void NumberingDialog::start()
{
    if (!CheckDateFields(ui_, {date_}))
        return;
    NumberingRequest req;
    req.from = numbers_.from->text().toLongLong();
    req.to = numbers_.to->text().toLongLong();
    req.start = first_->text().toLongLong();
    req.date = date_->date();
    req.category = static_cast<DispositionCategory>(category_->currentIndex());
    req.clearOthers = clear_->isChecked();
    req.sameNumber = same_->isChecked();
    outcome_ = NumberDispositions(ui_, month_, req);
    if (outcome_.refused()) {
        QWidget *at = outcome_.field == QLatin1String("b")   ? numbers_.to
                      : outcome_.field == QLatin1String("d") ? first_
                                                             : numbers_.from;
        ui_.fieldHint(outcome_.message, at);
        at->setFocus();
        return;
    }
    // Done, or stopped by a failure already reported: the window closes either way.
    accept();
}

} // namespace focaris::gui
