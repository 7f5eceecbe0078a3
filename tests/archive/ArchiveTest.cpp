// The ".T21" archive against archives written by a separate implementation of the format
// (tests/archive/make_independent_archives.py), hostile archives, and its own output.
#include "engines/archive/Archive.h"
#include "TestSupport.h"
#include "engines/archive/BlockCache.h"
#include "engines/archive/FolderFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

using namespace focaris::archive;
using focaris::test::readFile;
using focaris::test::TempDir;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

fs::path good(const std::string &name)
{
    return focaris::test::dataDir() / "good" / "archive" / name;
}
fs::path broken(const std::string &name)
{
    return focaris::test::dataDir() / "broken" / "archive" / name;
}

std::set<std::string> namesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &e : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(e.path(), folder).string());
    return names;
}

std::uint32_t int32At(const std::string &bytes, std::size_t at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

} // namespace

TEST(ArchiveRead, IndependentArchiveWithWindowsNamesExtracts)
{
    TempDir dir;
    const auto result = extractArchive(good("windows_names.T21"), dir.path());
    ASSERT_FALSE(result.failed) << result.error;
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"CERERI.DBF", "Şablon ţară.rtf", "Focaris.set", "Gol.txt"}));
    EXPECT_EQ(readFile(dir / "Focaris.set"), "[CONST]\r\nLUNA_LUCRU=01.2024\r\n");
    EXPECT_EQ(readFile(dir / "Şablon ţară.rtf"), "{\\rtf1 Dispozi\xfeie}");
    EXPECT_EQ(readFile(dir / "CERERI.DBF").size(), 4u + 24 + 4 + 13 * 300);

    const auto members = listArchive(good("windows_names.T21"));
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[1].name, "Şablon ţară.rtf");
    EXPECT_EQ(members[2].size, 29u);
}

TEST(ArchiveRead, LaterOfTwoSameNamedMembersWinsWhateverTheCase)
{
    TempDir dir;
    writeFile(dir / "luni.lst", "older file already there");
    const auto result = extractArchive(good("repeated_names.T21"), dir.path());
    ASSERT_FALSE(result.failed) << result.error;
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"luni.lst"});
    EXPECT_EQ(readFile(dir / "luni.lst"), "second, the later one");
}

