// The RTF template engine; see RTFReplace.h for the calling order.
#include "engines/rtf/RTFReplace.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileInUse.h"
#include "engines/rtf/TemplateReader.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace focaris::rtf {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPard = "\\pard";
constexpr std::string_view kEmptyValue = "..........";
constexpr std::string_view kLineEnd = "\r\n";

// Blanks and control characters are trimmed from both ends, as the header line and the
// body's last line need.
std::string trimmed(const std::string &s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// Every brace byte counts, escaped or not: the engine does not parse RTF.
long braceBalance(const std::string &line)
{
    long n = 0;
    for (char c : line)
        n += (c == '{') - (c == '}');
    return n;
}

bool hasLowerAsciiLetter(std::string_view s)
{
    for (char c : s)
        if (c >= 'a' && c <= 'z')
            return true;
    return false;
}

} // namespace

std::string escapeRtfValue(std::string_view cp1250)
{
    std::string out;
    out.reserve(cp1250.size());
    for (char c : cp1250) {
        switch (static_cast<unsigned char>(c)) {
        case '{': out += '('; break;
        case '}': out += ')'; break;
        // A backslash would start a control word: "\\" prints one backslash.
        case '\\': out += "\\\\"; break;
        case 0xAA: out += "\\'aa"; break;
        case 0xDE: out += "\\'de"; break;
        default: out += c;
        }
    }
    return out;
}

std::string escapeRtfValueUnicode(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = text::nextCodePoint(utf8, i);
        if (cp < 0x80) {
            if (cp == '\\')
                out += "\\\\";
            else
                out += cp == '{' ? '(' : cp == '}' ? ')' : char(cp);
            continue;
        }
        // The comma-below letters become the cedilla letters, as in the Windows-1250 form.
        switch (cp) {
        case 0x218: cp = 0x15E; break;
        case 0x219: cp = 0x15F; break;
        case 0x21A: cp = 0x162; break;
        case 0x21B: cp = 0x163; break;
        default: break;
        }
        std::string one;
        text::appendUtf8(one, cp);
        const unsigned char fallback = static_cast<unsigned char>(text::utf8ToCp1250(one)[0]);
        static const char hex[] = "0123456789abcdef";
        std::string fallbackText = "\\'";
        fallbackText += hex[fallback >> 4];
        fallbackText += hex[fallback & 15];
        // \uN takes a signed 16-bit number; characters beyond it go as a surrogate pair.
        // The group with \uc1 makes exactly one fallback character follow each \uN,
        // whatever the template set around the placeholder.
        out += "{\\uc1";
        auto unit = [&](long u) { out += "\\u" + std::to_string(u > 0x7FFF ? u - 0x10000 : u) + fallbackText; };
        if (cp > 0xFFFF) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(long(cp));
        }
        out += '}';
    }
    return out;
}

// The output document opened for one operation: lines end with CR LF, write errors throw,
// the file is closed when the operation ends.
class TRTFReplace::Output {
public:
    Output(const std::string &path, std::ios::openmode mode) : path_(path)
    {
        out_.open(path, std::ios::out | std::ios::binary | mode);
    }
    bool isOpen() const { return out_.is_open(); }
    // For appending operations: the output must exist already (BeginDocument made it).
    void requireOpen() const
    {
        if (!out_.is_open())
            throw std::runtime_error("cannot open " + path_ + " for writing");
    }
    void line(std::string_view text)
    {
        out_.write(text.data(), std::streamsize(text.size()));
        out_.write(kLineEnd.data(), std::streamsize(kLineEnd.size()));
        if (!out_)
            throw std::runtime_error("cannot write " + path_);
    }
    void close()
    {
        out_.close();
        if (out_.fail())
            throw std::runtime_error("cannot write " + path_);
    }

private:
    std::string path_;
    std::ofstream out_;
};

