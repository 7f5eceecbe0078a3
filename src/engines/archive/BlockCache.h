// The compressed blocks of the last save, kept so that the next save of the same folder
// reuses the blocks whose bytes did not change instead of compressing them again.
//
// A large file is written as blocks of raw deflate data, each primed with the 32 KiB
// before it; such a block depends only on those bytes, its own bytes, the level and
// whether it ends the stream. The cache keeps each block in a file named after all of
// these: the adler32 of the block's bytes (which the stream needs anyway, so the name
// costs no extra pass over the data), the crc32 of its primer, both lengths, the level
// and the end mark. The name only points at a candidate: a block is taken from the cache
// only after it has been inflated (with its primer) back to exactly the bytes it stands
// for and found to end on a block boundary, so a damaged, stale or foreign file in the
// cache, or two blocks of the same name, only cost the time of compressing that block
// again; they can never put wrong bytes into an archive.
#pragma once

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace focaris::archive {

class BlockCache {
public:
    // `folder` is created when the first block is kept; a folder that cannot be made
    // only means that nothing is kept.
    explicit BlockCache(std::filesystem::path folder);

    // The name a block is kept under, made once per block; `adler` is the adler32 of
    // its bytes.
    static std::string key(int level, bool last, std::string_view primer, std::size_t size, unsigned long adler);

    // The cached compressed form of the block named `key`, checked, into `deflated`; false
    // when there is none or it does not inflate back to `data`.
    bool find(const std::string &key, bool last, std::string_view primer, std::string_view data, std::string &deflated);
    // Keeps the compressed form of a block for the next save (written under a scratch
    // name and renamed, so that a reader never sees half a file). Failures are ignored:
    // the cache is only a shortcut.
    void store(const std::string &key, const std::string &deflated);
    // Removes every cached block that this save neither found nor stored, so that the
    // cache holds one save's blocks and does not grow.
    void prune();

    // How many blocks were found and how many had to be compressed.
    int found() const { return found_; }
    int missed() const { return missed_; }

private:
    void use(const std::string &name);

    std::filesystem::path folder_;
    bool usable_ = false;
    std::mutex mutex_;
    std::set<std::string> used_;
    int found_ = 0, missed_ = 0;
};

// True when the raw deflate data `deflated`, primed with `primer`, inflates to exactly
// `data` and then ends: at the stream's end for the last block, otherwise on a byte-aligned
// block boundary without the final-block mark, so that the next block may follow it.
bool inflatesBackTo(std::string_view deflated, std::string_view primer, std::string_view data, bool last);

} // namespace focaris::archive
