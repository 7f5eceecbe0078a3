// The aid calculation of one application (percentage, monthly value, total, supplements,
// status) and the month changes of the month operations.
#include "applications/AidCalculation.h"

#include "applications/Cnp.h"

namespace focaris {

int CompensationPercent(int members, bool approved, Amount totalIncome, const AidParameters &params)
{
    // A negative count cannot come from the editor; it is refused like 0 rather than
    // turning the income per member negative and landing in the first bracket.
    if (!approved || members <= 0)
        return 0;
    // income / members <= limit is tested as income <= limit × members, exactly.
    auto atMost = [&](Amount limit) { return __int128(totalIncome.units()) <= __int128(limit.units()) * members; };
    if (!atMost(params.lim[10]))
        return 0;
    if (members == 1 && !atMost(params.lim[9]))
        return int(params.cu[10].truncated());
    for (int i = 0; i < 10; ++i)
        if (atMost(params.lim[i]))
            return int(params.cu[i].truncated());
    return 0;
}

Amount AverageConsumption(int rooms, const AidParameters &params)
{
    return rooms >= 1 && rooms <= 3 ? params.cl[rooms - 1] : params.cl[3];
}

Amount MonthlyValue(Amount tariff, Amount percent, int rooms, const AidParameters &params)
{
    // tariff × percent / 100 × consumption, all in units of 1/10000, rounded once.
    const __int128 num = __int128(tariff.units()) * percent.units() * AverageConsumption(rooms, params).units();
    const __int128 den = __int128(Amount::kScale) * Amount::kScale * 100;
    return Amount::fromUnits(roundedQuotient(num, den, Amount::Rounding::HalfEven));
}

static bool isApproved(const QString &status)
{
    return status.trimmed() == QLatin1String(kStatusApproved);
}

ApplicationAmounts CalculeazaCerere(const ApplicationInput &in, const AidParameters &params)
{
    ApplicationAmounts out;
    // The editor never stores fewer than one member; a zero count gives 0 rather than a
    // division by zero.
    if (in.members > 0)
        out.venitm = Amount::divide(in.totalIncome, in.members);
    const int p = CompensationPercent(in.members, isApproved(in.status), in.totalIncome, params);
    out.cuantum = in.heatingAid ? Amount(p) : Amount();
    out.valmax = MonthlyValue(in.tariff, out.cuantum, in.rooms, params);
    out.total = out.valmax * in.months;
    return out;
}

Recalculation Recalculeaza(const ApplicationInput &in, const AidParameters &params)
{
    Recalculation out;
    const int p = CompensationPercent(in.members, isApproved(in.status), in.totalIncome, params);
    // Greater than 1, not than 0: a bracket percentage of 1 rejects here.
    if (p > 1) {
        out.status = kStatusApproved;
    } else {
        out.status = kStatusRejected;
        out.reason = kIncomeRejectReason;
    }
    out.cuantum = in.heatingAid ? Amount(p) : Amount();
    // Each granted supplement takes the current value; electricity takes the higher
    // "only source" value when it is the household's only supplement.
    const Amount sum = in.sumaL + in.sumaG + in.sumaE + in.sumaT;
    out.sumaL = in.sumaL > 0 ? params.indL : Amount();
    out.sumaG = in.sumaG > 0 ? params.indG : Amount();
    out.sumaT = in.sumaT > 0 ? params.indT : Amount();
    out.sumaE = in.sumaE > 0 ? (in.sumaE == sum ? params.indE2 : params.indE) : Amount();
    out.valmax = MonthlyValue(in.tariff, out.cuantum, in.rooms, params);
    out.total = out.valmax * in.months;
    return out;
}

Amount TotalAfterMonthsChange(int k, Amount cuantum, Amount valmax, Amount oldTotal)
{
    return cuantum > 1 ? valmax * k : oldTotal;
}

int MonthsAfterCopy(const QString &status, int months)
{
    const QString s = status.trimmed();
    if (s == QLatin1String(kStatusRejected) || s == QLatin1String(kStatusCeased))
        return months;
    // A stored 0 (never written by the editor) would otherwise give -1 months.
    return months - 1 <= 0 ? 5 : months - 1;
}

ChildrenCount CountChildren(const QStringList &memberCnps, const QDate &applicationDate)
{
    ChildrenCount count;
    if (!applicationDate.isValid())
        return count;
    const QDate adult = applicationDate.addMonths(-216);
    const QDate teen = applicationDate.addMonths(-168);
    for (const QString &cnp : memberCnps) {
        const QDate born = cnp::BirthDate(cnp);
        if (!born.isValid() || born < adult)
            continue;
        if (born > teen)
            ++count.under14;
        else
            ++count.over14;
    }
    return count;
}

} // namespace focaris
