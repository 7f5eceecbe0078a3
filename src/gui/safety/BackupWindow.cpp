// The backup window.
#include "gui/safety/BackupWindow.h"

#include "core/Context.h"
#include "core/Ui.h"
#include "gui/safety/RemoteCopyWindow.h"
#include "gui/widgets/DialogParts.h"
#include "safety/Backup.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

BackupWindow::BackupWindow(Ui &ui, RemoteCopyWindow &remote, QWidget *parent)
    : QDialog(parent, kDialogFlags), ui_(ui), remote_(remote)
{
    SetUpDialog(this, QStringLiteral("Form6"), QStringLiteral("Copie - inlocuieste baza de date"));
    save_ = DialogButton(QStringLiteral("Salveaza o copie a datelor"), this, QStringLiteral("SaveButton"));
    load_ = DialogButton(QStringLiteral("Incarca o salvare anterioara"), this, QStringLiteral("LoadButton"));
    remote_button_ =
        DialogButton(QStringLiteral("Copie / Recupereaza date la Distanta"), this, QStringLiteral("RemoteButton"));
    // The three commands one under the other, large.
    auto *layout = new QVBoxLayout(this);
    for (QPushButton *b : {save_, load_, remote_button_}) {
        b->setMinimumHeight(40);
        b->setMinimumWidth(320);
        layout->addWidget(b);
    }
    connect(save_, &QPushButton::clicked, this, &BackupWindow::saveClick);
    connect(load_, &QPushButton::clicked, this, &BackupWindow::loadClick);
    connect(remote_button_, &QPushButton::clicked, this, &BackupWindow::remoteClick);
}

bool BackupWindow::showModal()
{
    restored_ = false;
    // An opened save is worked on in a copy thrown away at the end: nothing to restore into.
    load_->setEnabled(OpenedSave().isEmpty());
    exec();
    return restored_;
}

void BackupWindow::hiddenWork(const QString &title, const std::function<void()> &work)
{
    hide();
    try {
        work();
    } catch (const std::exception &e) {
        ui_.message(title, QStringLiteral("\n") + QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
    } catch (...) {
        ui_.message(title, QStringLiteral("\nEroare neasteptata."), MessageKind::Error, MessageButton::OK);
    }
    accept();
}

void BackupWindow::saveClick()
{
    SaveOutcome out;
    hiddenWork(QStringLiteral("Salvare"), [&] { out = ManualSave(ui_); });
    if (out.saved && out.sendToServer)
        restored_ = remote_.showModal(out.file);
}

void BackupWindow::loadClick()
{
    hiddenWork(QStringLiteral("Incarcare date"), [&] { restored_ = RestoreFromBackupWindow(ui_); });
}

void BackupWindow::remoteClick()
{
    hiddenWork(QStringLiteral("Copie la Distanta"), [&] { restored_ = remote_.showModal(); });
}

} // namespace focaris::gui
