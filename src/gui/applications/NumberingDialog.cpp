// The numbering window.
#include "gui/applications/NumberingDialog.h"

#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace focaris::gui {

namespace {

QLineEdit *numberField(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), e));
    e->setMaxLength(10);
    return e;
}

} // namespace

NumberingDialog::NumberingDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Numerotare Dispozitii"));
    setObjectName(QStringLiteral("TNrDispozF"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Numeroteaza Dispozitiile la Cereri"), this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    layout->addWidget(heading);

    auto *form = new QFormLayout;
    from_ = numberField(this, QStringLiteral("A"));
    to_ = numberField(this, QStringLiteral("B"));
    first_ = numberField(this, QStringLiteral("D"));
    date_ = new DateField(QDate::currentDate(), this);
    form->addRow(QStringLiteral("incepand cu cererea nr."), from_);
    form->addRow(QStringLiteral("terminand cu cererea nr."), to_);
    form->addRow(QStringLiteral("dispozitii incepand cu numarul"), first_);
    form->addRow(QStringLiteral("din data"), date_);
    category_ = new QComboBox(this);
    category_->addItems({QStringLiteral("Toate cererile"), QStringLiteral("Aprobate"),
                         QStringLiteral("Aprobate cu modificare"), QStringLiteral("Respinse")});
    form->addRow(QStringLiteral("Numeroteaza doar cererile"), category_);
    layout->addLayout(form);
    clear_ = new QCheckBox(QStringLiteral("Sterge numarul de dispozitii la celelalte cereri"), this);
    same_ = new QCheckBox(QStringLiteral("Da acelasi numar de dispozitie la toate cererile"), this);
    same_->setObjectName(QStringLiteral("SameNumber"));
    layout->addWidget(clear_);
    layout->addWidget(same_);
    // "Aprobate" usually goes under one common disposition; the person may change it.
    connect(category_, &QComboBox::currentIndexChanged, this, [this](int i) { same_->setChecked(i == 1); });

    auto *buttons = new QHBoxLayout;
    auto *go = new QPushButton(QStringLiteral("&Numeroteaza"), this);
    go->setObjectName(QStringLiteral("Number"));
    auto *cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    go->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(go, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { start(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget *w : std::initializer_list<QWidget *>{from_, to_, first_, date_})
        w->installEventFilter(this);
}

bool NumberingDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves to the next field; on the date it starts the numbering.
            if (watched == date_)
                start();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

Outcome NumberingDialog::run(int month)
{
    month_ = month;
    outcome_ = {};
    for (QLineEdit *e : {from_, to_, first_})
        e->setText(QStringLiteral("0"));
    from_->setFocus();
    from_->selectAll();
    exec();
    return outcome_;
}

void NumberingDialog::start()
{
    if (!CheckDateFields(ui_, {date_}))
        return;
    NumberingRequest req;
    req.from = from_->text().toLongLong();
    req.to = to_->text().toLongLong();
    req.start = first_->text().toLongLong();
    req.date = date_->date();
    req.category = static_cast<DispositionCategory>(category_->currentIndex());
    req.clearOthers = clear_->isChecked();
    req.sameNumber = same_->isChecked();
    outcome_ = NumberDispositions(ui_, month_, req);
    if (outcome_.refused()) {
        QWidget *at = outcome_.field == QLatin1String("b") ? to_ : outcome_.field == QLatin1String("d") ? first_ : from_;
        ui_.fieldHint(outcome_.message, at);
        at->setFocus();
        return;
    }
    // Done, or stopped by a failure already reported: the window closes either way.
    accept();
}

} // namespace focaris::gui
