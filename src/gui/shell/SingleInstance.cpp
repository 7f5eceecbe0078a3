// Single instance through a local socket.
#include "gui/shell/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace focaris::gui {

QString SingleInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QStringLiteral("Foc_aris-") + user;
}

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), key_(key) {}

bool SingleInstance::otherRunning()
{
    QLocalSocket probe;
    probe.connectToServer(key_);
    if (probe.waitForConnected(500)) {
        probe.write("raise\n");
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        return true;
    }
    // Nobody answers: a socket file left by a crashed run is removed before listening.
    QLocalServer::removeServer(key_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().startsWith("raise") && onRaise)
                    onRaise();
            });
        }
    });
    server_->listen(key_);
    return false;
}

void raiseWindow(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

} // namespace focaris::gui
