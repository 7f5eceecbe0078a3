// The desktop Ui.
#include "gui/widgets/GuiUi.h"

#include "gui/widgets/FieldHint.h"
#include "gui/admin/LoginDialog.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/admin/NewPasswordDialog.h"
#include "gui/widgets/ProgressWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QUrl>

namespace focaris::gui {

GuiUi::GuiUi()
    : message_(std::make_unique<MessageDialog>()),
      hint_(std::make_unique<FieldHint>()),
      progress_(std::make_unique<ProgressWindow>()),
      login_(std::make_unique<LoginDialog>()),
      newPassword_(std::make_unique<NewPasswordDialog>())
{
    newPassword_->setUi(this);
}

GuiUi::~GuiUi() = default;

int GuiUi::message(const QString &title, const QString &text, int kind, int buttons)
{
    return message_->run(title, text, kind, buttons);
}

void GuiUi::fieldHint(const QString &text, QObject *control)
{
    auto *field = qobject_cast<QWidget *>(control);
    hint_->showHint(text, field);
    // The keyboard goes to the rejected field, so that the clerk types the mended value
    // there at once; the balloon itself never takes it.
    if (field && field->isVisible() && field->isEnabled() && field->focusPolicy() != Qt::NoFocus)
        field->setFocus(Qt::OtherFocusReason);
}

bool GuiUi::chooseFolder(const QString &caption, QString &folder)
{
    const QString start = QFileInfo(folder).isDir() ? folder : QString();
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), caption, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = QDir::fromNativeSeparators(chosen);
    return true;
}

QString GuiUi::openFileName(const QString &caption, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QString GuiUi::saveFileName(const QString &caption, const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
}

bool GuiUi::askText(const QString &caption, const QString &prompt, QString &value, bool password)
{
    if (password)
        return login_->ask(value, caption, prompt);
    if (prompt == QLatin1String("Parola noua"))
        return newPassword_->ask(value);
    bool ok = false;
    const QString typed = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                                QLineEdit::Normal, value, &ok);
    if (ok)
        value = typed;
    return ok;
}

bool GuiUi::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void GuiUi::progressShow(const QString &description, int maximum)
{
    progress_->setDescription(description);
    progress_->setMaximum(maximum);
    progress_->progressShow();
}

void GuiUi::progressText(const QString &description)
{
    progress_->setDescription(description);
}

void GuiUi::progressStep()
{
    progress_->progressStep();
}

void GuiUi::progressHide()
{
    progress_->progressHide();
}

} // namespace focaris::gui
