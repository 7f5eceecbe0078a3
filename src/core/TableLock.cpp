// Table write locks and the check that a folder's file system carries them.
#include "core/TableLock.h"

#include "engines/common/ByteLock.h"

#include "core/Context.h"
#include "core/Ui.h"
#include "engines/common/FileNames.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace focaris {

namespace {

// Below the byte of the engine's short write lock (2^31 - 16), above any table.
constexpr off_t kOperationLockOffset = 0x7FFFFFE0;

int setLock(int fd, bool &ofd, short type)
{
    return files::LockByte(fd, kOperationLockOffset, type, ofd);
}

bool sameFile(int fd, const std::string &path)
{
    struct stat a {
    }, b{};
    return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct Held {
    int fd = -1;
    int depth = 0;
};

// The locks this thread holds, by table path.
std::map<std::string, Held> &heldLocks()
{
    thread_local std::map<std::string, Held> held;
    return held;
}

} // namespace

TableWriteLock::TableWriteLock(Ui *ui, const QString &table, int waitMs)
{
    const std::string path = files::resolveCaseInsensitive((DataFolder() + "/" + table).toStdString()).string();
    key_ = QString::fromStdString(path);
    Held &held = heldLocks()[path];
    if (held.depth > 0) {
        ++held.depth;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    bool waiting = false;
    struct HideWait {
        Ui *ui;
        bool &shown;
        ~HideWait()
        {
            if (shown && ui)
                ui->progressHide();
        }
    } hide{ui, waiting};
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            // No table to lock here: the writers meet the missing file themselves.
            held.depth = 1;
            return;
        }
        bool ofd = true;
        if (setLock(fd, ofd, F_WRLCK) == 0) {
            if (sameFile(fd, path)) {
                held.fd = fd;
                held.depth = 1;
                return;
            }
            // The table was replaced (packed) while we waited: lock the new file.
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EAGAIN && error != EACCES && error != EINTR) {
            // A file system without byte-range locks: nothing to wait for.
            held.depth = 1;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            heldLocks().erase(path);
            throw TableBusy();
        }
        if (!waiting && ui) {
            ui->progressShow(QStringLiteral("Va rugam asteptati, tabela este folosita de alt calculator..."), 0);
            waiting = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TableWriteLock::~TableWriteLock()
{
    auto &locks = heldLocks();
    const auto it = locks.find(key_.toStdString());
    if (it == locks.end() || --it->second.depth > 0)
        return;
    if (it->second.fd >= 0)
        ::close(it->second.fd); // closing releases the lock
    locks.erase(it);
}

bool LocksWorkIn(const QString &folder, QString *why)
{
    auto failed = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QString file = QDir(folder).filePath(QStringLiteral(".locktest-%1").arg(::getpid()));
    const std::string name = file.toStdString();
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return failed(QString::fromUtf8(std::strerror(errno)));
    struct Remove {
        int fd;
        std::string name;
        ~Remove()
        {
            ::close(fd);
            ::unlink(name.c_str());
        }
    } remove{fd, name};
    bool ofd = true;
    if (setLock(fd, ofd, F_WRLCK) != 0)
        return failed(QString::fromUtf8(std::strerror(errno)));
    // A second process opens the file on its own and must find the byte taken.
    const pid_t child = ::fork();
    if (child < 0)
        return failed(QString::fromUtf8(std::strerror(errno)));
    if (child == 0) {
        const int other = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
        if (other < 0)
            ::_exit(2);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = kOperationLockOffset;
        fl.l_len = 1;
        const int r = ::fcntl(other, F_SETLK, &fl);
        ::_exit(r != 0 && (errno == EAGAIN || errno == EACCES) ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return failed(QStringLiteral("un al doilea proces a obtinut blocarea"));
    return true;
}

} // namespace focaris
