// focaris-tool: the program's engines and operations from a shell, for scripts, tests and
// support work. `focaris-tool help` lists the commands.
#include "tool/Command.h"
#include "tool/ToolMonths.h"

#include "shell/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <signal.h>
#include <stdexcept>
#include <unistd.h>

namespace focaris::tool {
namespace {

struct Entry {
    std::string usage;
    Handler handler;
};

std::map<std::string, Entry> &registry()
{
    static std::map<std::string, Entry> commands;
    return commands;
}

} // namespace

Registration::Registration(const char *name, const char *usage, Handler handler)
{
    registry()[name] = Entry{usage, std::move(handler)};
}

std::string takeOption(Args &args, const std::string &name, const std::string &def)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size())
                throw std::runtime_error("option " + name + " needs a value");
            std::string value = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return value;
        }
    }
    return def;
}

bool takeFlag(Args &args, const std::string &name)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + long(i));
            return true;
        }
    }
    return false;
}

void expectCount(const Args &args, std::size_t n, const char *usage)
{
    if (args.size() != n)
        throw std::runtime_error(std::string("usage: focaris-tool ") + usage);
}

QString scratchTemplate()
{
    return QDir::tempPath() + QStringLiteral("/focaris-tool-") + QString::number(::getpid()) +
           QStringLiteral("-XXXXXX");
}

void removeDeadScratch()
{
    static const QRegularExpression name(QStringLiteral("^focaris-tool-(\\d+)-[A-Za-z0-9]{6}$"));
    QDir temp(QDir::tempPath());
    for (const QString &entry : temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const auto m = name.match(entry);
        if (!m.hasMatch())
            continue;
        const pid_t pid = pid_t(m.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QDir(temp.filePath(entry)).removeRecursively();
    }
}

} // namespace focaris::tool

int main(int argc, char **argv)
{
    using namespace focaris::tool;
    QCoreApplication app(argc, argv);
    std::ios::sync_with_stdio(true);
    auto &commands = registry();
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("focaris-tool %s\n", focaris::shell::kVersionText);
        return 0;
    }
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        std::puts("usage: focaris-tool COMMAND [ARGS...]");
        for (const auto &[name, entry] : commands)
            std::printf("  %s\n", entry.usage.c_str());
        std::puts("A command given a data FOLDER works in the program folder as the program does:\n"
                  "FOCARIS_HOME when it is set, otherwise the folder above FOLDER. \"DataBAK\",\n"
                  "\"Motive.lst\" and the temporary folder Temp are in the program folder, the local\n"
                  "data folder is ProgramFolder/Data, and saves and exports into Data or Temp are\n"
                  "refused as in the program.");
        return argc < 2 ? 1 : 0;
    }
    // A command may be two words ("report ajpis"), so that several areas can share a verb;
    // the two-word name is looked up first.
    int consumed = 2;
    auto it = commands.end();
    if (argc >= 3) {
        it = commands.find(std::string(argv[1]) + " " + argv[2]);
        if (it != commands.end())
            consumed = 3;
    }
    if (it == commands.end())
        it = commands.find(argv[1]);
    if (it == commands.end()) {
        std::fprintf(stderr, "focaris-tool: unknown command '%s' (see focaris-tool help)\n", argv[1]);
        return 1;
    }
    Args args(argv + consumed, argv + argc);
    removeDeadScratch();
    try {
        int rc = it->second.handler(args);
        std::fflush(stdout);
        return rc;
    } catch (const Refusal &r) {
        std::fflush(stdout);
        std::fprintf(stderr, "refused: %s: %s\n", r.field.c_str(), r.what());
        return 1;
    } catch (const std::exception &e) {
        std::fflush(stdout);
        std::fprintf(stderr, "focaris-tool: %s\n", e.what());
        return 1;
    }
}
