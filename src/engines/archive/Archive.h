// The ".T21" save archive: the data folder's files, each compressed on its own with zlib.
// Archives written by the Windows installations open unchanged, and archives written here
// open there.
//
// Byte layout (every integer 32-bit signed, little-endian):
//
//   | field       | size        | content                                              |
//   |-------------|-------------|------------------------------------------------------|
//   | count       | 4           | number of members                                    |
//   | per member: |             |                                                      |
//   |  name length| 4           | bytes of the name                                    |
//   |  name       | name length | file name without folder, Windows-1250               |
//   |  size       | 4           | uncompressed length of the file                      |
//   |  data       | variable    | one complete zlib stream (RFC 1950), any level       |
//
// The compressed length is not stored: a reader inflates until exactly `size` bytes have
// come out and the zlib stream has ended; the next member starts right after that stream.
// The Windows installations write level 9; the level does not change how a stream reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace focaris::archive {

// A damaged, truncated or hostile archive, or a file that could not be read or written.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Progress of a long archive operation: called once with the number of members
// (position -1), then with each member's position before it is handled; while a large
// member is written, again with the same position after each part of it, so that the
// caller can keep its window painted.
using Progress = std::function<void(int position, int count)>;

// Longest member name accepted; real names are short file names.
constexpr std::int32_t kMaxNameLength = 1024;

// Writes every non-empty file directly inside `folder` (no subfolders) into `archive`,
// in the order of the folder listing, streaming each file through zlib (level 9, the
// format's own, unless `level` says otherwise: any level reads back the same) so that
// no whole file is held in memory. Nothing is written when the folder holds no such
// file. On any failure the half-written archive is removed and ArchiveError is thrown.
// Returns the number of members written.
int writeArchive(const std::filesystem::path &folder, const std::filesystem::path &archive,
                 const Progress &progress = {}, int level = 9);

// How an archive is written, beyond the folder and the file.
struct WriteOptions {
    int level = 9; // the zlib level; every level reads back the same
    // A folder where the compressed blocks of large files are kept for the next save of
    // the same folder (see BlockCache); empty for none. The blocks found there are reused
    // only after they were checked to inflate back to the file's bytes.
    std::filesystem::path blockCache;
    // The finished archive made safe on disk before writeArchive returns. A caller that
    // copies the archive elsewhere with a sync of its own (and throws this one away) says
    // false, and spares the disk a second flush of the same bytes.
    bool sync = true;
    // Filled when given: blocks taken from the cache and blocks compressed.
    int *blocksFound = nullptr;
    int *blocksCompressed = nullptr;
};
int writeArchive(const std::filesystem::path &folder, const std::filesystem::path &archive, const Progress &progress,
                 const WriteOptions &options);

// One member as the archive stores it.
struct Member {
    std::string name;       // the stored name, converted to UTF-8
    std::uint32_t size = 0; // uncompressed length
};

// Receives the members of an archive while it is read. begin() returns false to skip the
// member's bytes (they are still inflated and checked); data() gets the bytes in pieces.
class MemberSink {
public:
    virtual ~MemberSink() = default;
    virtual bool begin(const Member &member, int index) = 0;
    virtual void data(const char *bytes, std::size_t length) = 0;
    virtual void end() = 0;
};

// Reads a whole archive from `in`, handing every member to `sink`. Throws ArchiveError at
// the first damaged or truncated member (after the sink has seen the bytes that were
// good); sizes are never used to allocate memory. Returns the member count.
int readArchive(std::istream &in, MemberSink &sink, const Progress &progress = {});

// The members of an archive file, each inflated and checked. Throws ArchiveError.
std::vector<Member> listArchive(const std::filesystem::path &archive);

// The file name under which a stored member name is written: any folder part (after the
// last "/" or "\", or a drive "X:") is dropped and NUL bytes become "_". Empty when
// nothing usable is left ("", ".", ".."), which means the member is refused.
std::string safeMemberName(const std::string &storedName);

// Outcome of an extraction.
struct ExtractResult {
    bool failed = false;              // a member was damaged, truncated or refused
    std::string error;                // why, when failed
    std::vector<std::string> written; // names written, in order (repeats included)
};

// Writes every member into `folder` under its safe name, replacing a file of the same
// name (found without regard to case, as Windows would) so that of two same-named
// members the later one wins. Never writes outside `folder`. Stops at the first damaged
// member, keeping what was extracted before it; the file of the damaged member is
// removed rather than left half-written.
ExtractResult extractArchive(const std::filesystem::path &archive, const std::filesystem::path &folder,
                             const Progress &progress = {});

} // namespace focaris::archive
