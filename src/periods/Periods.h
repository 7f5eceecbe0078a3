// The operations of the window "Perioada in lucru" and of its dialog "Adaugare Luna": the
// list of months as the window holds it between its buttons, adding a month, deleting a
// month with its applications and members, keeping the list on closing. Refused entries
// come back as values; questions and messages go through the Ui.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace focaris {
class Ui;
}

namespace focaris::periods {

// A refused entry: the message for the field hint and the field it points at.
struct Refusal {
    QString message;
    QString field;
};

// The list of the window: the months in "Luni.lst" order and the selected entry (-1 when
// none). Months added in this visit live here until the list is kept.
struct PeriodList {
    QStringList months;
    int selected = -1;
    QString selectedMonth() const { return selected >= 0 && selected < months.size() ? months[selected] : QString(); }
};

// On opening: "Luni.lst" read, the working month selected (none when it is not listed).
PeriodList OpenPeriodList();

// "&Adauga luna" after the dialog returned `month`: a listed month is refused with "Luna
// aleasa exista deja!" (field "Luna"); otherwise it goes to the top of the list, is
// selected and becomes the working month. "Luni.lst" is not written.
std::optional<Refusal> AddListedMonth(PeriodList &list, const QString &month);

// What "&Sterge luna" did.
struct DeleteOutcome {
    std::optional<Refusal> refusal; // "Nu mai aveti ce sterge!" (field "Sterge")
    bool deleted = false;           // false also when a question got "&Nu" or the save failed
    QString savedTo;                // the archive written before the deletion
    qint64 applications = 0, members = 0;
};

// "&Sterge luna" for the entry `index` (the one selected when the button was pressed):
// the two questions, the dated save of the data folder, then the month leaves the list,
// "Luni.lst" is rewritten (deleted when empty), the first entry becomes selected and the
// working month, and the month's members and applications are deleted.
DeleteOutcome DeleteListedMonth(Ui &ui, PeriodList &list, int index);

// "&Memoreaza si inchide": "Luni.lst" rewritten from the list (deleted when empty) and the
// selected month made the working month.
void KeepPeriodList(const PeriodList &list);

// "&Adauga" of "Adaugare Luna": `month` is "01".."12", `yearText` as typed. Accepted when
// 2006 <= year <= currentYear + 1, giving month + "." + year as typed; otherwise "Anul
// este scris gresit!" (field "Anul").
std::optional<Refusal> CheckNewMonth(const QString &month, const QString &yearText, int currentYear,
                                     QString &monthText);

} // namespace focaris::periods
