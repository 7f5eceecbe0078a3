// The counts and sums of the county agency's annexes, gathered in one pass over the
// applications into arrays by number of months, income bracket, family size, month and
// energy type, so that no annex filters the rows again for each of its cells.
#pragma once

#include "reports/AjpisRows.h"

#include <array>
#include <map>
#include <vector>

namespace focaris::reports {

// The four energy types of the supplement annexes, in the order the files are made.
enum class Energy { Wood = 0, Gas = 1, Electricity = 2, Thermal = 3 };
inline constexpr int kEnergyCount = 4;
// The supplement of that type (SUMAL, SUMAG, SUMAE, SUMAT).
Amount EnergyAmount(const ApplicationRow &row, Energy e);
// "Combustibili solizi/petrolieri", "Gaze naturale", "Energie electrica", "Energie termica".
QString EnergyText(Energy e);
// "Lemne", "Gaz", "Electrica", "Termica".
QString EnergySuffix(Energy e);

// Counts (annex 23) and sums (annex 24) of one month: [0] families, [1] single persons;
// index k - 1 for bracket k.
struct MonthGrid {
    std::array<std::array<int, 11>, 2> count{};
    std::array<std::array<Amount, 11>, 2> sum{};
};

struct AjpisCounts {
    // Annex 21: [m - 1][k - 1][c - 1] for m months (1..5), bracket k, family column c
    // (1..5: 2, 3, 4, 5 and more than 5 members; 6: single persons).
    int annex21[5][11][6] = {};
    // Annex 22: the sum of CUANTUM of the applications whose CUANTUM equals Cu k,
    // [k - 1][m - 1][0 families, 1 single persons].
    Amount annex22[11][5][2] = {};
    // The month codes of the period that hold any application, ascending.
    std::vector<int> months;
    // Annexes 23 and 24 by energy type and month code; a type without any qualifying
    // application has no entry in `hasData`.
    std::array<std::map<int, MonthGrid>, kEnergyCount> energy;
    std::array<bool, kEnergyCount> hasData{};
};

// The family column of annex 21 for a number of members (0 for none).
int FamilyColumn(int members);

// Annex 1 and 21 take the approved applications of the period with a heating aid.
bool InAnnex1(const ApplicationRow &row, int from, int to);

// Gathers every count and sum of annexes 21 to 24 from the rows of the period from..to.
AjpisCounts CountAjpis(const std::vector<ApplicationRow> &rows, int from, int to, const AidParameters &params);

} // namespace focaris::reports
