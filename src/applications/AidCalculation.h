// The aid calculation of one application: compensation percentage, income per member,
// monthly value and total of the heating aid, the supplements and the status the
// recalculation gives, and the month changes of the month operations. Pure functions of
// their inputs and the parameters in force.
#pragma once

#include "admin/AidParameters.h"
#include "core/Amount.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace focaris {

inline constexpr const char *kStatusApproved = "APROBAT";
inline constexpr const char *kStatusRejected = "RESPINS";
inline constexpr const char *kStatusCeased = "INCETAT";
// The reason the recalculation writes when the income is too high.
inline constexpr const char *kIncomeRejectReason =
    "nu se incadreaza in limita maxima legala a veniturilor pe membru de familie";

// Whole percentage 0..100; 0 means not eligible. Brackets are inclusive; a single person
// above Lim10 and up to Lim11 gets Cu11; nobody above Lim11 gets anything.
int CompensationPercent(int members, bool approved, Amount totalIncome, const AidParameters &params);
// Gcal per month: CL1, CL2, CL3 for 1, 2, 3 rooms, CL4 for any other number.
Amount AverageConsumption(int rooms, const AidParameters &params);
// TARIF × CUANTUM / 100 × AverageConsumption(rooms), rounded to four decimals (halves to
// even).
Amount MonthlyValue(Amount tariff, Amount percent, int rooms, const AidParameters &params);

// The stored inputs of one application (columns of the applications table).
struct ApplicationInput {
    int members = 0;                   // NR_MEMBRI
    Amount totalIncome;                // TVENIT
    QString status = kStatusApproved;  // STATUT
    bool heatingAid = true;            // CUAJUT = "X"
    int rooms = 0;                     // NRCAM
    Amount tariff;                     // TARIF
    int months = 0;                    // NR_LUNI
    Amount sumaL, sumaG, sumaE, sumaT; // supplements as stored
    QString reason;                    // MOTIVR as stored
};

// What storing an application from the editor computes.
struct ApplicationAmounts {
    Amount venitm;  // TVENIT / NR_MEMBRI, four decimals, halves to even
    Amount cuantum; // percentage, 0 without the heating aid
    Amount valmax;  // monthly value of the heating aid
    Amount total;   // NR_LUNI × VALMAX
};
ApplicationAmounts CalculeazaCerere(const ApplicationInput &in, const AidParameters &params);

// What the recalculation of one stored row writes back (VENITM is not recomputed).
struct Recalculation {
    QString status, reason;
    Amount cuantum, sumaL, sumaG, sumaE, sumaT, valmax, total;
};
Recalculation Recalculeaza(const ApplicationInput &in, const AidParameters &params);

// Changing the number of months of the whole working month to k: TOTAL becomes
// k × VALMAX where CUANTUM > 1 and stays as it was elsewhere.
Amount TotalAfterMonthsChange(int k, Amount cuantum, Amount valmax, Amount oldTotal);
// Copying an application into another month: one month less to run unless it is
// "RESPINS" or "INCETAT"; 0 months left starts again at 5.
int MonthsAfterCopy(const QString &status, int months);

// Children of a household counted from the members' birth dates against the
// application date: born on or after the date 18 years before it is a child, and born
// after the date 14 years before it counts under 14.
struct ChildrenCount {
    int under14 = 0; // COPII14
    int over14 = 0;  // COPII18
};
ChildrenCount CountChildren(const QStringList &memberCnps, const QDate &applicationDate);

} // namespace focaris
