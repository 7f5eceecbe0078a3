// "In use" as the document operations see it: a file another program holds is neither
// deleted nor reused.
#include "engines/common/FileInUse.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace focaris::files;
using namespace focaris::test;

namespace {

// A child process that holds a lock on `file` until the object is destroyed.
class LockingChild {
public:
    LockingChild(const std::filesystem::path &file, bool posixRecordLock)
    {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release[1]);
            int fd = ::open(file.c_str(), O_RDWR);
            struct flock fl {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            bool ok = posixRecordLock ? ::fcntl(fd, F_SETLK, &fl) == 0 : ::flock(fd, LOCK_EX) == 0;
            char c = ok ? '1' : '0';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release[0], &c, 1);
            ::_exit(0);
        }
        char c = '0';
        (void)!::read(ready[0], &c, 1);
        locked_ = c == '1';
        releaseFd_ = release[1];
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(release[0]);
    }
    ~LockingChild()
    {
        if (pid_ > 0) {
            ::close(releaseFd_);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    int releaseFd_ = -1;
    bool locked_ = false;
};

TEST(FileInUse, LockFileAndForeignLocksMeanInUseAndReadOnlyFilesAreNotDeleted)
{
    TempDir dir;
    auto file = dir / "Referat.rtf";
    writeFile(file, "x");
    EXPECT_FALSE(isFileInUse(file));
    EXPECT_FALSE(isFileInUse(dir / "absent.rtf"));

    writeFile(dir / ".~lock.Referat.rtf#", "lock");
    EXPECT_TRUE(isFileInUse(file));
    std::filesystem::remove(dir / ".~lock.Referat.rtf#");

    for (bool recordLock : {true, false}) {
        LockingChild child(file, recordLock);
        ASSERT_TRUE(child.locked());
        EXPECT_TRUE(isFileInUse(file)) << (recordLock ? "fcntl" : "flock");
        EXPECT_FALSE(deleteUnlessInUse(file));
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(isFileInUse(file)) << "lock released with the child";

    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(isFileInUse(file));
    EXPECT_FALSE(deleteUnlessInUse(file));
    ::chmod(file.c_str(), 0644);
    EXPECT_TRUE(deleteUnlessInUse(file));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(deleteUnlessInUse(file)) << "nothing to delete counts as deleted";
}

} // namespace
