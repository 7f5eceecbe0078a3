// The byte-range lock of shared files; see ByteLock.h.
#include "engines/common/ByteLock.h"

#include <cerrno>
#include <fcntl.h>

namespace focaris::files {

int LockByte(int fd, off_t offset, short type, bool &ofd)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = 1;
#ifdef F_OFD_SETLK
    if (ofd) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
            return 0;
        if (errno != EINVAL)
            return -1;
    }
#endif
    ofd = false;
    return ::fcntl(fd, F_SETLK, &fl);
}

} // namespace focaris::files
