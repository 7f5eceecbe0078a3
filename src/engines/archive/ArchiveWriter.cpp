// Writing ".T21" archives: each file is streamed through zlib level 9 straight into the
// archive, its uncompressed size patched in afterwards, so memory stays small whatever
// the size of the tables.
#include "engines/archive/Archive.h"
#include "engines/archive/FolderFiles.h"
#include "engines/common/Codepage.h"

#include <zlib.h>

#include <array>
#include <fstream>
#include <limits>

namespace focaris::archive {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 256 * 1024;

void putInt32(std::ostream &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                           char((v >> 24) & 0xff)};
    out.write(bytes, 4);
}

// Deflates the whole of `file` into `out`; returns the number of uncompressed bytes.
std::uint64_t deflateFile(const fs::path &file, std::ostream &out, int level)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ArchiveError("cannot open " + file.string());
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
    const auto files = listFiles(folder);
    if (files.empty())
        return 0;
    if (files.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw ArchiveError("too many files");
    const int count = int(files.size());
    if (progress)
        progress(-1, count);
    try {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        if (!out)
            throw ArchiveError("cannot create " + archive.string());
        putInt32(out, count);
        for (int i = 0; i < count; ++i) {
            if (progress)
                progress(i, count);
            const std::string name = text::utf8ToCp1250(files[std::size_t(i)].filename().string());
            putInt32(out, std::int32_t(name.size()));
            out.write(name.data(), std::streamsize(name.size()));
            const auto sizePos = out.tellp();
            putInt32(out, 0);
            const std::uint64_t size = deflateFile(files[std::size_t(i)], out, level);
            if (size > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
                throw ArchiveError(files[std::size_t(i)].string() + " is larger than 2 GB");
            const auto endPos = out.tellp();
            out.seekp(sizePos);
            putInt32(out, std::int32_t(size));
            out.seekp(endPos);
        }
        out.close();
        if (!out)
            throw ArchiveError("cannot write " + archive.string());
    } catch (...) {
        std::error_code ec;
        fs::remove(archive, ec);
        throw;
    }
    return count;
}

} // namespace focaris::archive
