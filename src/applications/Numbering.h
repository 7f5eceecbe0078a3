// Numbering the dispositions of a range of applications of the working month, and setting
// the application date of a range. Ranges are application numbers (NR_CERE), inclusive.
#pragma once

#include "applications/MonthOperation.h"

#include <QDate>

namespace focaris {

enum class DispositionCategory { All, Approved, ApprovedModified, Rejected };

struct NumberingRequest {
    qint64 from = 0;  // "incepand cu cererea nr." (field "a")
    qint64 to = 0;    // "terminand cu cererea nr." (field "b")
    qint64 start = 0; // "dispozitii incepand cu numarul" (field "d")
    QDate date;       // "din data" (field "date")
    DispositionCategory category = DispositionCategory::All;
    bool clearOthers = false; // "Sterge numarul de dispozitii la celelalte cereri"
    bool sameNumber = false;  // "Da acelasi numar de dispozitie la toate cererile"
};

// The condition of a category over the applications table's columns (empty for All).
QString CategoryCondition(DispositionCategory category);

// Gives the selected applications of `month` the disposition numbers start, start + 1,
// ... in the order of their application numbers (all the number start with sameNumber)
// and the date; with clearOthers every application of the month loses its disposition
// first. Refusals name the field ("a", "b", "d", "date"). Outcome rows = applications
// numbered. The caller writes the log entry.
Outcome NumberDispositions(Ui &ui, int month, const NumberingRequest &request);

// Sets DATACERE of the applications of `month` numbered from..to. Refusals as above.
Outcome SetApplicationDates(Ui &ui, int month, qint64 from, qint64 to, const QDate &date);

} // namespace focaris
