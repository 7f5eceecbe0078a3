// The desktop Ui.
#include "gui/shell/GuiUi.h"

#include "gui/admin/LoginDialog.h"
#include "gui/admin/NewPasswordDialog.h"
#include "gui/widgets/FieldHint.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/ProgressWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QProcess>
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
    desktopOpen = &GuiUi::OpenWithDesktop;
}

GuiUi::~GuiUi() = default;

MessageResult GuiUi::message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons)
{
    return message_->run(title, text, kind, buttons);
}

void GuiUi::fieldHint(const QString &text, QObject *control)
{
    auto *field = qobject_cast<QWidget *>(control);
    hint_->showHint(text, field);
    // The keyboard goes to the rejected field, so that the clerk types the mended value
    // there at once; the balloon itself never takes it. A field the keyboard moves to has
    // its text selected, as a Tab into it would, so that what is typed replaces the value
    // refused; a field that already has the keyboard (the clerk is typing in it) keeps
    // its caret.
    if (!field || !field->isVisible() || !field->isEnabled() || field->focusPolicy() == Qt::NoFocus)
        return;
    QWidget *target = field;
    while (target->focusProxy())
        target = target->focusProxy();
    const bool moved = field->window()->focusWidget() != target;
    field->setFocus(Qt::OtherFocusReason);
    if (!moved)
        return;
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

bool GuiUi::chooseFolder(const QString &caption, QString &folder)
{
    const QString start = QFileInfo(folder).isDir() ? folder : QString();
    const QString chosen =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, start, QFileDialog::ShowDirsOnly);
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
    const QString typed =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = typed;
    return ok;
}

namespace {

// Whether the desktop names a program for the file's type. The opener starts detached and
// reports success as soon as it starts, even when it then finds no program, so the desktop's
// choice is asked first. When the question cannot be asked, the opening itself decides.
bool DesktopHasProgram(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    for (const QString &name : QStringList{type.name()} + type.aliases()) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForStarted(5000))
            return true;
        if (!query.waitForFinished(10000)) {
            query.kill();
            query.waitForFinished(1000);
            return true;
        }
        if (!query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

bool GuiUi::OpenWithDesktop(const QString &path)
{
    if (!QFileInfo(path).isDir() && !DesktopHasProgram(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool GuiUi::openDocument(const QString &path)
{
    if (desktopOpen && desktopOpen(path))
        return true;
    const QString place = QDir::toNativeSeparators(path);
    const QFileInfo file(path);
    if (file.isDir()) {
        message(QStringLiteral("Deschidere document"),
                QStringLiteral("Nu am gasit un program care sa deschida dosarul\r") + place, MessageKind::Information,
                MessageButton::OK);
        return false;
    }
    if (message(QStringLiteral("Deschidere document"),
                QStringLiteral("Nu am gasit un program care sa deschida documentul. Il salvez in alt loc?\r") + place,
                MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    const QString suffix = file.suffix();
    const QString target = saveFileName(QStringLiteral("Salvare document"), QDir::homePath() + "/" + file.fileName(),
                                        suffix.isEmpty() ? QString() : QStringLiteral("*.") + suffix);
    if (target.isEmpty() || QFileInfo(target) == file)
        return false;
    // The chooser has already asked before replacing a file of that name.
    QFile::remove(target);
    if (!QFile::copy(path, target))
        message(QStringLiteral("Deschidere document"), QStringLiteral("Nu am putut salva documentul in\r") + target,
                MessageKind::Error, MessageButton::OK);
    return false;
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
