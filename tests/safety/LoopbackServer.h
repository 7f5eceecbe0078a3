// focaris-backup-server started for a test on a free loopback port (127.0.0.1), its
// storage in a folder of the test; its log is kept to read the confirmation codes. The
// server is killed when the object goes.
#pragma once

#include <QProcess>
#include <QRegularExpression>

namespace focaris::test {

class Server {
public:
    explicit Server(const QString &storage)
    {
        proc.setProgram(qEnvironmentVariable("FOCARIS_SERVER"));
        proc.setArguments({"--storage", storage, "--listen", "127.0.0.1:0"});
        proc.start();
        proc.waitForStarted();
        while (proc.state() == QProcess::Running && !proc.canReadLine())
            proc.waitForReadyRead(5000);
        const QString line = QString::fromUtf8(proc.readLine()).trimmed();
        port = quint16(line.section(' ', 2).toUInt());
    }
    ~Server() { stop(); }
    void stop()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished();
        }
    }
    // The confirmation code of the last account made (read from the log).
    QString code()
    {
        proc.waitForReadyRead(100);
        log += QString::fromUtf8(proc.readAllStandardError());
        const auto m = QRegularExpression("confirmation code (\\d{6})").match(log);
        return m.captured(1);
    }
    QProcess proc;
    quint16 port = 0;
    QString log;
};

} // namespace focaris::test
