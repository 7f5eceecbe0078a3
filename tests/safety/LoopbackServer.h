// focaris-backup-server started for the window tests on a free loopback port
// (127.0.0.1), its storage in a folder of the test; its log is kept to read the
// confirmation codes. The server is killed when the object goes.
#pragma once

#include "engines/archive/Archive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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
    // The confirmation code of the last account made. The server logs it before it
    // answers the login, so it is on its way; read until it has arrived (the bound only
    // ends a hung run).
    QString code()
    {
        const QRegularExpression pattern("confirmation code (\\d{6})");
        for (int i = 0; i < 1200; ++i) {
            log += QString::fromUtf8(proc.readAllStandardError());
            QString last;
            for (auto it = pattern.globalMatch(log); it.hasNext();)
                last = it.next().captured(1);
            if (!last.isEmpty())
                return last;
            proc.waitForReadyRead(100);
        }
        return {};
    }
    QProcess proc;
    quint16 port = 0;
    QString log;
};

// A save archive at `path` holding one table with `content`: the server keeps only files
// that read as save archives.
inline void writeSaveArchive(const QString &path, const QByteArray &content)
{
    QTemporaryDir folder;
    QFile table(folder.filePath("Cereri.dbf"));
    table.open(QIODevice::WriteOnly);
    table.write(content);
    table.close();
    QFile::remove(path);
    archive::writeArchive(folder.path().toStdString(), path.toStdString(), {}, 1);
}

} // namespace focaris::test