TEST(ArchiveRead, DamagedArchivesFailKeepingEarlierMembersAndNoHalfFile)
{
    for (const char *name :
         {"truncated_stream.T21", "size_larger_than_data.T21", "size_smaller_than_data.T21", "damaged_stream.T21"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const auto result = extractArchive(broken(name), dir.path());
        EXPECT_TRUE(result.failed);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Bun.txt"});
        EXPECT_THROW(listArchive(broken(name)), ArchiveError);
    }
}

TEST(ArchiveRead, LyingCountsAndSizesFailWithoutAllocating)
{
    for (const char *name : {"huge_size_claim.T21", "negative_size.T21", "huge_count.T21", "huge_name_length.T21"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const auto result = extractArchive(broken(name), dir.path());
        EXPECT_TRUE(result.failed);
        for (const auto &n : namesIn(dir.path()))
            EXPECT_EQ(n, "Bun.txt");
    }
}

TEST(ArchiveRead, NamesWithFoldersAreReducedToFileNamesInsideTheTarget)
{
    TempDir outer;
    const fs::path target = outer / "a" / "b";
    fs::create_directories(target);
    const auto result = extractArchive(broken("names_with_folders.T21"), target);
    ASSERT_FALSE(result.failed) << result.error;
    EXPECT_EQ(namesIn(outer.path()),
              (std::set<std::string>{"a", "a/b", "a/b/evil_back.txt", "a/b/evil_slash.txt", "a/b/evil_absolute.txt",
                                     "a/b/evil_drive.txt", "a/b/dir.txt"}));
    EXPECT_FALSE(fs::exists("/tmp/evil_absolute.txt"));
    EXPECT_EQ(readFile(target / "evil_back.txt"), "backslashes");
}

TEST(ArchiveRead, NameWithNothingLeftIsRefused)
{
    TempDir dir;
    const auto result = extractArchive(broken("name_dotdot_only.T21"), dir.path());
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Bun.txt"});
    EXPECT_EQ(safeMemberName(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(safeMemberName("."), "");
}

TEST(ArchiveRead, LinkInTheTargetIsReplacedNotFollowed)
{
    TempDir outer;
    const fs::path target = outer / "t";
    fs::create_directories(target);
    writeFile(outer / "outside.txt", "keep me");
    fs::create_symlink(outer / "outside.txt", target / "Focaris.set");
    ASSERT_FALSE(extractArchive(good("windows_names.T21"), target).failed);
    EXPECT_EQ(readFile(outer / "outside.txt"), "keep me");
    EXPECT_FALSE(fs::is_symlink(target / "Focaris.set"));
}

TEST(ArchiveWrite, LayoutIsTheWindowsOneAndRoundTrips)
{
    TempDir src, dst, out;
    writeFile(src / "Oameni.dbf", std::string(70000, 'o') + "end");
    writeFile(src / "Şcoală.rtf", "text");
    writeFile(src / "Gol.txt", "");
    fs::create_directories(src / "Subfolder");
    writeFile(src / "Subfolder" / "ignored.txt", "not archived");
    const fs::path file = out / "x.T21";
    EXPECT_EQ(writeArchive(src.path(), file), 2);

    const std::string bytes = readFile(file);
    EXPECT_EQ(int32At(bytes, 0), 2u);
    // Whichever comes first, its name is the Windows-1250 form and a level-9 zlib stream
    // (header 78 DA) follows the size.
    const std::uint32_t nameLen = int32At(bytes, 4);
    const std::string firstName = bytes.substr(8, nameLen);
    EXPECT_TRUE(firstName == "Oameni.dbf" || firstName == "\xaa"
                                                          "coal\xe3.rtf")
        << firstName;
    EXPECT_EQ(std::uint8_t(bytes[12 + nameLen]), 0x78);
    EXPECT_EQ(std::uint8_t(bytes[13 + nameLen]), 0xDA);

    ASSERT_FALSE(extractArchive(file, dst.path()).failed);
    EXPECT_EQ(namesIn(dst.path()), (std::set<std::string>{"Oameni.dbf", "Şcoală.rtf"}));
    EXPECT_EQ(readFile(dst / "Oameni.dbf"), readFile(src / "Oameni.dbf"));
}

TEST(ArchiveWrite, ALargeTableIsOneZlibStreamThatAPlainReaderTakes)
{
    // Tables larger than what one core deflates at a time are deflated in blocks on all the
    // cores and joined into one stream: zlib's own one-call reader must take it whole, and it
    // must be about as small as one level-9 stream. One size is a whole number of blocks.
    for (const std::size_t size : {std::size_t(8) << 20, (std::size_t(9) << 20) + 3}) {
        std::string table;
        table.reserve(size);
        for (unsigned i = 0; table.size() < size; ++i)
            table += " POPESCU ION " + std::to_string(i * 7919u % 100003u) + " STR. MARE " + std::to_string(i % 97) +
                     " 0000300.0000 X";
        table.resize(size);
        TempDir src, out, dst;
        writeFile(src / "Cereri.dbf", table);
        const fs::path file = out / "x.T21";
        std::vector<int> positions;
        ASSERT_EQ(writeArchive(src.path(), file,
                               [&](int position, int count) {
                                   EXPECT_EQ(count, 1);
                                   positions.push_back(position);
                               }),
                  1);
        // The member's position again after each part, for the caller's window.
        ASSERT_GE(positions.size(), std::thread::hardware_concurrency() > 1 ? 3u : 2u);
        EXPECT_EQ(positions[0], -1);
        EXPECT_EQ(std::count(positions.begin(), positions.end(), 0), int(positions.size()) - 1);

        const std::string bytes = readFile(file);
        const std::size_t at = 8 + int32At(bytes, 4);
        ASSERT_EQ(int32At(bytes, at), size);
        const std::string stream = bytes.substr(at + 4);
        EXPECT_EQ(std::uint8_t(stream[0]), 0x78);
        EXPECT_EQ(std::uint8_t(stream[1]), 0xDA);
        std::string back(size, '\0');
        uLongf backSize = uLongf(size);
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef *>(back.data()), &backSize,
                             reinterpret_cast<const Bytef *>(stream.data()), uLong(stream.size())),
                  Z_OK);
        EXPECT_EQ(backSize, size);
        EXPECT_TRUE(back == table);

        std::string single(compressBound(uLong(size)), '\0');
        uLongf singleSize = uLongf(single.size());
        ASSERT_EQ(compress2(reinterpret_cast<Bytef *>(single.data()), &singleSize,
                            reinterpret_cast<const Bytef *>(table.data()), uLong(size), 9),
                  Z_OK);
        EXPECT_LE(double(stream.size()), double(singleSize) * 1.01) << stream.size() << " against " << singleSize;

        ASSERT_FALSE(extractArchive(file, dst.path()).failed);
        EXPECT_TRUE(readFile(dst / "Cereri.dbf") == table);
    }
}

namespace {

// A table-like text of `size` bytes; `salt` changes its rows.
std::string tableText(std::size_t size, unsigned salt = 0)
{
    std::string table;
    table.reserve(size);
    for (unsigned i = 0; table.size() < size; ++i)
        table += " IONESCU ANA " + std::to_string((i + salt) * 7919u % 100003u) + " STR. MICA " +
                 std::to_string(i % 89) + " 0000150.5000 X";
    table.resize(size);
    return table;
}

// The raw deflate data of `data` primed with `primer`, ended by `flush`.
std::string rawDeflate(const std::string &primer, const std::string &data, int flush)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    deflateSetDictionary(&z, reinterpret_cast<const Bytef *>(primer.data()), uInt(primer.size()));
    std::string out(deflateBound(&z, uLong(data.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, flush);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

} // namespace

TEST(ArchiveWrite, BlocksKeptFromTheLastSaveAreReusedOnlyWhenTheyInflateBackExactly)
{
    TempDir src, out, dst, kept;
    const fs::path cache = kept / "blocks";
    std::string table = tableText((std::size_t(13) << 20) + 5); // four blocks, the last one short
    writeFile(src / "Cereri.dbf", table);
    writeFile(src / "Focaris.set", "[INDEX]\r\nNRCRT=5\r\n");
    auto save = [&](int &found, int &compressed) {
        WriteOptions options;
        options.level = 1; // quick; the cache works the same at every level
        options.blockCache = cache;
        options.blocksFound = &found;
        options.blocksCompressed = &compressed;
        const fs::path file = out / "x.T21";
        writeArchive(src.path(), file, {}, options);
        // The archive holds exactly the folder, for this reader and for zlib's own.
        fs::remove_all(dst.path());
        fs::create_directories(dst.path());
        EXPECT_FALSE(extractArchive(file, dst.path()).failed);
        EXPECT_TRUE(readFile(dst / "Cereri.dbf") == readFile(src / "Cereri.dbf"));
        EXPECT_EQ(readFile(dst / "Focaris.set"), readFile(src / "Focaris.set"));
        const std::string bytes = readFile(file);
        std::size_t at = 4;
        for (int m = 0; m < 2; ++m) {
            const std::uint32_t nameLen = int32At(bytes, at);
            const std::string name = bytes.substr(at + 4, nameLen);
            const std::uint32_t size = int32At(bytes, at + 4 + nameLen);
            z_stream z{};
            inflateInit(&z);
            std::string back(size, '\0');
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data() + at + 8 + nameLen));
            z.avail_in = uInt(bytes.size() - (at + 8 + nameLen));
            z.next_out = reinterpret_cast<Bytef *>(back.data());
            z.avail_out = size;
            EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
            EXPECT_TRUE(back == readFile(src / name)) << name;
            at = std::size_t(z.next_in - reinterpret_cast<const Bytef *>(bytes.data()));
            inflateEnd(&z);
        }
        EXPECT_EQ(at, bytes.size());
    };
    int found = 0, compressed = 0;
    save(found, compressed);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(compressed, 4);

    // One row changed at the end of the third block: the blocks before it are reused, that
    // block and the one it primes are compressed again, and the cache keeps only this
    // save's blocks.
    table[(std::size_t(12) << 20) - 100] = 'Z';
    writeFile(src / "Cereri.dbf", table);
    save(found, compressed);
    EXPECT_EQ(found, 2);
    EXPECT_EQ(compressed, 2);
    std::vector<fs::path> files;
    for (const auto &e : fs::directory_iterator(cache))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 4u);

    // A damaged cache: two blocks' files swapped (valid data of other bytes), one with a
    // byte changed, one cut short. Nothing is reused and the archive is still the folder.
    const std::string first = readFile(files[0]), second = readFile(files[1]);
    writeFile(files[0], second);
    writeFile(files[1], first);
    std::string third = readFile(files[2]);
    third[third.size() / 2] = char(third[third.size() / 2] ^ 0x20);
    writeFile(files[2], third);
    writeFile(files[3], readFile(files[3]).substr(0, 1000));
    save(found, compressed);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(compressed, 4);
    save(found, compressed);
    EXPECT_EQ(found, 4);
}

TEST(ArchiveWrite, ACachedBlockMustEndWhereTheNextCanFollow)
{
    // The same bytes, but ended as the stream's last block, or not on a byte boundary:
    // either would break the stream after it, so neither may stand for a middle block.
    const std::string primer = tableText(32 * 1024, 1), data = tableText(100000, 2);
    EXPECT_TRUE(inflatesBackTo(rawDeflate(primer, data, Z_SYNC_FLUSH), primer, data, false));
    EXPECT_FALSE(inflatesBackTo(rawDeflate(primer, data, Z_FINISH), primer, data, false));
    EXPECT_TRUE(inflatesBackTo(rawDeflate(primer, data, Z_FINISH), primer, data, true));
    EXPECT_FALSE(inflatesBackTo(rawDeflate(primer, data, Z_PARTIAL_FLUSH), primer, data, false));
    EXPECT_FALSE(inflatesBackTo(rawDeflate(primer, data, Z_SYNC_FLUSH), primer, data, true));
    EXPECT_FALSE(inflatesBackTo(rawDeflate(primer, data, Z_SYNC_FLUSH), tableText(32 * 1024, 3), data, false));
}

TEST(ArchiveWrite, EmptyFolderWritesNothingAndFailureLeavesNoArchive)
{
    TempDir src, out;
    writeFile(src / "Gol.txt", "");
    EXPECT_EQ(writeArchive(src.path(), out / "none.T21"), 0);
    EXPECT_FALSE(fs::exists(out / "none.T21"));

    writeFile(src / "Date.dbf", "data");
    EXPECT_THROW(writeArchive(src.path(), out / "missing" / "x.T21"), ArchiveError);
    EXPECT_FALSE(fs::exists(out / "missing"));
}

TEST(FolderFiles, ListClearAndCopyAndErase)
{
    TempDir dir, other;
    writeFile(dir / ".hidden", "h");
    writeFile(dir / "empty", "");
    writeFile(dir / "data.dbf", "d");
    fs::create_directories(dir / "sub");
    std::set<std::string> listed;
    for (const auto &p : listFiles(dir.path()))
        listed.insert(p.filename().string());
    EXPECT_EQ(listed, (std::set<std::string>{".hidden", "data.dbf"}));

    EXPECT_TRUE(copyAndErase(dir / "data.dbf", other / "copy.dbf"));
    EXPECT_FALSE(fs::exists(dir / "data.dbf"));
    EXPECT_EQ(readFile(other / "copy.dbf"), "d");
    EXPECT_FALSE(copyAndErase(dir / "absent", other / "x"));
    writeFile(dir / "keep", "k");
    EXPECT_FALSE(copyAndErase(dir / "keep", other / "no" / "such" / "folder"));
    EXPECT_TRUE(fs::exists(dir / "keep"));

    EXPECT_TRUE(clearFolder(dir.path()));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"sub"});
}
