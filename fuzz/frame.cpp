// Fuzz target: the frame parser of the message transport, fed the input in pieces whose
// sizes come from the input itself, and the login strings inside the payloads.
#include "engines/transport/Frame.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace focaris::transport;
    if (size == 0)
        return 0;
    const char *bytes = reinterpret_cast<const char *>(data);
    const std::size_t step = 1 + data[0] % 17;
    FrameParser parser;
    qsizetype seen = 0;
    for (std::size_t pos = 1; pos < size; pos += step) {
        const std::size_t n = std::min(step, size - pos);
        parser.feed(bytes + pos, qsizetype(n));
        while (auto frame = parser.next()) {
            seen += 8 + frame->payload.size();
            if (seen > qsizetype(size))
                std::abort();
            qsizetype at = 0;
            while (auto s = deserializeString(frame->payload, at))
                if (at > frame->payload.size())
                    std::abort();
        }
        if (parser.failed())
            break;
    }
    return 0;
}
