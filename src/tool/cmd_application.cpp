// focaris-tool application / member: the application editor from a shell, through the
// same operation the window calls.
//   application add FOLDER --from FILE.json [--yes] [--lookup] [--month MM.YYYY]
//   application modify FOLDER NRCRT --from FILE.json [--yes] [--month MM.YYYY]
//   application lookup FOLDER CNP          the fields the look-up fills, its hint, the members
//   application show FOLDER NRCRT          the fields as modify mode loads them (JSON)
//   application delete FOLDER NRCRT [--yes]
//   member add FOLDER NRCRT --from M.json [--month MM.YYYY]
//   member modify FOLDER NRCRT NROM --from M.json [--month MM.YYYY]
//   member delete FOLDER NRCRT NROM [--yes]
// Questions are answered "&Da" with --yes and "&Nu" without; a refused field prints
// "refused: FIELD: MESSAGE" on standard error and the exit status is 1 with nothing stored.
#include "tool/Command.h"
#include "tool/ToolMonths.h"

#include "applications/ApplicationEditor.h"
#include "applications/ApplicationStore.h"
#include "applications/EditorJson.h"
#include "core/Context.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace focaris::tool {
namespace {

// Messages become "TITLE: TEXT" lines; questions get the answer of --yes.
class ToolUi : public NullUi {
public:
    explicit ToolUi(bool yes) : yes_(yes) {}
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        QString t = text;
        t.replace('\r', ' ').replace('\n', ' ');
        std::fprintf(kind == MessageKind::Information ? stdout : stderr, "%s: %s\n", qPrintable(title),
                     qPrintable(t.trimmed()));
        if (buttons & MessageButton::Da)
            return yes_ ? MessageResult::Da : MessageResult::Nu;
        return buttons & MessageButton::OK ? MessageResult::OK : MessageResult::Renunt;
    }

private:
    bool yes_;
};

// The working context of one command: the data folder, a scratch program folder (the
// temporary members table lives there) unless --program names one, the working month.
struct Session {
    QTemporaryDir scratch{scratchTemplate()};
    Session(Args &args)
    {
        const std::string program = takeOption(args, "--program");
        const std::string month = takeOption(args, "--month");
        InitContext(program.empty() ? scratch.path() : QString::fromStdString(program));
        QDir().mkpath(TempFolder());
        if (args.empty())
            throw std::runtime_error("missing FOLDER");
        const QString folder = QDir(QString::fromStdString(args[0])).absolutePath();
        if (!QDir(folder).exists())
            throw std::runtime_error("folder does not exist: " + args[0]);
        Context().dataFolder = folder;
        args.erase(args.begin());
        SetWorkingMonth(month.empty() ? ReadSetting("VARIABILE", "LUNA_LUCRU") : QString::fromStdString(month));
        if (!month.empty())
            ListedMonthCode(month);
    }
};

qint64 number(const std::string &text, const char *what)
{
    bool ok = false;
    const qint64 n = QString::fromStdString(text).toLongLong(&ok);
    if (!ok)
        throw std::runtime_error(std::string(what) + " must be a whole number");
    return n;
}

QJsonObject readJson(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isObject())
        throw std::runtime_error(path + ": not a JSON object (" + error.errorString().toStdString() + ")");
    return doc.object();
}

void printJson(const QJsonObject &o)
{
    std::printf("%s", QJsonDocument(o).toJson(QJsonDocument::Indented).constData());
}

int refused(const EditorRefusal &r)
{
    std::fprintf(stderr, "refused: %s: %s\n", qPrintable(r.field), qPrintable(r.message));
    return 1;
}

// Puts the JSON's fields into the editor in the window's order, running the reactions a
// person typing them would cause (the holder follows the applicant, the tariff follows
// the supplier, the boxes set their amounts).
EditorRefusal applyFields(ApplicationEditor &editor, const QJsonObject &json, bool lookup)
{
    ApplicationFields wanted = editor.fields();
    QStringList given;
    EditorRefusal r = FieldsFromJson(json, wanted, given);
    if (r.refused())
        return r;
    ApplicationFields &f = editor.fields();
    if (given.contains("NewNo"))
        f.NewNo = wanted.NewNo;
    if (given.contains("Actualizare"))
        f.Actualizare = wanted.Actualizare;
    if (given.contains("DataCereD"))
        f.DataCereD = wanted.DataCereD;
    if (given.contains("CNPSol") && wanted.CNPSol != f.CNPSol) {
        if (lookup) {
            const ApplicationEditor::Lookup found = editor.cnpChanged(wanted.CNPSol);
            if (found.found)
                std::printf("hint=%s\n", qPrintable(found.hint));
        } else {
            f.CNPSol = wanted.CNPSol;
            f.CNPT = wanted.CNPSol;
        }
    }
    if (given.contains("SubSemn") && wanted.SubSemn != f.SubSemn)
        editor.applicantChanged(wanted.SubSemn);
    if (given.contains("Furnizor") && wanted.Furnizor != f.Furnizor)
        editor.supplierChanged(wanted.Furnizor);
    if (given.contains("StatutD") && wanted.StatutD != f.StatutD)
        editor.statusChanged(wanted.StatutD);
    if (given.contains("SupL") && wanted.SupL != f.SupL)
        editor.setSupL(wanted.SupL);
    if (given.contains("SupT") && wanted.SupT != f.SupT)
        editor.setSupT(wanted.SupT);
    // Every other field given takes its value as typed.
    for (const QString &name : given) {
        if (QStringList{"CNPSol", "SubSemn", "Furnizor", "StatutD", "SupL", "SupT", "NewNo", "Actualizare", "DataCereD"}
                .contains(name))
            continue;
        QJsonObject one{{name, json.value(name)}};
        QStringList ignored;
        FieldsFromJson(one, f, ignored);
    }
    return {};
}

