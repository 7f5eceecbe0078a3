// Fuzz target: the text part of the remote copy's reply and command files, and the
// server address texts.
#include "safety/RemoteFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace focaris::remote;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReplyLines r = parseLines(bytes);
    if (r.headerLength < 0 || r.headerLength > bytes.size())
        std::abort();
    for (const auto &a : r.attachments)
        if (a.size < 0)
            std::abort();
    parseAddressFile(bytes);
    parseHostPort(QString::fromLatin1(bytes));
    decodeAccount(QString::fromLatin1(bytes));
    return 0;
}
