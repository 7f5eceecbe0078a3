// Removing from the working month every application whose applicant also has one in
// another month, with the members left without an application anywhere.
#pragma once

#include "applications/MonthOperation.h"

namespace focaris {

// Removes from `workingMonth` the applications whose CNP also has an application in
// `otherMonth`, then every member whose application no longer exists (in any month). The
// data folder is first saved to a dated archive; when that save fails nothing is removed.
// The working month itself is refused as the other month (it would empty the month).
// Outcome done with rows = applications removed, members = members removed.
Outcome RemoveAlsoInMonth(Ui &ui, int otherMonth, int workingMonth);

} // namespace focaris
