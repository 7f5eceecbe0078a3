// The changes of the whole working month: a new number of months for every application,
// and the recalculation of every application with the aid parameters in force.
#pragma once

#include "admin/AidParameters.h"
#include "applications/MonthOperation.h"

namespace focaris {

// Every application of `month` gets NR_LUNI = k; where CUANTUM > 1 also TOTAL =
// k × VALMAX. k must be 1..5 (refusal on field "k"). Shows the closing message and writes
// the log entry. Outcome rows = applications of the month.
Outcome ChangeMonths(Ui &ui, int month, int k);

// Every application of `month`, recalculated with `params`: status and reason, CUANTUM,
// the four supplements, VALMAX and TOTAL (VENITM stays). The progress scale is one step
// per hundred applications. Shows the closing message and writes the log entry.
Outcome RecalculateMonth(Ui &ui, int month, const AidParameters &params);

} // namespace focaris
