// The parameters of the aid calculation set in the administration window: ten income
// brackets with their percentages, the single person's limit, the monthly supplements
// and the average heat consumption by number of rooms, with their default values.
#pragma once

#include "core/Amount.h"

#include <QString>

#include <array>

namespace focaris {

struct AidParameters {
    // lim[0..9] = Lim1..Lim10 (upper bounds per member, inclusive), lim[10] = Lim11 (the
    // ceiling for everybody and the single person's upper bound); cu[i] = Cu(i+1).
    std::array<Amount, 11> lim{200, 320, 440, 560, 680, 920, 1040, 1160, 1280, 1386, 2053};
    std::array<Amount, 11> cu{100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 10};
    Amount indL = 20;  // solid or petroleum fuels (wood), lei per month
    Amount indG = 10;  // natural gas
    Amount indT = 10;  // thermal energy
    Amount indE = 30;  // electricity
    Amount indE2 = 70; // electricity when it is the home's only energy source
    // cl[0..3] = CL1..CL4: Gcal per month for 1, 2, 3 and 4 or more rooms.
    std::array<Amount, 4> cl{Amount::fromUnits(8200), Amount::fromUnits(13100), Amount::fromUnits(17000),
                             Amount::fromUnits(23700)};
};

// The parameters in force: the keys of section "SETARI" of the shared settings file over
// the defaults. Lim and Cu keys that are present and not empty replace the default (a
// text that is not a number counts as 0); IndL..IndE2 replace it only when they hold a
// number, truncated to whole lei; CL1..CL4 likewise, kept with their decimals.
AidParameters LoadAidParameters();
// Same, from any settings file (the tool's --settings).
AidParameters LoadAidParametersFrom(const QString &settingsFile);
// Writes every parameter as a number into "SETARI" of the shared settings file.
void SaveAidParameters(const AidParameters &params);

} // namespace focaris
