// Writing ".T21" archives: each file goes through zlib level 9 straight into the archive,
// its uncompressed size patched in afterwards, so memory stays small whatever the size of
// the tables. A file larger than one block is deflated on all the processor's cores: it is
// cut into blocks, each primed with the 32 KiB before it, and the pieces are joined into
// one zlib stream, which every zlib reader (the Windows program's too) reads as usual.
#include "engines/archive/Archive.h"
#include "engines/archive/BlockCache.h"
#include "engines/archive/FolderFiles.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <exception>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace focaris::archive {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::size_t kBlock = 4 * 1024 * 1024; // what one core deflates at a time
constexpr std::size_t kWindow = 32 * 1024;      // deflate's window: the primer of a block

void putInt32(std::ostream &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
    out.write(bytes, 4);
}

// How many cores deflate a large file; 1 keeps the plain single stream.
unsigned deflateThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

// The two bytes that begin a zlib stream of 32 KiB window at `level`, as zlib writes them.
std::array<char, 2> zlibHeader(int level)
{
    if (level == Z_DEFAULT_COMPRESSION)
        level = 6;
    const unsigned cmf = 0x78;
    unsigned flg = (level < 2 ? 0u : level < 6 ? 1u : level == 6 ? 2u : 3u) << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    return {char(cmf), char(flg & 0xff)};
}

// One block of a large file as raw deflate data: primed with `primer` (the end of the
// block before), ended by a flush to a byte boundary, or by the stream's end for the last.
struct Block {
    std::string data, primer, deflated;
    uLong adler = 0;
    bool last = false;
    std::exception_ptr failure;
};

void deflateBlock(Block &b, int level, BlockCache *cache)
{
    try {
        b.adler = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(b.data.data()), uInt(b.data.size()));
        const std::string key =
            cache ? BlockCache::key(level, b.last, b.primer, b.data.size(), b.adler) : std::string();
        if (cache && cache->find(key, b.last, b.primer, b.data, b.deflated))
            return;
        z_stream z{};
        if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw ArchiveError("zlib cannot start");
        struct End {
            z_stream &z;
            ~End() { deflateEnd(&z); }
        } end{z};
        if (!b.primer.empty() &&
            deflateSetDictionary(&z, reinterpret_cast<const Bytef *>(b.primer.data()), uInt(b.primer.size())) != Z_OK)
            throw ArchiveError("zlib cannot start");
        b.deflated.resize(deflateBound(&z, uLong(b.data.size())) + 64);
        z.next_in = reinterpret_cast<Bytef *>(b.data.data());
        z.avail_in = uInt(b.data.size());
        std::size_t done = 0;
        for (;;) {
            z.next_out = reinterpret_cast<Bytef *>(b.deflated.data() + done);
            z.avail_out = uInt(b.deflated.size() - done);
            const int rc = deflate(&z, b.last ? Z_FINISH : Z_SYNC_FLUSH);
            if (rc == Z_STREAM_ERROR)
                throw ArchiveError("zlib failed");
            done = b.deflated.size() - z.avail_out;
            if (rc == Z_STREAM_END || (!b.last && z.avail_in == 0 && z.avail_out > 0))
                break;
            b.deflated.resize(b.deflated.size() * 2);
        }
        b.deflated.resize(done);
        if (cache)
            cache->store(key, b.deflated);
    } catch (...) {
        b.failure = std::current_exception();
    }
}

// Deflates a file larger than one block, `threads` blocks at a time; the result is one zlib
// stream. Returns the number of uncompressed bytes.
std::uint64_t deflateInBlocks(std::ifstream &in, const fs::path &file, std::ostream &out, int level, unsigned threads,
                              BlockCache *cache, const std::function<void()> &partDone)
{
    const auto header = zlibHeader(level);
    out.write(header.data(), 2);
    std::vector<Block> blocks(threads);
    std::string primer;
    uLong adler = adler32(0, nullptr, 0);
    std::uint64_t total = 0;
    bool last = false;
    while (!last) {
        std::size_t n = 0;
        for (; n < blocks.size() && !last; ++n) {
            Block &b = blocks[n];
            b.data.resize(kBlock);
            in.read(b.data.data(), std::streamsize(kBlock));
            if (in.bad())
                throw ArchiveError("cannot read " + file.string());
            b.data.resize(std::size_t(in.gcount()));
            last = b.last = in.eof() || in.peek() == std::char_traits<char>::eof();
            b.primer = n == 0 ? primer : blocks[n - 1].data.substr(blocks[n - 1].data.size() - kWindow);
            b.failure = nullptr;
        }
        // The first block on this thread, the others each on its own; a thread that cannot
        // be started leaves its blocks to this one.
        std::vector<std::thread> workers;
        std::size_t here = n;
        for (std::size_t i = 1; i < n; ++i) {
            try {
                workers.emplace_back(deflateBlock, std::ref(blocks[i]), level, cache);
            } catch (const std::system_error &) {
                here = i;
                break;
            }
        }
        deflateBlock(blocks[0], level, cache);
        for (std::size_t i = here; i < n; ++i)
            deflateBlock(blocks[i], level, cache);
        for (std::thread &w : workers)
            w.join();
        for (std::size_t i = 0; i < n; ++i) {
            Block &b = blocks[i];
            if (b.failure)
                std::rethrow_exception(b.failure);
            out.write(b.deflated.data(), std::streamsize(b.deflated.size()));
            if (!out)
                throw ArchiveError("cannot write the archive");
            adler = adler32_combine(adler, b.adler, z_off_t(b.data.size()));
            total += b.data.size();
        }
        // Every block but the last of a file is a whole one, so its end primes the next.
        if (!last)
            primer = blocks[n - 1].data.substr(kBlock - kWindow);
        partDone();
    }
    const char trailer[4] = {char((adler >> 24) & 0xff), char((adler >> 16) & 0xff), char((adler >> 8) & 0xff),
                             char(adler & 0xff)};
    out.write(trailer, 4);
    if (!out)
        throw ArchiveError("cannot write the archive");
    return total;
}

