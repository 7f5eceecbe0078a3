// The operation side of the two month choosers that other windows open: "Perioada" (a
// month of the list other than the working month, for copying or deleting applications
// of another month) and "Alegeti luna" (a payment month of the cold season, with an
// optional year).
#pragma once

#include "periods/Periods.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace focaris::periods {

// The entries of "Perioada": "Luni.lst" without the working month, in list order.
QStringList MonthsForChooser();

// "&Am ales luna": a blank choice is refused with "Alegeti mai intai o luna!" (field
// "Luna").
std::optional<Refusal> CheckChosenMonth(const QString &monthText);

// One entry of "Alegeti luna": the name shown and the two digits returned.
struct PaymentMonth {
    QString name;
    QString digits;
};
// "Noiembrie" 11, "Decembrie" 12, "Ianuarie" 01, "Februarie" 02, "Martie" 03.
const QVector<PaymentMonth> &PaymentMonths();

// "Am ales" with the year shown: 2010 <= year <= currentYear, else "An incorect!" (field
// "Anul").
std::optional<Refusal> CheckPaymentYear(const QString &yearText, int currentYear, int &year);

} // namespace focaris::periods
