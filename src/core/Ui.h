// The one way operations talk to the person at the keyboard: messages, questions, field
// hints, folder and file choices, opening documents and the progress window. The desktop
// program implements it with real dialogs (src/gui); tests implement it with scripted
// answers (tests/support/FakeUi.h). No code below src/gui opens a dialog itself.
#pragma once

#include <QFlags>
#include <QString>

class QObject;

namespace focaris {

// Kinds of message. A value outside these (made by a cast) is shown as an error.
enum class MessageKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };

// The buttons of a message; a message shows a set of them (MessageButton::Da |
// MessageButton::Nu), and returns the result of the one pressed.
enum class MessageButton { Da = 1, Nu = 2, OK = 4, Renunt = 8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)
enum class MessageResult { OK = 1, Renunt = 2, Da = 6, Nu = 7 };

class Ui {
public:
    virtual ~Ui() = default;

    // The message dialog: returns the result of the button pressed; Renunt on Escape or
    // when the button set is empty (then nothing is shown).
    virtual MessageResult message(const QString &title, const QString &text, MessageKind kind,
                                  MessageButtons buttons) = 0;

    // A balloon titled "Problema !" beside `control` (or beside the active window when null)
    // for five seconds; returns at once.
    virtual void fieldHint(const QString &text, QObject *control) = 0;

    // The folder picker; on true `folder` holds the chosen folder.
    virtual bool chooseFolder(const QString &caption, QString &folder) = 0;

    // File dialogs; an empty result means the person cancelled.
    virtual QString openFileName(const QString &caption, const QString &folder, const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) = 0;

    // A one-line text entry; false when cancelled.
    virtual bool askText(const QString &caption, const QString &prompt, QString &value, bool password = false) = 0;

    // Asks the desktop to open a document, folder or PDF with its default application.
    virtual bool openDocument(const QString &path) = 0;

    // The progress window: shown with a step text and a maximum, advanced one step at a
    // time, hidden at the end (also after a failure).
    virtual void progressShow(const QString &description, int maximum) = 0;
    virtual void progressText(const QString &description) = 0;
    virtual void progressStep() = 0;
    virtual void progressHide() = 0;
};

} // namespace focaris
