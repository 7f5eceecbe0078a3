// What the person is told about a template that is there but cannot be read.
#pragma once

#include <QString>

namespace focaris {

// The message for a template that is there but cannot be read: it names the file, says it
// is damaged and how to put back the built-in copy (the template menu's "Refa modelul
// initial" for the templates of that menu; deleting the file for the other templates of
// the data folder, which the next start installs again; reinstalling the program for a
// built-in one).
QString DamagedTemplateMessage(const QString &path);
// True when an RTF template is not one the documents can be made from: not an RTF file, or
// without the paragraph where the document's body begins.
bool RtfTemplateDamaged(const QString &path);

} // namespace focaris
