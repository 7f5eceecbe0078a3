// The backup server: accepts connections from the offices' programs, one exchange per
// connection (the client logs in, uploads its command file, receives the reply, and the
// server closes), and answers the commands from the account store.
#pragma once

#include "server/AccountStore.h"

#include <QTcpServer>
#include <QTimer>

namespace focaris::server {

struct ServerConfig {
    QString storage;                        // root folder of the store
    qint64 maxUpload = 512LL * 1024 * 1024; // largest command file accepted
    // Program (with its options) that sends e-mail as sendmail does: run with the address
    // as last argument, the message on standard input.
    QString mailCommand;
    int idleMs = 120000; // a connection silent this long is closed
};

class BackupServer : public QObject {
    Q_OBJECT
public:
    explicit BackupServer(const ServerConfig &config, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const { return tcp_.serverPort(); }
    QString errorString() const { return tcp_.errorString(); }
    const ServerConfig &config() const { return config_; }
    AccountStore &store() { return store_; }

    // Answers a received command file: writes the reply file (lines, "/END", attached
    // files) for the account logged in with `email` and `password`.
    bool answer(const QString &email, const QString &password, const QString &commandFile, const QString &replyFile);

    // A line of the server's log (standard error), with the time.
    static void log(const QString &text);

private:
    void sendMail(const QString &email, const QString &subject, const QString &text);

    ServerConfig config_;
    AccountStore store_;
    QTcpServer tcp_;
    QTimer purge_;
};

} // namespace focaris::server
