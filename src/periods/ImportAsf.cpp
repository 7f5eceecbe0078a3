// The import of the active files of the family-allowance register (".as2" archives) as
// applications of month code 2. The register keeps several inquiries per file; only the
// latest one counts (the greatest date, then the greatest inquiry id), with its members.
// An inquiry without a date counts only when the file has no dated inquiry; inquiries and
// members without an inquiry id cannot be matched and are left out.
#include "periods/ImportShared.h"
#include "periods/RegisterTable.h"

#include "core/TempFiles.h"
#include "core/TextRules.h"
#include "core/Ui.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace focaris::periods {
namespace {

const QStringList kFileColumns{"IDCERERE", "CERENR",  "CEREDATA", "NUME",     "CNP",  "STRADA",
                               "STRNR",    "BLOC",    "SCARA",    "ETAJ",     "APT",  "LOCALIT",
                               "STCIV",    "SITSCOL", "L416",     "NRCAMERE", "ASIG", "STARE"};
const QStringList kInquiryColumns{"IDANCHET", "IDCERERE", "LADATA", "TMEMBRI"};
const QStringList kMemberColumns{"IDCERERE", "IDANCHET", "NUME", "CNPDATA", "CUANTUMV", "CUANTUMA", "RUDACOD"};

// Whether inquiry row a is later than row b of the same file.
bool later(const RegisterTable &t, std::size_t a, std::size_t b)
{
    const auto da = t.date(a, 2), db = t.date(b, 2);
    if (da.has_value() != db.has_value())
        return da.has_value();
    if (da && *da != *db)
        return *da > *db;
    return t.number(a, 0) > t.number(b, 0);
}

std::optional<QString> readAsf(const QString &folder, ImportPlan &plan)
{
    RegisterTable files, inquiries, members;
    if (auto why = files.load(folder, QStringLiteral("Cereri.dbf"), kFileColumns))
        return why;
    if (auto why = inquiries.load(folder, QStringLiteral("Anchete.dbf"), kInquiryColumns))
        return why;
    if (auto why = members.load(folder, QStringLiteral("Oameni.dbf"), kMemberColumns))
        return why;

    enum {
        Id,
        Nr,
        Data,
        Nume,
        Cnp,
        Strada,
        StrNr,
        Bloc,
        Scara,
        Etaj,
        Apt,
        Localit,
        StCiv,
        SitScol,
        L416,
        NrCamere,
        Asig,
        Stare
    };
    std::unordered_set<std::string> active;
    for (std::size_t r = 0; r < files.rows(); ++r)
        if (files.text(r, Stare) == QStringLiteral("ACTIVA") && !files.key(r, Id).empty())
            active.insert(files.key(r, Id));

    std::unordered_map<std::string, std::size_t> latest; // file id -> its latest inquiry row
    for (std::size_t q = 0; q < inquiries.rows(); ++q) {
        const std::string file = inquiries.key(q, 1);
        if (inquiries.key(q, 0).empty() || !active.count(file))
            continue;
        auto [it, fresh] = latest.emplace(file, q);
        if (!fresh && later(inquiries, q, it->second))
            it->second = q;
    }

    // Members of each file's latest inquiry, by file id.
    enum { MId, MInquiry, MNume, MCnp, MV, MA, MRuda };
    std::unordered_map<std::string, std::vector<std::size_t>> membersOf;
    for (std::size_t r = 0; r < members.rows(); ++r) {
        const std::string file = members.key(r, MId);
        const auto it = latest.find(file);
        if (it != latest.end() && !members.key(r, MInquiry).empty() &&
            members.key(r, MInquiry) == inquiries.key(it->second, 0))
            membersOf[file].push_back(r);
    }

    std::unordered_set<std::string> taken;
    for (std::size_t r = 0; r < files.rows(); ++r) {
        const std::string id = files.key(r, Id);
        if (files.text(r, Stare) != QStringLiteral("ACTIVA") || id.empty() || taken.count(id))
            continue;
        const auto inquiry = latest.find(id);
        const auto found = membersOf.find(id);
        // A file without a remaining inquiry or without members of it is not imported.
        if (inquiry == latest.end() || found == membersOf.end())
            continue;
        taken.insert(id);
        ImportedApplication a;
        a.subsemn = CleanText(files.text(r, Nume));
        a.cnp = CleanText(files.text(r, Cnp));
        a.localit = CleanText(files.text(r, Localit));
        a.adresa = ImportedAddress(files.text(r, Strada), files.text(r, StrNr), files.text(r, Bloc),
                                   files.text(r, Scara), files.text(r, Etaj), files.text(r, Apt));
        a.nrMembri = inquiries.number(inquiry->second, 3);
        a.l416 = CleanText(files.text(r, L416));
        a.asf = QStringLiteral("X");
        a.stciv = CleanText(files.text(r, StCiv));
        a.sitscol = CleanText(files.text(r, SitScol));
        a.nrCam = files.number(r, NrCamere);
        a.asig = CleanText(files.text(r, Asig));
        a.nrCere = files.number(r, Nr);
        a.dataCere = files.date(r, Data);
        const std::size_t application = plan.applications.size();

        // The applicant (code 1) first; members without a code after those with one.
        std::vector<std::size_t> rows = found->second;
        std::stable_sort(rows.begin(), rows.end(), [&members](std::size_t x, std::size_t y) {
            const bool bx = members.isNull(x, MRuda), by = members.isNull(y, MRuda);
            if (bx != by)
                return by;
            return !bx && members.number(x, MRuda) < members.number(y, MRuda);
        });
        for (std::size_t m : rows) {
            ImportedMember im;
            im.application = application;
            im.titular = CleanText(members.text(m, MNume));
            im.cnp = CleanText(members.text(m, MCnp));
            // A blank income part counts as 0.
            im.venit = members.number(m, MV) + members.number(m, MA);
            im.calitate = RoleFromRelationCode(members.number(m, MRuda), members.isNull(m, MRuda));
            a.tvenit += im.venit;
            plan.members.push_back(im);
        }
        plan.applications.push_back(a);
    }
    return std::nullopt;
}

RegisterImport asfImport()
{
    RegisterImport kind;
    kind.folderPrefix = QStringLiteral("ASF");
    kind.defectTitle = QStringLiteral("Preluare ASF");
    kind.doneTitle = QStringLiteral("Import din ASF");
    kind.logText = QStringLiteral("Import date din ASF.");
    kind.monthCode = 2;
    kind.applicationStep = 50;
    kind.memberStep = 100;
    kind.keepUnpacked = false;
    kind.read = readAsf;
    return kind;
}

} // namespace

ImportResult ImportAsfArchive(Ui &ui, const QString &archivePath)
{
    return RunRegisterImport(ui, asfImport(), archivePath);
}

ImportResult ImportFromAsf(Ui &ui)
{
    const QString file =
        ui.openFileName(QStringLiteral("Alegeti o Salvare ASF"), QString(), QStringLiteral("Salvare ASF (*.as2)"));
    return ImportAsfArchive(ui, file);
}

} // namespace focaris::periods
