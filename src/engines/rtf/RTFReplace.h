// The RTF template engine: turns an RTF template into a finished document by copying the
// template's header once, then its body once per record with the placeholders ("[NUME]")
// replaced, with page breaks between records, and a closing "}". It understands only
// three things of RTF: the first "\pard" separates header from body, braces nest, and the
// body ends with the document's closing brace; everything else is copied byte for byte.
//
// Usage for a multi-record document: set RTFSursa and RTFDest (or PickFreeDest), then
// BeginDocument; per record AddValue for every placeholder, EmitBody(1) and PageBreak
// between records; EndDocument; OpenResult. The output file is closed after every call,
// so nothing is held open between records.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::rtf {

class TRTFReplace {
public:
    // Full path of the template (only read) and of the output document.
    std::string RTFSursa;
    std::string RTFDest;

    // Sets RTFDest to base + n + ".rtf" for the first n in 0..99 whose file is absent or
    // could be deleted (a file open in another program is skipped). False, with RTFDest
    // unchanged, when all 100 names are taken.
    bool PickFreeDest(const std::string &base);

    // Creates RTFDest (overwriting) and writes the template's header into it. False when
    // the template is missing, unreadable, empty or has no "\pard", or the output cannot
    // be created; in the last three cases no output file is left behind.
    bool BeginDocument();

    // Queues a placeholder and its value (UTF-8) for the next body. In the document the
    // value is written in Windows-1250 (comma-below letters as cedilla letters) with "{",
    // "}" made "(", ")" and the capital S and T with cedilla written as "\'aa" and
    // "\'de". A template whose header does not declare that code page ("\ansicpg1250",
    // as LibreOffice on Linux saves them) gets its non-ASCII letters as RTF Unicode
    // characters instead, so that they show right whatever the template's fonts.
    void AddValue(std::string_view key, std::string_view value);

    // Appends the body `copies` times (a line "\page" between copies) with the queued
    // values in place, then empties the queue. Read and write errors throw
    // std::runtime_error; what was written so far stays in the file.
    void EmitBody(int copies = 1);

    // Appends the body with the values in place up to the line that holds `marker`; that
    // line (without the marker) and the rest of the template are copied unchanged. The
    // queue is emptied, also when an error is thrown.
    void EmitBodyUntil(const std::string &marker);

    // Append the lines "\par \page" and "}".
    void PageBreak();
    void EndDocument();

    // Hands RTFDest to `open` (the desktop's "open" action) when it names an existing file
    // with a folder part. Returns what `open` returned, false when nothing was opened.
    bool OpenResult(const std::function<bool(const std::string &)> &open) const;

    // The queued keys and their values as given, for inspection.
    const std::vector<std::string> &keys() const { return keys_; }
    const std::vector<std::string> &values() const { return values_; }

private:
    class Output;
    // Empties the queue when a writing operation ends, also by an error.
    struct QueueReset {
        TRTFReplace *self;
        ~QueueReset() { self->clearQueue(); }
    };
    void clearQueue();
    // Writes one template line with the values in place, as many times as a run of
    // repeated keys requires.
    void writeReplaced(Output &out, const std::string &line);
    // One copy of a line with the values in place; advances the repeat cursor.
    std::string replaceOnce(const std::string &line);
    // What replacing needs to know about the queue, computed once per queue: the keys in
    // capitals, where each run of equal keys ends, and which keys were queued before
    // (a later entry of such a key is never used).
    struct QueueIndex {
        bool valid = false;
        bool allBracketed = true;
        std::vector<std::string> upperKeys;
        std::vector<std::size_t> runEnd;
        std::vector<bool> queuedBefore;
    };
    const QueueIndex &queueIndex();
    // A value as it goes into the document (see AddValue).
    std::string encodeValue(const std::string &utf8) const;

    std::vector<std::string> keys_;
    std::vector<std::string> values_;
    int repeatCursor_ = -1;
    QueueIndex index_;
    // Set by BeginDocument from the template's header.
    bool unicodeValues_ = false;
};

// The two forms of a value in the document (see AddValue): Windows-1250 bytes escaped,
// and UTF-8 text with the non-ASCII characters as "{\uc1\uN\'xx}" (the Windows-1250
// byte as the fallback for readers without Unicode).
std::string escapeRtfValue(std::string_view cp1250);
std::string escapeRtfValueUnicode(std::string_view utf8);

} // namespace focaris::rtf
