// Inside the dBase engine: the state of an open table, shared by the table code and the
// dump helpers.
#pragma once

#include "engines/dbase/DbfFormat.h"

#include <functional>

namespace focaris::dbf {

struct DbfTable::Impl {
    std::filesystem::path path;   // resolved path of the file
    std::string name;             // the path as text, for messages
    bool readOnly = false;
    detail::Fd fd;
    detail::Header header;

    void open();
    // Reads and parses the whole header from the open file.
    void loadHeader();
    // Makes sure the descriptor still reaches the file at `path` (a pack or a column change
    // renames a new file over the old one) and re-reads the header's counts.
    void refresh();
    // Re-reads the header's counts from the open file without reopening it (used while a
    // lock is held on it); reparses the header when its shape changed.
    void reloadCounts();
    std::uint64_t fileSize();
    // Complete record slots right now (the header re-read first).
    std::uint32_t slots();

    // Runs fn(complete record slots) under the lock of the file that is current at `path`.
    template <class F>
    auto locked(detail::LockMode mode, F fn)
    {
        for (int attempt = 0;; ++attempt) {
            refresh();
            detail::RangeLock lock(fd.get(), mode, detail::kWriteLockTimeoutMs, name);
            if (!detail::sameFile(fd.get(), path)) {
                if (attempt < 5)
                    continue;
                detail::fail(name, "the table keeps being replaced by another process");
            }
            reloadCounts();
            return fn(detail::completeRecords(header, fileSize()));
        }
    }

    // Calls `visit` for every record slot (deleted ones too) with its 1-based number, under
    // a shared lock. Records are read in large chunks.
    void scan(const std::function<void(std::uint32_t, const unsigned char *)> &visit);
};

} // namespace focaris::dbf
