// Fuzz target of the RTF template engine. The input is one byte of options (bit 0: fill up
// to a marker instead of whole bodies; bits 1-2: number of body copies less one) followed
// by fields separated by 0x01: the template, the marker, then keys and values in turn.
// Every document must be made without crash or endless loop and must end with the
// closing line "}".
#include "engines/rtf/RTFReplace.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// A scratch folder for the run, removed at exit (kept in a never-destroyed string so
// that the exit handler can still read its name).
const std::string &workFolder()
{
    static const std::string *folder = nullptr;
    if (!folder) {
        char name[] = "/tmp/focaris-fuzz-rtf-XXXXXX";
        if (!::mkdtemp(name))
            std::abort();
        folder = new std::string(name);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(workFolder(), ec);
        });
    }
    return *folder;
}

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const unsigned options = data[0];
    std::vector<std::string> fields(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0x01)
            fields.emplace_back();
        else
            fields.back() += char(data[i]);
    }
    fields.resize(std::max<size_t>(fields.size(), 2));

    const std::string tpl = workFolder() + "/model.rtf";
    {
        std::ofstream out(tpl, std::ios::binary | std::ios::trunc);
        out << fields[0];
    }
    focaris::rtf::TRTFReplace engine;
    engine.RTFSursa = tpl;
    engine.RTFDest = workFolder() + "/out.rtf";
    if (!engine.BeginDocument())
        return 0;
    for (int record = 0; record < 2; ++record) {
        for (size_t i = 2; i + 1 < fields.size(); i += 2)
            engine.AddValue(fields[i], fields[i + 1]);
        if (options & 1) {
            engine.EmitBodyUntil(fields[1]);
            break;
        }
        engine.EmitBody(int((options >> 1) & 3) + 1);
        if (record == 0)
            engine.PageBreak();
    }
    engine.EndDocument();
    const std::string doc = readAll(engine.RTFDest);
    if (doc.size() < 3 || doc.compare(doc.size() - 3, 3, "}\r\n") != 0)
        std::abort();
    return 0;
}
