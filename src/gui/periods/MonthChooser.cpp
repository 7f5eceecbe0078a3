// The chooser "Perioada".
#include "gui/periods/MonthChooser.h"

#include "core/Ui.h"
#include "periods/MonthChoosers.h"

#include "gui/widgets/DialogParts.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

MonthChooser::MonthChooser(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("SelLuna"), QStringLiteral("Perioada"));
    list_ = Named<QComboBox>(QStringLiteral("Luna"), this);
    list_->setMinimumWidth(180);
    list_->installEventFilter(this);
    choose_ = DialogButton(QStringLiteral("&Am ales luna"), this, QStringLiteral("ChooseButton"));
    cancel_ = CancelButton(QStringLiteral("Renunt"), this, QStringLiteral("Renunt"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Luna"), this));
    layout->addWidget(list_);
    layout->addWidget(ButtonRow(this, {choose_, cancel_}, ButtonsAt::Centre));
    connect(choose_, &QPushButton::clicked, this, &MonthChooser::tryAccept);
}

bool MonthChooser::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the list chooses, as the button does.
    if (watched == list_ && IsEnterKey(event)) {
        tryAccept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MonthChooser::tryAccept()
{
    if (const auto refusal = periods::CheckChosenMonth(list_->currentText())) {
        ui_.fieldHint(refusal->message, list_);
        return;
    }
    accept();
}

bool MonthChooser::choose(const QString &title, QString &month)
{
    setWindowTitle(title);
    list_->clear();
    list_->addItems(periods::MonthsForChooser());
    list_->setCurrentIndex(list_->count() > 0 ? 0 : -1);
    if (!ExecFrom(this, list_))
        return false;
    month = list_->currentText();
    return true;
}

std::function<bool(const QString &, QString &)> &ChooseMonthAnswer()
{
    static std::function<bool(const QString &, QString &)> answer;
    return answer;
}

bool ChooseMonth(Ui &ui, const QString &title, QString &month, QWidget *parent)
{
    if (ChooseMonthAnswer())
        return ChooseMonthAnswer()(title, month);
    MonthChooser chooser(ui, parent);
    return chooser.choose(title, month);
}

} // namespace focaris::gui
