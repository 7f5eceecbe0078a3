// The single disposition of grant: one workbook for all approved applications of the
// month that carry one disposition number, with the disposition text on the first sheet
// and the annexes of the heating aid and of the supplements, from "StabilireU.xls".
#pragma once

#include "documents/DocumentSupport.h"

#include <QDate>
#include <QStringList>

namespace focaris::documents {

// The single-disposition window's fields.
struct SingleDispositionFields {
    QString number = QStringLiteral("0"); // NrDisp
    QDate start;                          // Data0
    QString period;                       // Perioada, remembered as DISPCUM/PERIOADA
    QString paymentDate;                  // DataPlatii, remembered as DISPCUM/DATAP
    QString court;                        // Tribunal, remembered as DISPCUM/TRIBUNAL
};

// The three remembered texts from the shared settings, and back.
void LoadSingleDispositionTexts(SingleDispositionFields &fields);
void SaveSingleDispositionTexts(const SingleDispositionFields &fields);

// The window's "&Listeaza": the number becomes its whole value ("07" is 7); refused at
// "NrDisp" when it is below 1. On success the three texts are remembered.
Outcome ConfirmSingleDisposition(SingleDispositionFields &fields);

// Builds the workbook of the disposition numbered fields.number (already confirmed)
// into `out`, or into a free "XLSTmp" + n + ".xls" of the temporary folder which is then
// opened for the person.
Outcome PrintSingleDisposition(Ui &ui, const SingleDispositionFields &fields, const QString &out = {});

} // namespace focaris::documents
