// File primitives of the dBase engine: descriptors, positioned reads and writes, the
// byte-range lock, and the memo files beside a table.
#include "engines/dbase/DbfFormat.h"

#include "engines/common/ByteLock.h"
#include "engines/common/FileChanges.h"
#include "engines/common/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace focaris::dbf::detail {

void failErrno(const std::string &file, const std::string &what)
{
    const int e = errno;
    fail(file, what + ": " + std::strerror(e));
}

Fd::~Fd()
{
    reset();
}

Fd &Fd::operator=(Fd &&o) noexcept
{
    if (this != &o) {
        reset(o.fd_);
        o.fd_ = -1;
    }
    return *this;
}

void Fd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

std::size_t preadFull(int fd, void *buf, std::size_t len, std::uint64_t offset, const std::string &file)
{
    std::size_t done = 0;
    auto *p = static_cast<char *>(buf);
    while (done < len) {
        const ssize_t n = ::pread(fd, p + done, len - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failErrno(file, "read failed");
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

void pwriteFull(int fd, const void *buf, std::size_t len, std::uint64_t offset, const std::string &file)
{
    files::beforeChange(file);
    std::size_t done = 0;
    const auto *p = static_cast<const char *>(buf);
    while (done < len) {
        const ssize_t n = ::pwrite(fd, p + done, len - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failErrno(file, "write failed");
        }
        done += std::size_t(n);
    }
}

// The lock byte lies at 2^31 - 16: beyond every table (record offsets stay below 4 GB only
// in theory; tables of this program stay far below 2 GB) and past the record locks that
// other dBase programs take near the start of the file.
constexpr off_t kLockOffset = 0x7FFFFFF0;

static int setLock(int fd, bool ofd, short type)
{
    return files::LockByte(fd, kLockOffset, type, ofd);
}

RangeLock::RangeLock(int fd, LockMode mode, int timeoutMs, const std::string &file) : fd_(fd), ofd_(true)
{
    // Open-file-description locks belong to the open file, not to the process, so two
    // tables opened by the same program exclude each other too; systems without them fall
    // back to classic POSIX locks.
    const short type = mode == LockMode::Shared ? F_RDLCK : F_WRLCK;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int sleepUs = 200;
    for (;;) {
        if (setLock(fd_, ofd_, type) == 0)
            return;
        if (ofd_ && errno == EINVAL) {
            ofd_ = false;
            continue;
        }
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            failErrno(file, "the table cannot be locked");
        if (std::chrono::steady_clock::now() >= deadline)
            fail(file, mode == LockMode::Shared || timeoutMs >= kWriteLockTimeoutMs
                           ? "the table stays locked by another process"
                           : "the table is in use by another process and cannot be taken exclusively");
        std::this_thread::sleep_for(std::chrono::microseconds(sleepUs));
        sleepUs = std::min(sleepUs * 2, 20000);
    }
}

RangeLock::~RangeLock()
{
    setLock(fd_, ofd_, F_UNLCK);
}

bool sameFile(int fd, const std::filesystem::path &path)
{
    struct stat a {
    }, b{};
    if (::fstat(fd, &a) != 0 || ::stat(path.c_str(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// ---------------------------------------------------------------------------------------
// Memo files.

static std::uint32_t be32(const unsigned char *p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

MemoFile::MemoFile(const std::filesystem::path &table, const Header &h)
{
    fox_ = h.isFox();
    dbase4_ = !fox_ && h.version != 0x83 && h.version != 0x03;
    // FoxPro tables keep memos in .fpt, dBase tables in .dbt; try the other when missing.
    const char *exts[2] = {fox_ ? ".fpt" : ".dbt", fox_ ? ".dbt" : ".fpt"};
    for (int k = 0; k < 2 && fd_ < 0; ++k) {
        std::filesystem::path p = table;
        p.replace_extension(exts[k]);
        p = files::resolveCaseInsensitive(p);
        const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        fd_ = fd;
        fox_ = exts[k][1] == 'f';
    }
    if (fd_ < 0)
        return;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = std::uint64_t(st.st_size);
    unsigned char head[32] = {};
    const std::size_t n = preadFull(fd_, head, sizeof head, 0, table.string());
    if (fox_) {
        blockSize_ = n >= 8 ? (std::uint32_t(head[6]) << 8 | head[7]) : 64;
        if (blockSize_ == 0)
            blockSize_ = 64;
    } else if (dbase4_) {
        blockSize_ = n >= 22 ? le16(head + 20) : 512;
        if (blockSize_ == 0)
            blockSize_ = 512;
    }
}

MemoFile::~MemoFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string MemoFile::read(std::uint64_t block)
{
    if (fd_ < 0)
        return {};
    const std::uint64_t offset = block * blockSize_;
    if (offset >= size_)
        return {};
    const std::uint64_t available = size_ - offset;
    if (fox_) {
        unsigned char head[8];
        if (available < 8 || preadFull(fd_, head, 8, offset, {}) < 8)
            return {};
        const std::uint64_t length = std::min<std::uint64_t>(be32(head + 4), available - 8);
        std::string out(std::size_t(length), '\0');
        out.resize(preadFull(fd_, out.data(), out.size(), offset + 8, {}));
        return out;
    }
    unsigned char head[8] = {};
    const std::size_t got = preadFull(fd_, head, std::min<std::uint64_t>(8, available), offset, {});
    if (got == 8 && head[0] == 0xFF && head[1] == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
        // dBase IV block: the length counts the 8-byte block header.
        const std::uint64_t length = le32(head + 4);
        const std::uint64_t body = std::min<std::uint64_t>(length > 8 ? length - 8 : 0, available - 8);
        std::string out(std::size_t(body), '\0');
        out.resize(preadFull(fd_, out.data(), out.size(), offset + 8, {}));
        return out;
    }
    // dBase III: text up to the 0x1A end mark, read block by block.
    std::string out;
    std::uint64_t pos = offset;
    char chunk[512];
    while (pos < size_) {
        const std::size_t n = preadFull(fd_, chunk, std::min<std::uint64_t>(sizeof chunk, size_ - pos), pos, {});
        if (n == 0)
            break;
        const char *end = static_cast<const char *>(std::memchr(chunk, 0x1A, n));
        out.append(chunk, end ? std::size_t(end - chunk) : n);
        if (end)
            break;
        pos += n;
    }
    return out;
}

} // namespace focaris::dbf::detail