EditorRefusal applySupplement(ApplicationEditor &editor, const QJsonObject &json, const char *key, SupplementKind kind,
                              bool &stop)
{
    if (!json.contains(key))
        return {};
    const QJsonValue v = json.value(key);
    const SupplementData held = editor.supplement(kind);
    if (v.isNull() || (v.isObject() && v.toObject().isEmpty())) {
        editor.supplementDeleted(kind);
        return {};
    }
    if (!v.isObject())
        return {"Se asteapta un obiect!", key};
    SupplementData d = editor.supplementForDialog(kind);
    bool single = false;
    const QString prefix = QString(key) + ".";
    EditorRefusal r = SupplementFromJson(v.toObject(), prefix, d, single);
    if (r.refused())
        return r;
    const bool same = d.Furnizor == held.Furnizor && d.CodClient == held.CodClient && d.POD == held.POD &&
                      d.Titular == held.Titular && d.CNP == held.CNP && !single;
    if (same && !held.empty())
        return {}; // unchanged: the stored amount stays
    if (d.empty())
        return {};
    const ApplicationEditor::SupplementOutcome out = editor.checkSupplement(kind, d);
    if (out.refusal.refused())
        return {out.refusal.message, prefix + out.refusal.field};
    if (!out.saved) {
        stop = true;
        return {};
    }
    editor.supplementSaved(kind, d, single);
    return {};
}

int applicationAddOrModify(Args args, bool add)
{
    const std::string from = takeOption(args, "--from");
    const bool yes = takeFlag(args, "--yes");
    const bool lookup = takeFlag(args, "--lookup");
    Session session(args);
    if (from.empty())
        throw std::runtime_error("--from FILE.json is required");
    if (args.size() != (add ? 0u : 1u))
        throw std::runtime_error(add ? "usage: application add FOLDER --from FILE.json [--yes] [--lookup]"
                                     : "usage: application modify FOLDER NRCRT --from FILE.json [--yes]");
    const QJsonObject json = readJson(from);
    ToolUi ui(yes);
    ApplicationEditor editor(ui);
    if (add) {
        editor.openAdd();
    } else if (!editor.openModify(number(args[0], "NRCRT"))) {
        std::fprintf(stderr, "Modificare cerere: nu exista cererea %s\n", args[0].c_str());
        return 1;
    }
    EditorRefusal r = applyFields(editor, json, lookup && add);
    if (r.refused())
        return refused(r);

    if (json.contains("members")) {
        const QJsonArray list = json.value("members").toArray();
        if (!add) {
            // In modify mode the members are changed one by one with `member ...`; the
            // list given must be the stored one (as `application show` prints it).
            QJsonArray stored;
            for (const MemberRow &m : editor.members())
                stored.append(MemberToJson({m.titular, m.cnp, FormatNumber(m.venit), m.calitate}));
            if (stored != list)
                return refused({"Membrii se modifica cu member add|modify|delete!", "members"});
        } else {
            for (qsizetype i = 0; i < list.size(); ++i) {
                const QString prefix = QStringLiteral("members[%1].").arg(i);
                MemberFields m = editor.memberPreset();
                r = MemberFromJson(list.at(i).toObject(), prefix, m);
                if (r.refused())
                    return refused(r);
                const ApplicationEditor::MemberOutcome out = editor.addMember(m);
                if (out.refusal.refused())
                    return refused({out.refusal.message, prefix + out.refusal.field});
            }
        }
    }
    bool stop = false;
    r = applySupplement(editor, json, "gas", SupplementKind::Gas, stop);
    if (!r.refused() && !stop)
        r = applySupplement(editor, json, "electricity", SupplementKind::Electricity, stop);
    if (r.refused())
        return refused(r);
    if (stop)
        return 1;

    const ApplicationEditor::SaveOutcome out = editor.save();
    if (out.refusal.refused())
        return refused(out.refusal);
    if (!out.saved)
        return 1;
    const qint64 key = ApplicationStore(ui).store(editor);
    editor.close();
    std::printf("nrcrt=%lld\n", key);
    return 0;
}

