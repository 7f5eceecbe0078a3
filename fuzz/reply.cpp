// Fuzz target: the text part of the remote copy's reply and command files, the names of
// their attachments, typed texts made one line, and the server address texts.
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
    for (const auto &a : r.attachments) {
        if (a.size < 0)
            std::abort();
        // A name taken as a plain file name can never lead out of the folder.
        if (PlainFileName(a.name) &&
            (a.name.contains(QLatin1Char('/')) || a.name.contains(QLatin1Char('\\')) || a.name == QStringLiteral("..")))
            std::abort();
    }
    // No text made one line can hold a line break.
    const QString line = OneLine(QString::fromLatin1(bytes));
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
        std::abort();
    parseAddressFile(bytes);
    parseHostPort(QString::fromLatin1(bytes));
    decodeAccount(QString::fromLatin1(bytes));
    return 0;
}
