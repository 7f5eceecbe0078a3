// The cache of compressed blocks between two saves of the same folder.
#include "engines/archive/BlockCache.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace focaris::archive {
namespace fs = std::filesystem;

namespace {

constexpr const char *kSuffix = ".blk";

std::uint32_t crcOf(std::string_view bytes)
{
    const uLong crc = crc32(0, nullptr, 0);
    // zlib takes at most 4 GiB at a time; blocks are far smaller.
    return std::uint32_t(crc32(crc, reinterpret_cast<const Bytef *>(bytes.data()), uInt(bytes.size())));
}

bool readWhole(const fs::path &file, std::string &bytes)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec || size > (1u << 30))
        return false;
    bytes.resize(std::size_t(size));
    in.read(bytes.data(), std::streamsize(bytes.size()));
    return in.gcount() == std::streamsize(bytes.size());
}

} // namespace

bool inflatesBackTo(std::string_view deflated, std::string_view primer, std::string_view data, bool last)
{
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        return false;
    struct End {
        z_stream &z;
        ~End() { inflateEnd(&z); }
    } end{z};
    if (!primer.empty() &&
        inflateSetDictionary(&z, reinterpret_cast<const Bytef *>(primer.data()), uInt(primer.size())) != Z_OK)
        return false;
    // One byte more than expected, to see a block that would give too much.
    std::string out(data.size() + 1, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(deflated.data()));
    z.avail_in = uInt(deflated.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    int rc = Z_OK;
    // Z_BLOCK stops at every block boundary, so that where the data ends can be checked.
    while (z.avail_in > 0 && rc == Z_OK) {
        const uInt before = z.avail_in, room = z.avail_out;
        rc = inflate(&z, Z_BLOCK);
        if (rc == Z_OK && z.avail_in == before && z.avail_out == room)
            break;
    }
    // Z_BLOCK stops before the end of the stream is noted after the final block: one more
    // call, without input, reaches it.
    if (last && rc == Z_OK && z.avail_in == 0)
        rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = out.size() - z.avail_out;
    if (z.avail_in != 0 || produced != data.size() || std::memcmp(out.data(), data.data(), data.size()) != 0)
        return false;
    if (last)
        return rc == Z_STREAM_END;
    // 128: stopped right at a block boundary; 64: inside the final block; low bits: bits
    // of the last byte not yet used.
    return rc == Z_OK && (z.data_type & 128) && !(z.data_type & 64) && (z.data_type & 7) == 0;
}

BlockCache::BlockCache(fs::path folder) : folder_(std::move(folder)), usable_(!folder_.empty()) {}

std::string BlockCache::key(int level, bool last, std::string_view primer, std::size_t size, unsigned long adler)
{
    char name[80];
    std::snprintf(name, sizeof name, "%08lx%08x-%zx-%zx-%d%c%s", adler & 0xffffffffUL, unsigned(crcOf(primer)), size,
                  primer.size(), level, last ? 'f' : 'b', kSuffix);
    return name;
}

void BlockCache::use(const std::string &name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    used_.insert(name);
}

bool BlockCache::find(const std::string &name, bool last, std::string_view primer, std::string_view data,
                      std::string &deflated)
{
    if (!usable_)
        return false;
    const bool ok = readWhole(folder_ / name, deflated) && inflatesBackTo(deflated, primer, data, last);
    std::lock_guard<std::mutex> lock(mutex_);
    ++(ok ? found_ : missed_);
    if (ok)
        used_.insert(name);
    return ok;
}

void BlockCache::store(const std::string &name, const std::string &deflated)
{
    if (!usable_)
        return;
    std::ostringstream scratch;
    scratch << name << '.' << std::this_thread::get_id() << ".part";
    const fs::path part = folder_ / scratch.str();
    std::error_code ec;
    // Made with the first block kept, so that saves of small folders leave no folder.
    fs::create_directories(folder_, ec);
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(deflated.data(), std::streamsize(deflated.size()));
        out.close();
        if (!out) {
            fs::remove(part, ec);
            return;
        }
    }
    fs::rename(part, folder_ / name, ec);
    if (ec) {
        fs::remove(part, ec);
        return;
    }
    use(name);
}

void BlockCache::prune()
{
    if (!usable_)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code sec;
        if (it->is_regular_file(sec) && !used_.count(name))
            fs::remove(it->path(), sec);
    }
}

} // namespace focaris::archive
