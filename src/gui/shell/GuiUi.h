// The desktop implementation of the Ui interface: the real message dialog, field hint,
// progress window, folder and file dialogs, the login and new-password dialogs, and the
// desktop's default applications for opening documents.
#pragma once

#include "core/Ui.h"

#include <functional>
#include <memory>

class QWidget;

namespace focaris::gui {

class MessageDialog;
class FieldHint;
class ProgressWindow;
class LoginDialog;
class NewPasswordDialog;

class GuiUi : public focaris::Ui {
public:
    GuiUi();
    ~GuiUi() override;

    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override;
    void fieldHint(const QString &text, QObject *control) override;
    bool chooseFolder(const QString &caption, QString &folder) override;
    QString openFileName(const QString &caption, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) override;
    // A masked entry is the login dialog; a prompt of "Parola noua" is the new-password
    // dialog; anything else is a plain one-line entry.
    bool askText(const QString &caption, const QString &prompt, QString &value, bool password) override;
    // The desktop's program for the file; when it has none, the person is told where the
    // file is and may save a copy elsewhere (the temporary folder goes when the program
    // ends). True only when the desktop opened it.
    bool openDocument(const QString &path) override;
    void progressShow(const QString &description, int maximum) override;
    void progressText(const QString &description) override;
    void progressStep() override;
    void progressHide() override;

    MessageDialog &messageDialog() { return *message_; }
    FieldHint &hint() { return *hint_; }
    ProgressWindow &progress() { return *progress_; }

    // What asks the desktop to open a file or folder: true when a program took it.
    // Tests put a desktop without programs in its place.
    std::function<bool(const QString &)> desktopOpen;
    static bool OpenWithDesktop(const QString &path);

private:
    std::unique_ptr<MessageDialog> message_;
    std::unique_ptr<FieldHint> hint_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<LoginDialog> login_;
    std::unique_ptr<NewPasswordDialog> newPassword_;
};

} // namespace focaris::gui
