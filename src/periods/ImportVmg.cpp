// The import of the approved files of the guaranteed-minimum-income register (".416"
// archives) as applications of month code 1. A file is imported once per inquiry (once
// when it has none); its members go to the first of those applications. Members are
// attached through a map from the register's file id to the application made for it, so
// a new key that happens to equal another file's register id cannot move members twice,
// and members of files not imported are left out.
#include "periods/ImportShared.h"
#include "periods/RegisterTable.h"

#include "core/TextRules.h"
#include "core/Ui.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace focaris::periods {
namespace {

const QStringList kFileColumns{"IDCERERE", "CERENR", "CEREDATA", "NUME",    "CNP",     "STR",      "STRNR",
                               "BLOC",     "SCARA",  "ETAJ",     "APART",   "LOCALIT", "NRMEMBRI", "VENITP",
                               "VENITV",   "VENITA", "STCIV",    "SITSCOL", "ASF",     "STARE"};
const QStringList kInquiryColumns{"IDCERERE", "NRCAMERE", "POL"};
const QStringList kMemberColumns{"IDCERERE", "IDOM", "NUME", "CNPDATA", "CUANTUMV", "CUANTUMP", "CUANTUMA", "RUDACOD"};

std::optional<QString> readVmg(const QString &folder, ImportPlan &plan)
{
    RegisterTable files, inquiries, members;
    if (auto why = files.load(folder, QStringLiteral("Cereri.dbf"), kFileColumns))
        return why;
    if (auto why = inquiries.load(folder, QStringLiteral("Anchete.dbf"), kInquiryColumns))
        return why;
    if (auto why = members.load(folder, QStringLiteral("Oameni.dbf"), kMemberColumns))
        return why;

    std::unordered_map<std::string, std::vector<std::size_t>> inquiriesOf;
    for (std::size_t r = 0; r < inquiries.rows(); ++r)
        inquiriesOf[inquiries.key(r, 0)].push_back(r);

    enum {
        Id,
        Nr,
        Data,
        Nume,
        Cnp,
        Str,
        StrNr,
        Bloc,
        Scara,
        Etaj,
        Apart,
        Localit,
        NrMembri,
        VenitP,
        VenitV,
        VenitA,
        StCiv,
        SitScol,
        Asf,
        Stare
    };
    std::unordered_map<std::string, std::size_t> applicationOf; // register file id -> first application
    for (std::size_t r = 0; r < files.rows(); ++r) {
        if (files.text(r, Stare) != QStringLiteral("APROBATA"))
            continue;
        ImportedApplication a;
        a.subsemn = CleanText(files.text(r, Nume));
        a.cnp = CleanText(files.text(r, Cnp));
        a.localit = CleanText(files.text(r, Localit));
        a.adresa = ImportedAddress(files.text(r, Str), files.text(r, StrNr), files.text(r, Bloc), files.text(r, Scara),
                                   files.text(r, Etaj), files.text(r, Apart));
        a.nrMembri = files.number(r, NrMembri);
        // A blank income part counts as 0.
        a.tvenit = files.number(r, VenitP) + files.number(r, VenitV) + files.number(r, VenitA);
        a.l416 = QStringLiteral("X");
        a.asf = CleanText(files.text(r, Asf));
        a.stciv = CleanText(files.text(r, StCiv));
        a.sitscol = CleanText(files.text(r, SitScol));
        a.nrCere = files.number(r, Nr);
        a.dataCere = files.date(r, Data);
        const std::string id = files.key(r, Id);
        if (!id.empty())
            applicationOf.emplace(id, plan.applications.size());
        const auto found = id.empty() ? inquiriesOf.end() : inquiriesOf.find(id);
        if (found == inquiriesOf.end()) {
            plan.applications.push_back(a); // no inquiry: no rooms, not insured
            continue;
        }
        for (std::size_t q : found->second) {
            ImportedApplication withInquiry = a;
            withInquiry.nrCam = inquiries.number(q, 1);
            withInquiry.asig = !inquiries.isNull(q, 2) && inquiries.number(q, 2) == 1 ? QStringLiteral("X") : QString();
            plan.applications.push_back(withInquiry);
        }
    }

    enum { MId, MOrder, MNume, MCnp, MV, MP, MA, MRuda };
    struct Sorted {
        std::size_t application;
        double order;
        std::size_t row;
    };
    std::vector<Sorted> kept;
    for (std::size_t r = 0; r < members.rows(); ++r) {
        const std::string id = members.key(r, MId);
        const auto app = id.empty() ? applicationOf.end() : applicationOf.find(id);
        if (app != applicationOf.end())
            kept.push_back({app->second, members.number(r, MOrder), r});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Sorted &x, const Sorted &y) {
        return x.application != y.application ? x.application < y.application : x.order < y.order;
    });
    plan.members.reserve(kept.size());
    for (const Sorted &k : kept) {
        ImportedMember m;
        m.application = k.application;
        m.titular = CleanText(members.text(k.row, MNume));
        m.cnp = CleanText(members.text(k.row, MCnp));
        m.venit = members.number(k.row, MV) + members.number(k.row, MP) + members.number(k.row, MA);
        m.calitate = RoleFromRelationCode(members.number(k.row, MRuda), members.isNull(k.row, MRuda));
        plan.members.push_back(m);
    }
    return std::nullopt;
}

RegisterImport vmgImport()
{
    RegisterImport kind;
    kind.folderPrefix = QStringLiteral("VMG");
    kind.defectTitle = QStringLiteral("Preluare L416");
    kind.doneTitle = QStringLiteral("Import din Legea 416");
    kind.logText = QStringLiteral("Import date din L416.");
    kind.monthCode = 1;
    kind.applicationStep = 10;
    kind.memberStep = 20;
    kind.keepUnpacked = true;
    kind.read = readVmg;
    return kind;
}

} // namespace

ImportResult ImportVmgArchive(Ui &ui, const QString &archivePath)
{
    return RunRegisterImport(ui, vmgImport(), archivePath);
}

ImportResult ImportFromVmg(Ui &ui)
{
    const QString file =
        ui.openFileName(QStringLiteral("Alegeti o Salvare L416"), QString(), QStringLiteral("Salvare L416 (*.416)"));
    return ImportVmgArchive(ui, file);
}

} // namespace focaris::periods
