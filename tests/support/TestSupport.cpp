// Implementation of the shared test helpers.
#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>

namespace focaris::test {

TempDir::TempDir()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

std::string readFile(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void writeFile(const std::filesystem::path &file, const std::string &bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::filesystem::path dataDir()
{
    const char *d = std::getenv("FOCARIS_TEST_DATA");
    return d ? std::filesystem::path(d) : std::filesystem::path("tests/data");
}

std::string toolPath()
{
    const char *t = std::getenv("FOCARIS_TOOL");
    return t ? t : "focaris-tool";
}

std::string shellQuote(const std::string &text)
{
    std::string q = "'";
    for (char c : text) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

int run(const std::string &command, std::string *out, bool mergeErr)
{
    std::string cmd = command + (mergeErr ? " 2>&1" : "");
    FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    std::string text;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    int status = pclose(p);
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

qint64 FailingDevice::writeData(const char *data, qint64 len)
{
    qint64 room = limit_ - written.size();
    if (room <= 0)
        return -1;
    qint64 n = std::min(room, len);
    written.append(data, n);
    return n;
}

} // namespace focaris::test
