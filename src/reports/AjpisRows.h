// The applications the agency and supplier reports are made from, read from Cereri.dbf
// in one statement and kept as plain values, with the texts the annexes print built from
// them (the joined address, the disposition number with its date) and the income
// brackets of the administration settings.
#pragma once

#include "admin/AidParameters.h"
#include "core/Amount.h"

#include <QString>

#include <array>
#include <vector>

namespace focaris::reports {

struct ApplicationRow {
    qint64 nrcrt = 0;
    int month = 0; // LUNACRT
    QString statut;
    QString subsemn, cnp, localit, adresa;
    int members = 0; // NR_MEMBRI
    int months = 0;  // NR_LUNI
    Amount venitm, cuantum, valmax, total;
    Amount sumal, sumag, sumae, sumat;
    QString nrDisp;   // NR_DISP as stored
    int dispDate = 0; // DATADISP as days from 1 January 1970; 0 when blank
    bool hasDispDate = false;
    QString furnt, codclt;
    QString titg, furng, codclg, podg;
    QString tite, furne, codcle, pode;

    bool approved() const { return statut == QLatin1String("APROBAT"); }
    // Neither rejected nor ended (a blank status counts as neither, as the statements
    // "STATUT<>..." of the older program treated it: unknown, so left out).
    bool active() const;
    bool single() const { return members == 1; }
};

// The rows of Cereri.dbf (data folder) whose LUNACRT lies in from..to or equals `also`,
// ordered by SUBSEMN and then NRCRT, as the database engine orders texts. Blank texts
// are empty, trimmed.
std::vector<ApplicationRow> ReadApplications(int from, int to, int also);

// LOCALIT + " " + ADRESA, a blank part read as the empty text, trimmed, cut to `width`.
QString JoinedAddress(const ApplicationRow &row, int width = 100);
// NR_DISP + "/" + DATADISP as dd.mm.yyyy; the number alone when the date is blank, and the
// empty text for an unnumbered disposition.
QString DispositionText(const ApplicationRow &row);

// The eleven income brackets: k = 1..11, lower < VENITM <= upper. Bracket 10 counts
// families only, bracket 11 (which starts at Lim9, not Lim10) single persons only.
class IncomeBrackets {
public:
    explicit IncomeBrackets(const AidParameters &params);
    bool contains(int k, Amount income) const;
    // Whether bracket k counts a single person (true) or a family (false).
    static bool counts(int k, bool single) { return single ? k != 10 : k != 11; }
    // The brackets row k of a report receives for this applicant, in order (usually one;
    // more only when the limits overlap).
    template <typename F>
    void forEach(Amount income, bool single, F f) const
    {
        for (int k = 1; k <= 11; ++k)
            if (counts(k, single) && contains(k, income))
                f(k);
    }

private:
    std::array<Amount, 11> lower_, upper_;
};

} // namespace focaris::reports
