// The backup server under load on 127.0.0.1: 50 clients at once, each sending 3 copies of
// 5 MB one after another, through the same exchange the program uses. Prints the time of
// the whole run and of the uploads, then checks that every copy is kept whole and that
// the server still answers. Exit 1 when a copy is lost or the server stops serving.
//   bench_server_load [SERVER_PROGRAM] [CLIENTS] [UPLOADS] [MB]
#include "engines/archive/Archive.h"
#include "safety/RemoteExchange.h"
#include "safety/RemoteFiles.h"
#include "server/AccountStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

using namespace focaris;

namespace {

QString email(int client)
{
    return QStringLiteral("birou%1@primaria.ro").arg(client);
}

// One exchange of `commands` (with the archive attached when given); true when the reply
// came whole and did not refuse the command.
bool exchange(quint16 port, int client, const QString &folder, const QStringList &commands, const QString &archive)
{
    remote::RemoteExchange ex;
    ex.server = remote::ServerAddress{QStringLiteral("127.0.0.1"), port};
    ex.email = email(client);
    ex.password = QStringLiteral("PAROLA");
    ex.place = QStringLiteral("Vulcan/HD");
    const QString command = folder + QStringLiteral("/cmd"), reply = folder + QStringLiteral("/reply");
    if (!remote::writeCommandFile(command, commands, archive.isEmpty() ? QStringList{} : QStringList{archive}))
        return false;
    const bool ok = ex.run(command, reply);
    QFile in(reply);
    const bool refused = !in.open(QIODevice::ReadOnly) || remote::parseLines(in.read(1 << 20)).refused;
    in.close();
    QFile::remove(command);
    QFile::remove(reply);
    return ok && !refused;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString program =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/server/focaris-backup-server");
    const int clients = argc > 2 ? std::atoi(argv[2]) : 50;
    const int uploads = argc > 3 ? std::atoi(argv[3]) : 3;
    const int megabytes = argc > 4 ? std::atoi(argv[4]) : 5;

    QTemporaryDir work;
    const QString storage = work.filePath(QStringLiteral("store"));
    {
        // Confirmed accounts made beforehand, as after the first login and the code.
        server::AccountStore store(storage);
        for (int c = 0; c < clients; ++c)
            store.confirm(email(c), store.create(email(c), QStringLiteral("PAROLA")));
    }
    // One archive of the given size that does not compress (random bytes).
    const QString source = work.filePath(QStringLiteral("src"));
    QDir().mkpath(source);
    {
        QFile f(source + QStringLiteral("/Cereri.dbf"));
        f.open(QIODevice::WriteOnly);
        QByteArray bytes(qsizetype(megabytes) * 1024 * 1024, '\0');
        QRandomGenerator gen(11);
        gen.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        f.write(bytes);
    }
    const QString archive = work.filePath(QStringLiteral("copie.T21"));
    archive::writeArchive(source.toStdString(), archive.toStdString(), {}, 1);
    const qint64 archiveSize = QFileInfo(archive).size();

    QProcess server;
    server.setProgram(program);
    server.setArguments(
        {QStringLiteral("--storage"), storage, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start();
    if (!server.waitForStarted() || !server.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the server did not start: %s\n", qPrintable(program));
        return 1;
    }
    const quint16 port = quint16(QString::fromUtf8(server.readLine()).trimmed().section(QLatin1Char(' '), 2).toUInt());

    std::atomic<int> done{0}, failed{0};
    std::mutex timesLock;
    std::vector<qint64> times;
    QElapsedTimer clock;
    clock.start();
    std::vector<QThread *> threads;
    for (int c = 0; c < clients; ++c) {
        threads.push_back(QThread::create([&, c] {
            const QString folder = work.filePath(QStringLiteral("client%1").arg(c));
            QDir().mkpath(folder);
            for (int u = 0; u < uploads; ++u) {
                // The exchange removes the command file; each upload gets its own copy.
                const QString mine = folder + QStringLiteral("/Srv");
                QFile::remove(mine);
                QFile::copy(archive, mine);
                QElapsedTimer one;
                one.start();
                const bool ok =
                    exchange(port, c, folder, {QStringLiteral("/PUT_FILE incarcare %1-%2").arg(c).arg(u)}, mine);
                {
                    std::lock_guard<std::mutex> lock(timesLock);
                    times.push_back(one.elapsed());
                }
                (ok ? done : failed)++;
                QFile::remove(mine);
            }
        }));
        threads.back()->start();
    }
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    const qint64 total = clock.elapsed();
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) { return times.empty() ? 0 : times[std::size_t(q * double(times.size() - 1))]; };
    std::printf("clients=%d uploads_each=%d archive_bytes=%lld\n", clients, uploads, (long long)archiveSize);
    std::printf("ok=%d failed=%d total_s=%.1f MB_per_s=%.1f\n", done.load(), failed.load(), total / 1000.0,
                double(done.load()) * double(archiveSize) / 1048576.0 / (total / 1000.0));
    std::printf("upload_ms min=%lld median=%lld p95=%lld max=%lld\n", (long long)at(0), (long long)at(0.5),
                (long long)at(0.95), (long long)at(1));

    // Still serving after the load: one more exchange.
    const QString after = work.filePath(QStringLiteral("after"));
    QDir().mkpath(after);
    const bool serving = exchange(port, 0, after, {QStringLiteral("/INFO")}, {});
    std::printf("serving_after=%s\n", serving ? "yes" : "no");
    server.terminate();
    server.waitForFinished(10000);

    // Every copy kept whole.
    int kept = 0, whole = 0;
    server::AccountStore store(storage);
    for (int c = 0; c < clients; ++c)
        for (const auto &copy : store.copies(email(c))) {
            ++kept;
            try {
                const auto members = archive::listArchive(copy.path.toStdString());
                whole += members.size() == 1 && QFileInfo(copy.path).size() == archiveSize;
            } catch (const std::exception &) {
            }
        }
    std::printf("copies_kept=%d whole=%d expected=%d\n", kept, whole, clients * uploads);
    return failed == 0 && serving && whole == clients * uploads ? 0 : 1;
}
