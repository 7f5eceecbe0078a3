// focaris-backup-server: keeps remote copies of the offices' data folders.
//
//   focaris-backup-server --storage DIR [--listen HOST:PORT] [--max-upload BYTES]
//                         [--mail-command COMMAND]
//
// Prints "listening on PORT" once ready (PORT 0 picks a free one). Confirmation codes and
// new passwords go to the mail command (run as sendmail: its options, then the address,
// the message on standard input) and, for the codes, to the log on standard error.
#include "server/BackupServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("focaris-backup-server"));
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Backup server for the remote copies of Foc aris."));
    cli.addHelpOption();
    cli.addOption(
        {QStringLiteral("storage"), QStringLiteral("Folder of the accounts and copies."), QStringLiteral("DIR")});
    cli.addOption({QStringLiteral("listen"), QStringLiteral("Address and port (default 0.0.0.0:1235)."),
                   QStringLiteral("HOST:PORT")});
    cli.addOption({QStringLiteral("max-upload"), QStringLiteral("Largest upload in bytes."), QStringLiteral("BYTES")});
    cli.addOption({QStringLiteral("mail-command"),
                   QStringLiteral("Command that sends e-mail as sendmail does, e.g. \"/usr/sbin/sendmail -i\"."),
                   QStringLiteral("COMMAND")});
    cli.process(app);

    focaris::server::ServerConfig config;
    config.storage = cli.value(QStringLiteral("storage"));
    if (config.storage.isEmpty()) {
        std::fprintf(stderr, "focaris-backup-server: --storage is required\n");
        return 1;
    }
    if (cli.isSet(QStringLiteral("max-upload")))
        config.maxUpload = cli.value(QStringLiteral("max-upload")).toLongLong();
    config.mailCommand = cli.value(QStringLiteral("mail-command"));
    const QString listen =
        cli.isSet(QStringLiteral("listen")) ? cli.value(QStringLiteral("listen")) : QStringLiteral("0.0.0.0:1235");
    const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon > 0 ? listen.mid(colon + 1).toUInt(&portOk) : 0;
    QHostAddress address;
    if (!portOk || port > 65535 || !address.setAddress(listen.left(colon))) {
        std::fprintf(stderr, "focaris-backup-server: bad --listen value\n");
        return 1;
    }
    focaris::server::BackupServer server(config);
    if (!server.listen(address, quint16(port))) {
        std::fprintf(stderr, "focaris-backup-server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    std::printf("listening on %u\n", unsigned(server.port()));
    std::fflush(stdout);
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    return app.exec();
}
