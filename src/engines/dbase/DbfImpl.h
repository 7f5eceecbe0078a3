// Inside the dBase engine: the state of an open table, shared by the table code and the
// dump helpers.
#pragma once

#include "engines/dbase/DbfFormat.h"

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace focaris::dbf {

// A stamp from what stat gives and the header's record count.
Stamp stampFrom(const struct stat &st, std::uint32_t headerRecords);

struct DbfTable::Impl {
    std::filesystem::path path; // resolved path of the file
    std::string name;           // the path as text, for messages
    bool readOnly = false;
    detail::Fd fd;
    std::uint64_t device = 0, inode = 0; // the file the descriptor holds
    detail::Header header;

    void open();
    // Reads and parses the whole header from the open file.
    void loadHeader();
    // Makes sure the descriptor still reaches the file at `path` (a pack or a column change
    // renames a new file over the old one) and re-reads the header's counts.
    void refresh();
    // True when the file at `path` is still the one the descriptor holds (not replaced by
    // a rename); `byPath` gets what the path shows.
    bool stillAtPath(struct stat &byPath) const;
    // Re-reads the header's counts from the open file without reopening it (used while a
    // lock is held on it); reparses the header when its shape changed.
    void reloadCounts();
    std::uint64_t fileSize();
    // The stamp of the open file from its descriptor and the header's record count as last
    // read (call with the lock held, after reloadCounts).
    Stamp currentStamp();
    Stamp lockedStamp; // the file as found when the lock was last taken
    DbfTable::WriteStamps lastWrite;
    // Complete record slots right now (the header re-read first).
    std::uint32_t slots();

    // Runs fn(complete record slots) under the lock of the file that is current at `path`.
    template <class F>
    auto locked(detail::LockMode mode, F fn)
    {
        for (int attempt = 0;; ++attempt) {
            {
                detail::RangeLock lock(fd.get(), mode, detail::kWriteLockTimeoutMs, name);
                // A pack or a column change by another process renames a new file over
                // the one this descriptor holds: lock that one instead.
                struct stat byPath {};
                if (stillAtPath(byPath)) {
                    reloadCounts();
                    lockedStamp = stampFrom(byPath, header.recordCount);
                    return fn(detail::completeRecords(header, lockedStamp.size));
                }
            }
            if (attempt >= 5)
                detail::fail(name, "the table keeps being replaced by another process");
            open();
        }
    }

    // Calls visit(number, record) for every record slot (deleted ones too) with its
    // 1-based number, under a shared lock. Records are read in large chunks.
    template <class Visit>
    void scan(Visit visit)
    {
        locked(detail::LockMode::Shared, [&](std::uint32_t count) {
            const std::size_t recLen = std::size_t(header.recordLength);
            // Chunks small enough to stay in the processor's cache between the copy out
            // of the page cache and the decoding.
            const std::size_t perChunk = std::max<std::size_t>(1, (std::size_t(256) << 10) / recLen);
            std::vector<unsigned char> buf(perChunk * recLen);
            for (std::uint32_t first = 0; first < count;) {
                const std::size_t n = std::min<std::size_t>(perChunk, count - first);
                const std::size_t got =
                    detail::preadFull(fd.get(), buf.data(), n * recLen, header.recordOffset(first), name);
                const std::size_t complete = got / recLen;
                for (std::size_t k = 0; k < complete; ++k)
                    visit(first + std::uint32_t(k) + 1, buf.data() + k * recLen);
                if (complete < n)
                    break; // the file shrank under us: only complete records count
                first += std::uint32_t(n);
            }
        });
    }
};

} // namespace focaris::dbf