namespace {

// Opens the template and reads up to its first "\pard"; returns false when the template
// has none. `line` receives that line from "\pard" on.
bool skipToBody(TemplateReader &in, const std::string &path, std::string &line)
{
    if (!in.open(path))
        throw std::runtime_error("cannot read " + path);
    while (!in.atEnd()) {
        line = in.readLine();
        std::size_t p = line.find(kPard);
        if (p != std::string::npos) {
            line.erase(0, p);
            return true;
        }
    }
    return false;
}

// Writing the output into the template itself would destroy the template (and reading
// what is being appended would never end).
bool sameFile(const std::string &a, const std::string &b)
{
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

void requireDistinct(const std::string &source, const std::string &dest)
{
    if (sameFile(source, dest))
        throw std::runtime_error("the output " + dest + " is the template itself");
}

} // namespace

bool TRTFReplace::PickFreeDest(const std::string &base)
{
    for (int n = 0; n < 100; ++n) {
        std::string candidate = base + std::to_string(n) + ".rtf";
        if (files::deleteUnlessInUse(candidate)) {
            RTFDest = candidate;
            return true;
        }
    }
    return false;
}

bool TRTFReplace::BeginDocument()
{
    clearQueue();
    std::error_code ec;
    if (RTFSursa.empty() || !fs::is_regular_file(RTFSursa, ec) || sameFile(RTFSursa, RTFDest))
        return false;
    bool ok = false;
    {
        Output out(RTFDest, std::ios::trunc);
        if (!out.isOpen())
            return false;
        TemplateReader in;
        if (in.open(RTFSursa)) {
            try {
                std::string header;
                while (!in.atEnd()) {
                    std::string line = in.readLine();
                    std::size_t p = line.find(kPard);
                    header += line.substr(0, p);
                    if (p == std::string::npos) {
                        out.line(line);
                        continue;
                    }
                    // Values go in as Windows-1250 bytes only where the template says that
                    // is its code page; elsewhere (templates saved by LibreOffice on
                    // Linux declare 1252) they go as Unicode characters.
                    unicodeValues_ = header.find("\\ansicpg1250") == std::string::npos;
                    std::string head = trimmed(line.substr(0, p));
                    if (!head.empty())
                        out.line(head);
                    out.close();
                    ok = true;
                    break;
                }
            } catch (const std::exception &) {
                ok = false;
            }
        }
    }
    // An unusable template (unreadable, empty, without "\pard") or a failed write leaves
    // no half-made document behind.
    if (!ok)
        fs::remove(RTFDest, ec);
    return ok;
}

void TRTFReplace::AddValue(std::string_view key, std::string_view value)
{
    keys_.emplace_back(key);
    values_.emplace_back(value);
    index_.valid = false;
}

std::string TRTFReplace::encodeValue(const std::string &utf8) const
{
    return unicodeValues_ ? escapeRtfValueUnicode(utf8) : escapeRtfValue(text::utf8ToCp1250(utf8));
}

void TRTFReplace::clearQueue()
{
    keys_.clear();
    values_.clear();
    repeatCursor_ = -1;
    index_.valid = false;
}

const TRTFReplace::QueueIndex &TRTFReplace::queueIndex()
{
    if (index_.valid)
        return index_;
    const std::size_t n = keys_.size();
    index_.upperKeys.assign(n, std::string());
    index_.runEnd.assign(n, 0);
    index_.queuedBefore.assign(n, false);
    index_.allBracketed = true;
    for (std::size_t j = 0; j < n; ++j) {
        index_.upperKeys[j] = text::asciiUpper(keys_[j]);
        index_.allBracketed = index_.allBracketed && !keys_[j].empty() && keys_[j].front() == '[';
    }
    for (std::size_t j = 0; j < n;) {
        std::size_t end = j + 1;
        while (end < n && index_.upperKeys[end] == index_.upperKeys[j])
            ++end;
        bool before = false;
        for (std::size_t k = 0; k < j && !before; ++k)
            before = index_.upperKeys[k] == index_.upperKeys[j];
        for (std::size_t k = j; k < end; ++k) {
            index_.runEnd[k] = end;
            index_.queuedBefore[k] = before;
        }
        j = end;
    }
    index_.valid = true;
    return index_;
}

std::string TRTFReplace::replaceOnce(const std::string &line)
{
    const std::size_t n = keys_.size();
    const QueueIndex &index = queueIndex();
    // Cheap exit for the common case of bracketed keys and a line without any bracket.
    if (n == 0 || (index.allBracketed && line.find('[') == std::string::npos)) {
        repeatCursor_ = -1;
        return line;
    }
    const std::vector<std::string> &upperKeys = index.upperKeys;

    std::string out = line;
    std::string upper = text::asciiUpper(line);
    bool anyFound = false;
    bool cursorUsed = false;
    bool runFinished = false;

    for (std::size_t j = 0; j < n;) {
        // Entries j..runEnd-1 hold the same key (a run when more than one).
        const std::size_t runEnd = index.runEnd[j];
        const std::string &key = upperKeys[j];
        if (index.queuedBefore[j] || key.empty()) {
            j = runEnd;
            continue;
        }
        std::size_t pos = upper.find(key);
        if (pos != std::string::npos) {
            anyFound = true;
            // One run at a time drives the line repetition: the one holding the cursor,
            // or the first run found in the line.
            bool drives = false;
            if (runEnd - j > 1) {
                if (repeatCursor_ < 0 && !cursorUsed)
                    repeatCursor_ = int(j);
                drives = repeatCursor_ >= int(j) && repeatCursor_ < int(runEnd);
            }
            while (pos != std::string::npos) {
                std::string value;
                if (drives) {
                    cursorUsed = true;
                    value = values_[std::size_t(repeatCursor_)];
                    if (repeatCursor_ + 1 < int(runEnd))
                        ++repeatCursor_;
                    else
                        runFinished = true;
                } else {
                    value = values_[j];
                }
                std::string_view written = std::string_view(out).substr(pos, key.size());
                if (written.size() > 4 && !hasLowerAsciiLetter(written))
                    value = text::upperCase(value);
                value = encodeValue(value);
                if (value.empty())
                    value = kEmptyValue;
                out.replace(pos, key.size(), value);
                upper.replace(pos, key.size(), text::asciiUpper(value));
                pos = upper.find(key, pos + value.size());
            }
        }
        j = runEnd;
    }
    if (!anyFound || !cursorUsed || runFinished)
        repeatCursor_ = -1;
    return out;
}

void TRTFReplace::writeReplaced(Output &out, const std::string &line)
{
    do
        out.line(replaceOnce(line));
    while (repeatCursor_ >= 0);
}

void TRTFReplace::EmitBody(int copies)
{
    QueueReset reset{this};

    requireDistinct(RTFSursa, RTFDest);
    Output out(RTFDest, std::ios::app);
    out.requireOpen();
    for (int copy = 1; copy <= copies; ++copy) {
        TemplateReader in;
        std::string line;
        if (!skipToBody(in, RTFSursa, line))
            break;
        if (copy > 1)
            out.line("\\page");
        long depth = 1 + braceBalance(line);
        while (!in.atEnd() && depth != 0) {
            if (!line.empty())
                writeReplaced(out, line);
            line = in.readLine();
            depth += braceBalance(line);
        }
        // The last line read ends with the document's closing brace, which EndDocument
        // writes once for the whole document.
        std::string last = trimmed(line);
        if (!last.empty())
            last.pop_back();
        if (!last.empty()) {
            out.line(replaceOnce(last));
            repeatCursor_ = -1;
        }
    }
    out.close();
}

void TRTFReplace::EmitBodyUntil(const std::string &marker)
{
    QueueReset reset{this};

    requireDistinct(RTFSursa, RTFDest);
    Output out(RTFDest, std::ios::app);
    out.requireOpen();
    TemplateReader in;
    std::string line;
    if (skipToBody(in, RTFSursa, line)) {
        while (!in.atEnd()) {
            if (!line.empty())
                writeReplaced(out, line);
            line = in.readLine();
            std::size_t p = line.find(marker);
            if (p != std::string::npos) {
                line.erase(p, marker.size());
                out.line(line);
                while (!in.atEnd())
                    out.line(in.readLine());
                break;
            }
        }
    }
    out.close();
}

void TRTFReplace::PageBreak()
{
    QueueReset reset{this};
    Output out(RTFDest, std::ios::app);
    out.requireOpen();
    out.line("\\par \\page");
    out.close();
}

void TRTFReplace::EndDocument()
{
    QueueReset reset{this};
    Output out(RTFDest, std::ios::app);
    out.requireOpen();
    out.line("}");
    out.close();
}

bool TRTFReplace::OpenResult(const std::function<bool(const std::string &)> &open) const
{
    std::error_code ec;
    fs::path dest(RTFDest);
    if (RTFDest.empty() || !dest.has_parent_path() || !fs::is_regular_file(dest, ec) || !open)
        return false;
    return open(RTFDest);
}

} // namespace focaris::rtf
