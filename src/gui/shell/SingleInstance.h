// One running program per user: the first start listens on a local socket named after the
// application title; a later start finds it, asks it to come to the front and ends.
#pragma once

#include <QObject>

#include <functional>

class QLocalServer;

namespace focaris::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the socket (the application title and the user's name).
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);

    // True when another instance answered: it has been asked to raise its window and this
    // process should end. Otherwise this instance starts listening.
    bool otherRunning();

    // Called in the running instance when a later start asks it to come to the front.
    std::function<void()> onRaise;

    static QString defaultKey();

private:
    QString key_;
    QLocalServer *server_ = nullptr;
};

// Brings a window to the front, restoring it when minimized.
void raiseWindow(class QWidget *window);

} // namespace focaris::gui
