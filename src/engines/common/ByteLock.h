// The byte-range lock every shared file of the data folder is locked with: one byte far
// beyond the file's contents, so that a lock never keeps a reader from the data (also on a
// Windows share, where byte-range locks are mandatory), and the same byte on every computer.
#pragma once

#include <sys/types.h>

namespace focaris::files {

// Sets (F_WRLCK, F_RDLCK) or clears (F_UNLCK) the lock of the byte at `offset` of the open
// file `fd` without waiting; 0 on success, -1 with errno otherwise (EAGAIN or EACCES: held
// by another). Locks of the open file are used where the system has them (two threads or
// two openings in one process exclude each other too); `ofd` turns false, and stays so,
// where it has not, and process locks are used instead.
int LockByte(int fd, off_t offset, short type, bool &ofd);

} // namespace focaris::files
