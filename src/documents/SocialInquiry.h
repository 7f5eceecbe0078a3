// The social inquiry of an applicant: one RTF document per personal code, kept in the
// data folder as "A" + CNP + ".rtf" (so it travels with the data and is shared by every
// application of that person), created from "ModelAncheta2.rtf", opened or deleted.
#pragma once

#include "documents/DocumentSupport.h"

namespace focaris::documents {

// The data folder's inquiry file of a personal code.
QString InquiryFile(const QString &cnp);

// "Adauga": creates the inquiry of the application with that NRCRT, replacing an
// earlier one without a question. The document is built beside it under a scratch name
// and put in its place only when complete, so a failure (a broken template, a full disk)
// keeps the earlier inquiry; an inquiry open in another program is not replaced.
// The new inquiry is opened for the person unless `open` is false.
Outcome AddInquiry(Ui &ui, qint64 nrcrt, bool open = true);
// "Arata": opens the inquiry, or says that there is none.
Outcome ShowInquiry(Ui &ui, qint64 nrcrt);
// "Sterge": asks, then deletes the inquiry unless another program holds it open.
Outcome DeleteInquiry(Ui &ui, qint64 nrcrt);

} // namespace focaris::documents
