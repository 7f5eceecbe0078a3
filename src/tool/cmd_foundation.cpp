// focaris-tool commands of the foundation: the CNP, the aid calculation and the
// recalculation of one application, the fiscal code, the paragraph letter, the password
// scrambling, month codes, text rules and the settings files. Each prints key=value lines.
#include "tool/Command.h"

#include "admin/AidParameters.h"
#include "admin/Municipality.h"
#include "admin/Password.h"
#include "applications/AidCalculation.h"
#include "applications/Cnp.h"
#include "core/Formats.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/TextRules.h"
#include "engines/common/Codepage.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

void print(const std::string &key, const std::string &value)
{
    std::printf("%s=%s\n", key.c_str(), value.c_str());
}

void print(const std::string &key, const char *value)
{
    print(key, std::string(value));
}
void print(const std::string &key, const QString &value)
{
    print(key, value.toStdString());
}
void print(const std::string &key, Amount value)
{
    print(key, value.toString());
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

int wholeNumber(const std::string &text, const char *what)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw std::runtime_error(std::string(what) + " is not a whole number: '" + text + "'");
    return value;
}

Amount amount(const std::string &text, const char *what)
{
    auto value = Amount::parse(text);
    if (!value)
        throw std::runtime_error(std::string(what) + " is not a number: '" + text + "'");
    return *value;
}

AidParameters parameters(Args &args)
{
    const std::string file = takeOption(args, "--settings");
    return file.empty() ? AidParameters{} : LoadAidParametersFrom(q(file));
}

// The inputs shared by calc and recalc.
ApplicationInput applicationInput(Args &args)
{
    ApplicationInput in;
    in.members = wholeNumber(takeOption(args, "--members", "1"), "--members");
    in.totalIncome = amount(takeOption(args, "--income", "0"), "--income");
    in.rooms = wholeNumber(takeOption(args, "--rooms", "1"), "--rooms");
    in.tariff = amount(takeOption(args, "--tariff", "0"), "--tariff");
    in.months = wholeNumber(takeOption(args, "--months", "5"), "--months");
    in.heatingAid = !takeFlag(args, "--no-heating");
    in.status = q(takeOption(args, "--status", kStatusApproved));
    return in;
}

int cnpCommand(const Args &args)
{
    expectCount(args, 1, "cnp CNP");
    const QString code = q(args[0]);
    const QDate birth = cnp::BirthDate(code);
    print("valid", cnp::IsValid(code) ? "1" : "0");
    print("birth", birth.isValid() ? FormatDate(birth) : QStringLiteral("0"));
    print("sex", cnp::Sex(code));
    return 0;
}

int calcCommand(const Args &given)
{
    Args args = given;
    const AidParameters params = parameters(args);
    const ApplicationInput in = applicationInput(args);
    expectCount(args, 0,
                "calc --members N --income X --rooms R --tariff T --months M "
                "[--no-heating] [--status APROBAT|RESPINS] [--settings FILE]");
    const ApplicationAmounts out = CalculeazaCerere(in, params);
    print("VENITM", out.venitm);
    print("CUANTUM", out.cuantum);
    print("VALMAX", out.valmax);
    print("TOTAL", out.total);
    return 0;
}

int recalcCommand(const Args &given)
{
    Args args = given;
    const AidParameters params = parameters(args);
    ApplicationInput in = applicationInput(args);
    in.status = q(takeOption(args, "--statut", in.status.toStdString()));
    in.sumaL = amount(takeOption(args, "--sumal", "0"), "--sumal");
    in.sumaG = amount(takeOption(args, "--sumag", "0"), "--sumag");
    in.sumaE = amount(takeOption(args, "--sumae", "0"), "--sumae");
    in.sumaT = amount(takeOption(args, "--sumat", "0"), "--sumat");
    expectCount(args, 0,
                "recalc --members N --income X --rooms R --tariff T --months M "
                "--statut S --sumal A --sumag A --sumae A --sumat A [--no-heating] "
                "[--settings FILE]");
    const Recalculation out = Recalculeaza(in, params);
    print("STATUT", out.status);
    print("MOTIVR", out.reason);
    print("CUANTUM", out.cuantum);
    print("SUMAL", out.sumaL);
    print("SUMAG", out.sumaG);
    print("SUMAE", out.sumaE);
    print("SUMAT", out.sumaT);
    print("VALMAX", out.valmax);
    print("TOTAL", out.total);
    return 0;
}

