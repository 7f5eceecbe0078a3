// The copy of the continuing applications of another month into the working month, with
// their members, new keys, one month less to run and the totals that follow.
#pragma once

#include "applications/MonthOperation.h"

#include <functional>

namespace focaris {

// Copies the applications of `sourceMonth` whose status is neither "INCETAT" nor
// "RESPINS" into `workingMonth` (month codes). Nothing is copied, and no key is taken,
// when any of their CNPs already has an application in the working month: the message
// names the first such person. The members are written before the applications, so that
// a failure between the two leaves only members without an application (the removal of
// orphan members takes them away) and a retry is not refused as a duplicate.
// `afterMembers` is called between the two writes (tests stop the copy there).
// Outcome: done with rows = applications copied and members = members copied.
Outcome CopyFromMonth(Ui &ui, int sourceMonth, int workingMonth, const std::function<void()> &afterMembers = {});

} // namespace focaris
