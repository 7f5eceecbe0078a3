// Where a filled workbook goes: a file the caller names, or a free "XLSTmp" + n + ".xls"
// of the temporary folder that is then opened for the person. The workbook is saved
// beside its target under a scratch name and renamed over it only when complete, and a
// target another program holds open is never written.
#pragma once

#include "core/Ui.h"
#include "documents/DocumentSupport.h"
#include "engines/xls/WorkbookFiller.h"

#include <QString>

namespace focaris::documents {

class WorkbookOutput {
public:
    // `title` is the title of the document's messages.
    WorkbookOutput(Ui &ui, const QString &title, const QString &out);
    ~WorkbookOutput();
    // False when no target could be chosen or the target is in use.
    bool writable() const { return !target_.isEmpty(); }
    xls::WorkbookFiller &filler() { return filler_; }
    // Opens the template `model` in the filler once the target is writable; false (the
    // message has been shown) when it is not, or when the template cannot be opened.
    bool openTemplate(const QString &model);
    // Saves the workbook, puts it in place and opens it when no target was named.
    Outcome finish();

private:
    Ui &ui_;
    QString title_;
    bool show_;
    QString target_, scratch_;
    unsigned filled_ = 0;
    xls::WorkbookFiller filler_;
};

} // namespace focaris::documents
