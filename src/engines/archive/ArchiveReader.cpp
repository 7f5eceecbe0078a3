// Reading ".T21" archives. Every size in the file is treated as a claim to be checked,
// never as an amount to allocate: members are inflated in fixed chunks, and a stream that
// ends early, runs past its size or is cut off stops the reading with ArchiveError.
#include "engines/archive/Archive.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"
#include "engines/common/FileNames.h"

#include <zlib.h>

#include <fstream>

namespace focaris::archive {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 256 * 1024;

// Buffered reading that lets the inflater give back the bytes it did not use, since the
// next member starts right after a zlib stream whose length is not stored.
class Input {
public:
    explicit Input(std::istream &in) : in_(in), buf_(kChunk) {}

    // Makes bytes available; false at the end of the input.
    bool fill()
    {
        if (pos_ < len_)
            return true;
        in_.read(buf_.data(), std::streamsize(buf_.size()));
        len_ = std::size_t(in_.gcount());
        pos_ = 0;
        if (in_.bad())
            throw ArchiveError("cannot read the archive");
        return len_ > 0;
    }
    const char *data() const { return buf_.data() + pos_; }
    std::size_t available() const { return len_ - pos_; }
    void consume(std::size_t n) { pos_ += n; }

    void readExact(char *out, std::size_t n, const char *what)
    {
        while (n > 0) {
            if (!fill())
                throw ArchiveError(std::string("archive cut off in ") + what);
            const std::size_t take = std::min(n, available());
            std::copy(data(), data() + take, out);
            consume(take);
            out += take;
            n -= take;
        }
    }
    std::int32_t readInt32(const char *what)
    {
        unsigned char b[4];
        readExact(reinterpret_cast<char *>(b), 4, what);
        return std::int32_t(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                            (std::uint32_t(b[3]) << 24));
    }

private:
    std::istream &in_;
    std::vector<char> buf_;
    std::size_t pos_ = 0, len_ = 0;
};

// Inflates one member's stream, handing exactly `size` bytes to the sink (when wanted).
void inflateMember(Input &in, std::uint32_t size, MemberSink *sink, const std::string &name)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw ArchiveError("zlib cannot start");
    std::vector<char> out(kChunk);
    std::uint64_t produced = 0;
    try {
        for (;;) {
            if (!in.fill())
                throw ArchiveError("archive cut off in the data of " + name);
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data()));
            z.avail_in = uInt(in.available());
            z.next_out = reinterpret_cast<Bytef *>(out.data());
            z.avail_out = uInt(out.size());
            const int rc = inflate(&z, Z_NO_FLUSH);
            in.consume(in.available() - z.avail_in);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                throw ArchiveError("damaged data in " + name);
            const std::size_t got = out.size() - z.avail_out;
            if (produced + got > size)
                throw ArchiveError("the data of " + name + " is longer than its stated size");
            if (sink && got > 0)
                sink->data(out.data(), got);
            produced += got;
            if (rc == Z_STREAM_END)
                break;
        }
    } catch (...) {
        inflateEnd(&z);
        throw;
    }
    inflateEnd(&z);
    if (produced != size)
        throw ArchiveError("the data of " + name + " is shorter than its stated size");
}

// Writes members into a folder.
class FolderSink : public MemberSink {
public:
    FolderSink(const fs::path &folder, ExtractResult &result) : folder_(folder), result_(result) {}
    ~FolderSink() override { abandon(); }

    bool begin(const Member &member, int) override
    {
        const std::string safe = safeMemberName(member.name);
        if (safe.empty())
            throw ArchiveError("member name refused: \"" + member.name + "\"");
        // Windows replaces a file whose name differs only in case; do the same so that the
        // later of two same-named members wins.
        path_ = files::resolveCaseInsensitive(folder_ / safe);
        std::error_code ec;
        // A link in the target would lead outside it: replace the link, not its target.
        if (fs::is_symlink(fs::symlink_status(path_, ec)))
            fs::remove(path_, ec);
        files::beforeChange(path_);
        out_.open(path_, std::ios::binary | std::ios::trunc);
        if (!out_)
            throw ArchiveError("cannot create " + path_.string());
        name_ = path_.filename().string();
        return true;
    }
    void data(const char *bytes, std::size_t length) override
    {
        out_.write(bytes, std::streamsize(length));
        if (!out_)
            throw ArchiveError("cannot write " + path_.string());
    }
    void end() override
    {
        out_.close();
        if (!out_)
            throw ArchiveError("cannot write " + path_.string());
        result_.written.push_back(name_);
        path_.clear();
    }
    // A member that failed half-way is removed rather than left cut short.
    void abandon()
    {
        if (path_.empty())
            return;
        out_.close();
        std::error_code ec;
        fs::remove(path_, ec);
        path_.clear();
    }

private:
    fs::path folder_, path_;
    std::string name_;
    std::ofstream out_;
    ExtractResult &result_;
};

class CollectSink : public MemberSink {
public:
    std::vector<Member> members;
    bool begin(const Member &member, int) override
    {
        members.push_back(member);
        return false;
    }
    void data(const char *, std::size_t) override {}
    void end() override {}
};

} // namespace

int readArchive(std::istream &stream, MemberSink &sink, const Progress &progress)
{
    Input in(stream);
    const std::int32_t count = in.readInt32("the member count");
    if (count < 0)
        throw ArchiveError("negative member count");
    if (progress)
        progress(-1, count);
    for (std::int32_t i = 0; i < count; ++i) {
        if (progress)
            progress(i + 1, count);
        const std::int32_t nameLength = in.readInt32("a name length");
        if (nameLength < 0 || nameLength > kMaxNameLength)
            throw ArchiveError("member name length out of range");
        std::string raw(std::size_t(nameLength), '\0');
        in.readExact(raw.data(), raw.size(), "a member name");
        const std::int32_t size = in.readInt32("a member size");
        if (size < 0)
            throw ArchiveError("negative member size");
        Member member{text::cp1250ToUtf8(raw), std::uint32_t(size)};
        const bool wanted = sink.begin(member, int(i));
        inflateMember(in, member.size, wanted ? &sink : nullptr, member.name);
        if (wanted)
            sink.end();
    }
    return count;
}

std::vector<Member> listArchive(const fs::path &archive)
{
    std::ifstream in(archive, std::ios::binary);
    if (!in)
        throw ArchiveError("cannot open " + archive.string());
    CollectSink sink;
    readArchive(in, sink);
    return sink.members;
}

std::string safeMemberName(const std::string &storedName)
{
    std::string name = storedName;
    const auto cut = name.find_last_of("/\\");
    if (cut != std::string::npos)
        name = name.substr(cut + 1);
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
        name = name.substr(2);
    for (char &c : name)
        if (c == '\0')
            c = '_';
    if (name.empty() || name == "." || name == "..")
        return {};
    return name;
}

ExtractResult extractArchive(const fs::path &archive, const fs::path &folder, const Progress &progress)
{
    ExtractResult result;
    std::ifstream in(archive, std::ios::binary);
    if (!in) {
        result.failed = true;
        result.error = "cannot open " + archive.string();
        return result;
    }
    FolderSink sink(folder, result);
    try {
        readArchive(in, sink, progress);
    } catch (const std::exception &e) {
        sink.abandon();
        result.failed = true;
        result.error = e.what();
    }
    return result;
}

} // namespace focaris::archive
