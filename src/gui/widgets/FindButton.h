// The one way a button of a window is found, by the windows' own code and by the tests: by
// its object name, which stays when its caption is reworded. Only the window's own buttons
// count (those of a dialog that belongs to it are that dialog's), so that two windows may
// use the same name.
#pragma once

#include <QAbstractButton>
#include <QString>
#include <QWidget>

namespace focaris::gui {

// The button named `objectName` on `window` (or on the window of that widget), of the type
// asked for; nullptr when there is none.
template <class Button = QAbstractButton>
Button *FindButton(const QWidget &window, const QString &objectName)
{
    const QWidget *top = window.window();
    for (Button *b : top->findChildren<Button *>(objectName))
        if (b->window() == top)
            return b;
    return nullptr;
}

} // namespace focaris::gui
