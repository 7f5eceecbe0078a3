// Keyboard and screen-reader access for every window, applied in one place when a window is
// first shown: each field gets its label as its name and as the target of the label's
// mnemonic, the Tab order follows the fields as they stand on the screen, a date field is
// one Tab stop, and hints and messages are announced to assistive technologies.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace focaris::gui {

// Installs the application-wide filter that prepares each window the first time it shows.
// Call once, after the QApplication is made.
void InstallWindowAccess();

// What the filter does to one window: labels bound to their fields, unnamed controls named
// from their label, tool tip or placeholder, and the Tab order set to the screen order.
// Safe to call again; a window's own explicit names and buddies are kept.
void PrepareWindowAccess(QWidget *window);

// Tells assistive technologies that `widget` now shows `text` (a hint balloon, a message).
void Announce(QWidget *widget, const QString &text);
// Called with every announcement besides the accessibility event, which only reaches a
// screen reader when one is running (tests listen here); empty to stop.
void SetAnnouncementListener(std::function<void(QWidget *, const QString &)> listener);

} // namespace focaris::gui
