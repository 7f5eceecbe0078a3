// The application forms of one application, pre-filled for the applicant to check and
// sign: the full form ("Anexa 26", "ModCerere.rtf") and the short one ("Anexa 2 - Forma
// prescurtata", "ModCerereS.rtf").
#pragma once

#include "documents/DocumentSupport.h"

namespace focaris::documents {

enum class FormKind { Full, Short };

QString FormTemplate(FormKind kind);

// Prints the form of the application with that NRCRT into `out`, or into a free
// "Cerere" + n + ".rtf" of the temporary folder which is then opened for the person.
Outcome PrintApplicationForm(Ui &ui, FormKind kind, qint64 nrcrt, const QString &out = {});

} // namespace focaris::documents
