// One pass over the applications for the counts and sums of annexes 21 to 24.
#include "reports/AjpisCounts.h"

#include <set>

namespace focaris::reports {

Amount EnergyAmount(const ApplicationRow &row, Energy e)
{
    switch (e) {
    case Energy::Wood: return row.sumal;
    case Energy::Gas: return row.sumag;
    case Energy::Electricity: return row.sumae;
    case Energy::Thermal: return row.sumat;
    }
    return {};
}

QString EnergyText(Energy e)
{
    static const char *const texts[] = {"Combustibili solizi/petrolieri", "Gaze naturale", "Energie electrica",
                                        "Energie termica"};
    return QString::fromLatin1(texts[int(e)]);
}

QString EnergySuffix(Energy e)
{
    static const char *const suffixes[] = {"Lemne", "Gaz", "Electrica", "Termica"};
    return QString::fromLatin1(suffixes[int(e)]);
}

int FamilyColumn(int members)
{
    if (members == 1)
        return 6;
    if (members >= 2 && members <= 5)
        return members - 1;
    return members > 5 ? 5 : 0;
}

bool InAnnex1(const ApplicationRow &row, int from, int to)
{
    return row.approved() && row.total > Amount() && row.month >= from && row.month <= to;
}

AjpisCounts CountAjpis(const std::vector<ApplicationRow> &rows, int from, int to, const AidParameters &params)
{
    AjpisCounts out;
    const IncomeBrackets brackets(params);
    std::set<int> months;
    for (const ApplicationRow &r : rows) {
        if (r.month < from || r.month > to)
            continue;
        months.insert(r.month);
        const bool single = r.single();
        const bool family = r.members > 1;

        if (InAnnex1(r, from, to) && r.months >= 1 && r.months <= 5) {
            const int m = r.months;
            const int c = FamilyColumn(r.members);
            if (c > 0)
                brackets.forEach(r.venitm, c == 6, [&](int k) { ++out.annex21[m - 1][k - 1][c - 1]; });
            // Annex 22 groups by the compensation level itself, not by income.
            if (single || family)
                for (int k = 1; k <= 11; ++k)
                    if (IncomeBrackets::counts(k, single) && r.cuantum == params.cu[k - 1])
                        out.annex22[k - 1][m - 1][single ? 1 : 0] += r.cuantum;
        }

        if (!r.active())
            continue;
        for (int t = 0; t < kEnergyCount; ++t) {
            const Amount a = EnergyAmount(r, Energy(t));
            if (a <= Amount())
                continue;
            out.hasData[t] = true;
            if (!single && !family)
                continue;
            MonthGrid &grid = out.energy[t][r.month];
            brackets.forEach(r.venitm, single, [&](int k) {
                ++grid.count[single ? 1 : 0][k - 1];
                grid.sum[single ? 1 : 0][k - 1] += a;
            });
        }
    }
    out.months.assign(months.begin(), months.end());
    return out;
}

} // namespace focaris::reports
