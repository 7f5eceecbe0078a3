#include "XlsTestSupport.h"

#include "TestSupport.h"

#include <algorithm>

namespace focaris::xls::test {

std::filesystem::path goodWorkbook(const std::string &name)
{
    return focaris::test::dataDir() / "good" / "xls" / name;
}

std::vector<std::filesystem::path> workbooksIn(const std::filesystem::path &folder)
{
    std::vector<std::filesystem::path> out;
    for (const auto &e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() == ".xls")
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

int runPython(const std::string &script, const std::vector<std::string> &args, std::string *out)
{
    // Beside the test data (not __FILE__, which may be relative to the build folder).
    const std::filesystem::path dir = focaris::test::dataDir().parent_path() / "xls";
    // The Debian interpreter, where python3-xlrd is installed.
    const std::string python = std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    std::string cmd = python + " " + focaris::test::shellQuote((dir / script).string());
    for (const auto &a : args)
        cmd += " " + focaris::test::shellQuote(a);
    return focaris::test::run(cmd, out, true);
}

} // namespace focaris::xls::test