// Deflates the whole of `file` into `out`; returns the number of uncompressed bytes.
std::uint64_t deflateFile(const fs::path &file, std::ostream &out, int level, BlockCache *cache,
                          const std::function<void()> &partDone)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ArchiveError("cannot open " + file.string());
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    // Blocks when there are cores to share them or a cache to reuse them from.
    if (const unsigned threads = deflateThreads(); (threads > 1 || cache) && !ec && size > kBlock)
        return deflateInBlocks(in, file, out, level, threads, cache, partDone);
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK)
        throw ArchiveError("zlib cannot start");
    std::vector<char> inBuf(kChunk), outBuf(kChunk);
    std::uint64_t total = 0;
    int flush = Z_NO_FLUSH;
    try {
        do {
            in.read(inBuf.data(), std::streamsize(inBuf.size()));
            const auto got = in.gcount();
            if (in.bad())
                throw ArchiveError("cannot read " + file.string());
            total += std::uint64_t(got);
            flush = in.eof() ? Z_FINISH : Z_NO_FLUSH;
            z.next_in = reinterpret_cast<Bytef *>(inBuf.data());
            z.avail_in = uInt(got);
            do {
                z.next_out = reinterpret_cast<Bytef *>(outBuf.data());
                z.avail_out = uInt(outBuf.size());
                if (deflate(&z, flush) == Z_STREAM_ERROR)
                    throw ArchiveError("zlib failed on " + file.string());
                out.write(outBuf.data(), std::streamsize(outBuf.size() - z.avail_out));
                if (!out)
                    throw ArchiveError("cannot write the archive");
            } while (z.avail_out == 0);
        } while (flush != Z_FINISH);
    } catch (...) {
        deflateEnd(&z);
        throw;
    }
    deflateEnd(&z);
    return total;
}

} // namespace

int writeArchive(const fs::path &folder, const fs::path &archive, const Progress &progress, int level)
{
    WriteOptions options;
    options.level = level;
    return writeArchive(folder, archive, progress, options);
}

int writeArchive(const fs::path &folder, const fs::path &archive, const Progress &progress, const WriteOptions &options)
{
    const int level = options.level;
    std::unique_ptr<BlockCache> cache;
    if (!options.blockCache.empty())
        cache = std::make_unique<BlockCache>(options.blockCache);
    const auto files = listFiles(folder);
    if (files.empty())
        return 0;
    if (files.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw ArchiveError("too many files");
    const int count = int(files.size());
    if (progress)
        progress(-1, count);
    try {
        files::beforeChange(archive);
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        if (!out)
            throw ArchiveError("cannot create " + archive.string());
        putInt32(out, count);
        for (int i = 0; i < count; ++i) {
            if (progress)
                progress(i, count);
            files::beforeChange(archive);
            const std::string name = text::utf8ToCp1250(files[std::size_t(i)].filename().string());
            putInt32(out, std::int32_t(name.size()));
            out.write(name.data(), std::streamsize(name.size()));
            const auto sizePos = out.tellp();
            putInt32(out, 0);
            const std::uint64_t size =
                deflateFile(files[std::size_t(i)], out, level, cache.get(), [&progress, i, count] {
                    if (progress)
                        progress(i, count);
                });
            if (size > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
                throw ArchiveError(files[std::size_t(i)].string() + " is larger than 2 GB");
            const auto endPos = out.tellp();
            out.seekp(sizePos);
            putInt32(out, std::int32_t(size));
            out.seekp(endPos);
        }
        out.close();
        if (!out || (options.sync && !files::syncPath(archive)))
            throw ArchiveError("cannot write " + archive.string());
        if (cache) {
            cache->prune();
            if (options.blocksFound)
                *options.blocksFound = cache->found();
            if (options.blocksCompressed)
                *options.blocksCompressed = cache->missed();
        }
    } catch (...) {
        std::error_code ec;
        fs::remove(archive, ec);
        throw;
    }
    return count;
}

} // namespace focaris::archive
