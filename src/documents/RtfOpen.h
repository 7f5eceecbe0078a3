// Showing a finished RTF document: the engine's "open" request goes to the desktop
// through the Ui interface, so that tests see the request instead of a window.
#pragma once

#include "core/Ui.h"
#include "engines/rtf/RTFReplace.h"

namespace focaris {

// OpenResult of the engine with the desktop's default application; true when the
// document existed and the request was made.
inline bool OpenResult(const rtf::TRTFReplace &engine, Ui &ui)
{
    return engine.OpenResult([&ui](const std::string &path) { return ui.openDocument(QString::fromStdString(path)); });
}

} // namespace focaris
