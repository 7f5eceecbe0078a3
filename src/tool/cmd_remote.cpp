// focaris-tool remote: one operation of the remote copy against a backup server, for
// scripts and support work. Messages of the server are printed on standard output,
// errors on standard error (and the exit status is 1).
#include "tool/Command.h"

#include "core/Context.h"
#include "core/NullUi.h"
#include "safety/RemoteCopy.h"
#include "tool/ToolFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

using focaris::tool::Args;

const char *kUsage = "remote --server HOST:PORT --email E --password P [--place LOCALITY/COUNTY] "
                     "info | confirm CODE | put FILE NOTE | list | get ID FILE | del ID | restore ID FOLDER [--yes]";

// The person at the keyboard is the terminal: messages are printed, questions get "Nu"
// (with --yes, "Da").
class ConsoleUi : public focaris::NullUi {
public:
    bool yes = false;
    focaris::MessageResult message(const QString &title, const QString &text, focaris::MessageKind kind,
                                   focaris::MessageButtons buttons) override
    {
        const QString line = title + QStringLiteral(": ") + text.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(kind == focaris::MessageKind::Error ? stderr : stdout, "%s\n", qPrintable(line));
        if (yes && (buttons & focaris::MessageButton::Da))
            return focaris::MessageResult::Da;
        return kind == focaris::MessageKind::Confirmation || kind == focaris::MessageKind::Warning
                   ? focaris::MessageResult::Nu
                   : focaris::MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

QString csvField(const QString &text)
{
    QString t = text;
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\n')))
        return t;
    return QLatin1Char('"') + t.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

int remoteCommand(const Args &all)
{
    using namespace focaris::remote;
    Args args = all;
    const auto server = parseHostPort(QString::fromStdString(focaris::tool::takeOption(args, "--server")));
    const QString email = QString::fromStdString(focaris::tool::takeOption(args, "--email"));
    const QString password = QString::fromStdString(focaris::tool::takeOption(args, "--password"));
    const QString place = QString::fromStdString(focaris::tool::takeOption(args, "--place", "-/-"));
    const bool yes = focaris::tool::takeFlag(args, "--yes");
    if (!server || email.isEmpty() || password.isEmpty() || args.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);

    // A scratch program folder: the exchange's files live in its Temp folder. A restore
    // works on the data folder it is given, in the program's folders (ToolFolders.h).
    QTemporaryDir scratch{focaris::tool::scratchTemplate()};
    std::unique_ptr<QTemporaryDir> toolTemp;
    if (args[0] == "restore") {
        focaris::tool::expectCount(Args(args.begin() + 1, args.end()), 2, "remote ... restore ID FOLDER [--yes]");
        focaris::tool::UseToolFolders(args[2], toolTemp);
    } else {
        focaris::InitContext(scratch.path());
        QDir().mkpath(focaris::TempFolder());
    }

    ConsoleUi ui;
    ui.yes = yes;
    RemoteCopy rc(ui);
    rc.server = server;
    rc.email = email;
    rc.password = password;
    rc.place = place;
    const std::string verb = args[0];
    const Args rest(args.begin() + 1, args.end());
    auto login = [&] {
        const auto state = rc.login();
        if (state == RemoteCopy::Login::Failed || state == RemoteCopy::Login::WrongPassword)
            throw std::runtime_error("login failed");
        return state;
    };
    if (verb == "info") {
        focaris::tool::expectCount(rest, 0, "remote ... info");
        std::printf("%s\n", login() == RemoteCopy::Login::Ready ? "account confirmed" : "confirmation code needed");
        return 0;
    }
    if (verb == "confirm") {
        focaris::tool::expectCount(rest, 1, "remote ... confirm CODE");
        const auto state = rc.confirm(QString::fromStdString(rest[0]));
        if (state != RemoteCopy::Login::Ready)
            throw std::runtime_error("the code was not accepted");
        std::printf("account confirmed\n");
        return 0;
    }
    if (verb == "put") {
        focaris::tool::expectCount(rest, 2, "remote ... put FILE NOTE");
        if (!QFile::exists(QString::fromStdString(rest[0])))
            throw std::runtime_error("no such file: " + rest[0]);
        if (!rc.sendArchive(QString::fromStdString(rest[0]), QString::fromStdString(rest[1]).left(120)))
            throw std::runtime_error("the copy was not sent");
        return 0;
    }
    if (verb == "list") {
        focaris::tool::expectCount(rest, 0, "remote ... list");
        const auto copies = rc.listCopies();
        if (!copies)
            throw std::runtime_error("the list could not be fetched");
        std::printf("IDSTOC,Data,Ora,Observatii\n");
        for (const auto &c : *copies)
            std::printf("%s,%s,%s,%s\n", qPrintable(c.id), qPrintable(c.when.toString(QStringLiteral("dd.MM.yyyy"))),
                        qPrintable(c.when.toString(QStringLiteral("HH:mm:ss"))), qPrintable(csvField(c.note)));
        return 0;
    }
    if (verb == "get") {
        focaris::tool::expectCount(rest, 2, "remote ... get ID FILE");
        const QString got = rc.fetchCopy(QString::fromStdString(rest[0]));
        if (got.isEmpty())
            throw std::runtime_error("copy " + rest[0] + " was not received");
        const QString target = QString::fromStdString(rest[1]);
        QFile::remove(target);
        if (!QFile::rename(got, target) && !QFile::copy(got, target))
            throw std::runtime_error("cannot write " + rest[1]);
        return 0;
    }
    if (verb == "restore") {
        // The button "Incarca datele in program": the question, the copy brought back and
        // the data folder replaced by it as a restore from a file does.
        if (!rc.restoreAsked(QString::fromStdString(rest[0])))
            throw std::runtime_error("copy " + rest[0] + " was not restored");
        return 0;
    }
    if (verb == "del") {
        focaris::tool::expectCount(rest, 1, "remote ... del ID");
        if (!rc.deleteCopy(QString::fromStdString(rest[0])))
            throw std::runtime_error("the copy was not deleted");
        return 0;
    }
    throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
}

focaris::tool::Registration r("remote", kUsage, remoteCommand);

} // namespace
