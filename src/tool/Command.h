// The commands of focaris-tool. Each area of the program adds its commands from its own
// file (cmd_<area>.cpp) with a static Registration, so that areas grow independently.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace focaris::tool {

// Arguments after the command word. A command prints its results to standard output and
// returns the exit status; errors are thrown as std::exception and reported by main on
// standard error with status 1.
using Args = std::vector<std::string>;
using Handler = std::function<int(const Args &)>;

// `name` is one word ("dbf") or two ("report ajpis"): a two-word command is found before a
// one-word command of the same first word.
struct Registration {
    Registration(const char *name, const char *usage, Handler handler);
};

// Small helpers shared by the commands.
// Value of "--name VALUE" in args (removed from args), or def when absent.
std::string takeOption(Args &args, const std::string &name, const std::string &def = {});
// Presence of the flag "--name" in args (removed from args).
bool takeFlag(Args &args, const std::string &name);
// Throws a usage error unless args has exactly n items.
void expectCount(const Args &args, std::size_t n, const char *usage);

// The name pattern of a command's scratch folder in the system's temporary folder,
// "focaris-tool-PID-XXXXXX" (for QTemporaryDir): the process number lets a later run
// recognise the folders of a run that was killed, and remove them.
QString scratchTemplate();
// Removes the scratch folders of runs whose process no longer exists.
void removeDeadScratch();

} // namespace focaris::tool