int applicationCommand(const Args &all)
{
    Args args = all;
    const char *usage = "application add|modify|lookup|show|delete FOLDER ...";
    if (args.empty())
        throw std::runtime_error(std::string("usage: ") + usage);
    const std::string verb = args[0];
    args.erase(args.begin());
    if (verb == "add" || verb == "modify")
        return applicationAddOrModify(args, verb == "add");
    const bool yes = takeFlag(args, "--yes");
    Session session(args);
    ToolUi ui(yes);
    if (verb == "lookup") {
        expectCount(args, 1, "application lookup FOLDER CNP");
        ApplicationEditor editor(ui);
        editor.openAdd();
        const ApplicationEditor::Lookup found = editor.cnpChanged(QString::fromStdString(args[0]));
        QJsonObject o = EditorToJson(editor);
        o["found"] = found.found;
        o["hint"] = found.hint;
        printJson(o);
        return found.found ? 0 : 1;
    }
    if (verb == "show") {
        expectCount(args, 1, "application show FOLDER NRCRT");
        ApplicationEditor editor(ui);
        if (!editor.openModify(number(args[0], "NRCRT"))) {
            std::fprintf(stderr, "Modificare cerere: nu exista cererea %s\n", args[0].c_str());
            return 1;
        }
        printJson(EditorToJson(editor));
        return 0;
    }
    if (verb == "delete") {
        expectCount(args, 1, "application delete FOLDER NRCRT [--yes]");
        if (!ApplicationStore(ui).remove(number(args[0], "NRCRT")))
            return 1;
        std::printf("deleted=%s\n", args[0].c_str());
        return 0;
    }
    throw std::runtime_error(std::string("usage: ") + usage);
}

int memberCommand(const Args &all)
{
    Args args = all;
    const char *usage = "member add|modify|delete FOLDER NRCRT [NROM] [--from M.json] [--yes]";
    if (args.empty())
        throw std::runtime_error(std::string("usage: ") + usage);
    const std::string verb = args[0];
    args.erase(args.begin());
    const std::string from = takeOption(args, "--from");
    const bool yes = takeFlag(args, "--yes");
    Session session(args);
    ToolUi ui(yes);
    if (args.empty())
        throw std::runtime_error(std::string("usage: ") + usage);
    ApplicationEditor editor(ui);
    if (!editor.openModify(number(args[0], "NRCRT"))) {
        std::fprintf(stderr, "Modificare cerere: nu exista cererea %s\n", args[0].c_str());
        return 1;
    }
    if (verb == "add" || verb == "modify") {
        if (from.empty() || args.size() != (verb == "add" ? 1u : 2u))
            throw std::runtime_error(std::string("usage: ") + usage);
        MemberFields m = editor.memberPreset();
        qint64 nrom = 0;
        if (verb == "modify") {
            nrom = number(args[1], "NROM");
            bool found = false;
            for (const MemberRow &row : editor.members())
                if (row.nrom == nrom) {
                    m = {row.titular, row.cnp, FormatNumber(row.venit), row.calitate};
                    found = true;
                }
            if (!found) {
                std::fprintf(stderr, "Modificare membru: nu exista membrul %s\n", args[1].c_str());
                return 1;
            }
        }
        const EditorRefusal r = MemberFromJson(readJson(from), {}, m);
        if (r.refused())
            return refused(r);
        const ApplicationEditor::MemberOutcome out = verb == "add" ? editor.addMember(m) : editor.modifyMember(nrom, m);
        if (out.refusal.refused())
            return refused(out.refusal);
        std::printf("nrom=%lld\n", out.nrom);
        return 0;
    }
    if (verb == "delete") {
        expectCount(args, 2, "member delete FOLDER NRCRT NROM [--yes]");
        if (!editor.deleteMember(number(args[1], "NROM")))
            return 1;
        std::printf("deleted=%s\n", args[1].c_str());
        return 0;
    }
    throw std::runtime_error(std::string("usage: ") + usage);
}

Registration rApplication("application",
                          "application add FOLDER --from FILE.json [--yes] [--lookup] | modify FOLDER NRCRT --from "
                          "FILE.json [--yes] | lookup FOLDER CNP | show FOLDER NRCRT | delete FOLDER NRCRT [--yes]"
                          "   (each with [--month MM.YYYY])",
                          applicationCommand);
Registration rMember("member",
                     "member add FOLDER NRCRT --from M.json | modify FOLDER NRCRT NROM --from M.json | "
                     "delete FOLDER NRCRT NROM [--yes]   (each with [--month MM.YYYY])",
                     memberCommand);

} // namespace
} // namespace focaris::tool