// The commands that answer valid=1|0 about one text.
Handler validity(const char *usage, bool (*check)(const QString &))
{
    return [usage, check](const Args &args) {
        expectCount(args, 1, usage);
        print("valid", check(q(args[0])) ? "1" : "0");
        return 0;
    };
}

int letterCommand(const Args &given)
{
    Args args = given;
    const AidParameters params = parameters(args);
    expectCount(args, 1, "letter PERCENT [--settings FILE]");
    print("letter", CompensationLetter(wholeNumber(args[0], "PERCENT"), params));
    return 0;
}

int scrambleCommand(const Args &args)
{
    expectCount(args, 1, "scramble TEXT");
    const QByteArray bytes = ScramblePasswordBytes(QByteArray::fromStdString(text::utf8ToCp1250(args[0])));
    print("hex", bytes.toHex().toStdString());
    return 0;
}

int monthCommand(const Args &given)
{
    Args args = given;
    const std::string code = takeOption(args, "--code");
    if (!code.empty()) {
        expectCount(args, 0, "month TEXT | month --code N");
        print("text", MonthText(wholeNumber(code, "--code")));
        return 0;
    }
    expectCount(args, 1, "month TEXT | month --code N");
    print("code", std::to_string(MonthCode(q(args[0]))));
    return 0;
}

int cleanCommand(const Args &args)
{
    expectCount(args, 1, "clean TEXT");
    print("text", CleanText(q(args[0])));
    return 0;
}

int settingCommand(const Args &args)
{
    const char *usage = "setting get FILE SECTION KEY | setting set FILE SECTION KEY VALUE";
    if (!args.empty() && args[0] == "get") {
        expectCount(args, 4, usage);
        print("value", ReadSettingFrom(q(args[1]), q(args[2]), q(args[3])));
        return 0;
    }
    if (!args.empty() && args[0] == "set") {
        expectCount(args, 5, usage);
        WriteSettingTo(q(args[1]), q(args[2]), q(args[3]), q(args[4]));
        return 0;
    }
    throw std::runtime_error(std::string("usage: focaris-tool ") + usage);
}

Registration rCnp("cnp", "cnp CNP", cnpCommand);
Registration rCalc("calc",
                   "calc --members N --income X --rooms R --tariff T --months M "
                   "[--no-heating] [--status APROBAT|RESPINS] [--settings FILE]",
                   calcCommand);
Registration rRecalc("recalc",
                     "recalc (calc's options) --statut S --sumal A --sumag A "
                     "--sumae A --sumat A",
                     recalcCommand);
Registration rFiscal("fiscal", "fiscal CODE", validity("fiscal CODE", CheckFiscalCode));
Registration rLetter("letter", "letter PERCENT [--settings FILE]", letterCommand);
Registration rScramble("scramble", "scramble TEXT", scrambleCommand);
Registration rMonth("month", "month TEXT | month --code N", monthCommand);
Registration rClean("clean", "clean TEXT", cleanCommand);
Registration rPhone("phone", "phone TEXT", validity("phone TEXT", CheckPhone));
Registration rEmail("email", "email TEXT", validity("email TEXT", CheckEmail));
Registration rSetting("setting", "setting get FILE SECTION KEY | setting set FILE SECTION KEY VALUE", settingCommand);

} // namespace
} // namespace focaris::tool
