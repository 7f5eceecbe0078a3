// The national agency's XML file. The applications are read once, the members of those
// applications once (ordered by application and member key and found per application
// through their range), and the document is streamed to the file element by element.
#include "reports/AnpisExport.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "reports/CnpCheck.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <stdexcept>
#include <unordered_map>

namespace focaris::exports {

namespace {

const QString kTitleQuestion = QStringLiteral("Extragere date ANPIS-XML");

// Column positions of a result, looked up once.
struct Columns {
    const sql::ResultSet &rs;
    int operator()(const char *name) const
    {
        const int i = rs.columnIndex(name);
        if (i < 0)
            throw std::runtime_error(std::string("coloana lipsa: ") + name);
        return i;
    }
};

QString dateText(const sql::Value &v)
{
    return v.kind == sql::Value::Date ? QString::fromStdString(sql::formatDate(v.date)) : QString();
}

class Writer {
public:
    explicit Writer(QIODevice &out) : w_(&out)
    {
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(2);
    }
    void start(const char *name) { w_.writeStartElement(QLatin1String(name)); }
    void empty(const char *name) { w_.writeEmptyElement(QLatin1String(name)); }
    void end() { w_.writeEndElement(); }
    void attr(const char *name, const QString &value) { w_.writeAttribute(QLatin1String(name), XmlSafe(value)); }
    void attr(const char *name, qint64 value) { w_.writeAttribute(QLatin1String(name), QString::number(value)); }
    QXmlStreamWriter &raw() { return w_; }

private:
    QXmlStreamWriter w_;
};

} // namespace

QString AnpisFileName(const QString &codFiscal)
{
    return QStringLiteral("Date_") + FiscalDigits(codFiscal) + QStringLiteral("v2.xml");
}

int WriteAnpisDocument(QIODevice &out, const ExportSettings &s, const QString &workingMonth,
                       const std::function<void()> &step)
{
    const QString month = QString::number(MonthCode(workingMonth));
    const sql::ResultSet apps = QuerySql(QStringList{
        QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
        QStringLiteral("WHERE LUNACRT=") + month + QStringLiteral(" AND TOTAL>0"), QStringLiteral("ORDER BY NR_CERE")});
    if (apps.empty())
        return 0;
    const sql::ResultSet members = QuerySql(
        QStringList{QStringLiteral("SELECT A.NRCRT, A.NROM, A.TITULAR, A.CNP, A.VENIT, A.CALITATE"),
                    QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))) + QStringLiteral(" A, ") +
                        Quoted(TablePath(QStringLiteral("Cereri.dbf"))) + QStringLiteral(" B"),
                    QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + month + QStringLiteral(" AND B.TOTAL>0"),
                    QStringLiteral("ORDER BY A.NRCRT, A.NROM")});

    // The members of each application are one run of the ordered rows.
    std::unordered_map<qint64, std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < members.rowCount();) {
        const qint64 key = members.value(i, 0).toInt();
        std::size_t j = i;
        while (j < members.rowCount() && members.value(j, 0).toInt() == key)
            ++j;
        runs.emplace(key, std::make_pair(i, j));
        i = j;
    }

    const Columns c{apps};
    const int cNrcrt = c("NRCRT"), cNrCere = c("NR_CERE"), cDataCere = c("DATACERE"), cCnp = c("CNP"),
              cSubsemn = c("SUBSEMN"), cCopii14 = c("COPII14"), cCopii18 = c("COPII18"), cMembri = c("NR_MEMBRI"),
              cLocalit = c("LOCALIT"), cAdresa = c("ADRESA"), cNrcam = c("NRCAM"), cTvenit = c("TVENIT"),
              cVenitm = c("VENITM"), cFurnt = c("FURNT"), cCodclt = c("CODCLT"), cTotal = c("TOTAL"),
              cNrDisp = c("NR_DISP"), cDataDisp = c("DATADISP"), cSumal = c("SUMAL"), cCnpe = c("CNPE"),
              cFurne = c("FURNE"), cPode = c("PODE"), cCodcle = c("CODCLE"), cSumae = c("SUMAE"), cCnpg = c("CNPG"),
              cFurng = c("FURNG"), cPodg = c("PODG"), cCodclg = c("CODCLG"), cSumag = c("SUMAG"), cCnpt = c("CNPT"),
              cSumat = c("SUMAT"), cStciv = c("STCIV"), cSitprof = c("SITPROF");
    const int mNrom = 1, mTitular = 2, mCnp = 3, mVenit = 4, mCalitate = 5;
    (void)mNrom;

    // The month before the working month, as two digits (January gives 12).
    const int monthNumber = workingMonth.left(2).toInt();
    const QString previousMonth =
        QStringLiteral("%1").arg(monthNumber == 1 ? 12 : monthNumber - 1, 2, 10, QLatin1Char('0'));

    Writer w(out);
    w.raw().writeStartDocument(QStringLiteral("1.0"));
    w.start("date");
    w.attr("judet", s.judet);
    w.attr("cifuat", s.codFiscal);
    w.attr("primaria", s.localit);
    w.attr("nrCereri", qint64(apps.rowCount()));
    w.attr("anul", workingMonth.mid(3, 4));
    w.attr("luna", workingMonth.left(2));

    for (std::size_t r = 0; r < apps.rowCount(); ++r) {
        const auto &row = apps.row(r);
        auto text = [&](int col) { return TextOf(row[std::size_t(col)]); };
        auto num = [&](int col) { return NumberOf(row[std::size_t(col)]); };
        auto whole = [&](int col) { return row[std::size_t(col)].toInt(); };
        const QString nrDisp = text(cNrDisp);
        const QString dataDisp = dateText(row[std::size_t(cDataDisp)]);

        w.start("cereri");
        w.attr("idCerere", qint64(r + 1));
        w.attr("nrinreg", NumberText(num(cNrCere)));
        w.attr("datareg", dateText(row[std::size_t(cDataCere)]));
        w.attr("cnpt", text(cCnp));
        w.attr("titcont", text(cSubsemn));
        w.attr("iban", QString());
        w.attr("banca", QString());
        w.attr("datacer", dateText(row[std::size_t(cDataCere)]));
        w.attr("nrcop", whole(cCopii14) + whole(cCopii18));
        w.attr("nrmaj", whole(cMembri) - whole(cCopii14) - whole(cCopii18));

        w.empty("cereriAdr");
        w.attr("localitate", text(cLocalit));
        w.attr("strada", text(cAdresa));
        for (const char *blank : {"numar", "bl", "sc", "et", "ap", "sector", "email", "telefon"})
            w.attr(blank, QString());
        w.attr("modloc", QStringLiteral("casa cu curte"));
        w.attr("nrcam", NumberText(num(cNrcam)));
        w.attr("rjloc", QStringLiteral("proprietate personala"));
        w.attr("provloc", QStringLiteral("mostenire"));
        w.attr("tiploc", QStringLiteral("TIP B"));

        w.empty("cereriAprb");
        w.attr("nrmembri", NumberText(num(cMembri)));
        w.attr("vt", NumberText(num(cTvenit)));
        w.attr("vm", NumberText(num(cVenitm)));

        w.start("drepturi");
        w.empty("drepturiAI");
        w.attr("cnpctr", text(cCnp));
        w.attr("tipaj", QStringLiteral("termica"));
        w.attr("furnizor", text(cFurnt));
        w.attr("codabonat", QString());
        w.attr("codloc", text(cCodclt));
        // A first level of 0 percent would divide by zero; the share is then written as 0.
        const double cu1 = s.cu1.toDouble();
        w.attr("procent", cu1 == 0 ? QStringLiteral("0") : NumberText(num(cTotal) / cu1 * 100));
        w.attr("valref", NumberText(num(cTotal)));
        w.attr("nrdisp", nrDisp);
        w.attr("datadisp", dataDisp);

        struct Supplement {
            int amount;
            int cnp;
            const char *kind;
            int supplier, subscriber, place;
        };
        const Supplement supplements[] = {
            {cSumal, cCnp, "lemne", -1, -1, -1},
            {cSumae, cCnpe, "electric", cFurne, cPode, cCodcle},
            {cSumag, cCnpg, "gaz", cFurng, cPodg, cCodclg},
            {cSumat, cCnpt, "termica", cFurnt, -1, cCodclt},
        };
        for (const Supplement &sup : supplements) {
            const double amount = num(sup.amount);
            if (RoundedWhole(amount) <= 0)
                continue;
            auto opt = [&](int col) { return col < 0 ? QString() : text(col); };
            w.empty("drepturiSup");
            w.attr("cnpctr", text(sup.cnp));
            w.attr("tipaj", QLatin1String(sup.kind));
            w.attr("furnizor", opt(sup.supplier));
            w.attr("codabonat", opt(sup.subscriber));
            w.attr("codloc", opt(sup.place));
            w.attr("suma", NumberText(amount));
            w.attr("nrdisp", nrDisp);
            w.attr("datadisp", dataDisp);
        }
        w.end(); // drepturi

        std::size_t first = 0, last = 0;
        if (auto it = runs.find(whole(cNrcrt)); it != runs.end())
            std::tie(first, last) = it->second;
        qint64 income = 0;
        for (std::size_t m = first; m < last; ++m)
            income += RoundedWhole(NumberOf(members.value(m, mVenit)));
        w.start("persoane");
        w.attr("nrpersoane", qint64(last - first));
        w.attr("venitpers", income);
        for (std::size_t m = first; m < last; ++m) {
            const QString name = TextOf(members.value(m, mTitular));
            const QString role = TextOf(members.value(m, mCalitate));
            const bool holder = role == QLatin1String("beneficiar");
            w.empty("persoaneM");
            w.attr("cnp", TextOf(members.value(m, mCnp)));
            w.attr("nume", FamilyName(name));
            w.attr("prenume", GivenNames(name));
            w.attr("tipci", QStringLiteral("CI"));
            w.attr("serie", QStringLiteral("."));
            w.attr("nrci", QStringLiteral("."));
            w.attr("elibci", QStringLiteral("SPCLEP"));
            if (holder) {
                w.attr("stareciv", text(cStciv));
                w.attr("sprof", text(cSitprof));
            }
            w.attr("hand", QStringLiteral("NU"));
            w.attr("reltit", holder ? QStringLiteral("Titular") : role);
            w.attr("venit", NumberText(NumberOf(members.value(m, mVenit))));
        }
        w.end(); // persoane

        w.start("venituri");
        w.attr("lunav", previousMonth);
        w.attr("vt", NumberText(num(cTvenit)));
        w.empty("venituriC");
        w.attr("codv", QStringLiteral("31"));
        w.attr("sumav", NumberText(num(cTvenit)));
        w.end(); // venituri
        w.end(); // cereri
        if (step && (r + 1) % 100 == 0)
            step();
    }
    w.end(); // date
    w.raw().writeEndDocument();
    if (w.raw().hasError())
        throw std::runtime_error("XML-ul nu a putut fi scris.");
    return int(apps.rowCount());
}

namespace {

// The applicants, supplement contract holders and members of the month's file whose CNP
// is not 13 digits, by name (a holder as the applicant's name and the contract's kind).
QStringList personsWithoutCnp(int month)
{
    QStringList names;
    auto note = [&names](const QString &name) {
        if (!names.contains(name))
            names << name;
    };
    const sql::ResultSet apps =
        QuerySql(QStringList{QStringLiteral("SELECT SUBSEMN, CNP, SUMAE, CNPE, SUMAG, CNPG, SUMAT, CNPT FROM ") +
                                 Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                             QStringLiteral("WHERE LUNACRT=") + QString::number(month) + QStringLiteral(" AND TOTAL>0"),
                             QStringLiteral("ORDER BY NR_CERE")});
    for (const auto &row : apps.rows()) {
        const QString name = TextOf(row[0]);
        if (!ThirteenDigitCnp(TextOf(row[1])))
            note(name);
        const struct {
            int amount, cnp;
            const char *kind;
        } holders[] = {{2, 3, "energie electrica"}, {4, 5, "gaz"}, {6, 7, "energie termica"}};
        for (const auto &h : holders)
            if (RoundedWhole(NumberOf(row[std::size_t(h.amount)])) > 0 &&
                !ThirteenDigitCnp(TextOf(row[std::size_t(h.cnp)])))
                note(name + QStringLiteral(" (titularul contractului de ") + QLatin1String(h.kind) + QLatin1Char(')'));
    }
    const sql::ResultSet members = QuerySql(
        QStringList{QStringLiteral("SELECT A.TITULAR, A.CNP FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))) +
                        QStringLiteral(" A, ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))) + QStringLiteral(" B"),
                    QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + QString::number(month) +
                        QStringLiteral(" AND B.TOTAL>0"),
                    QStringLiteral("ORDER BY A.NRCRT, A.NROM")});
    for (const auto &row : members.rows())
        if (!ThirteenDigitCnp(TextOf(row[1])))
            note(TextOf(row[0]));
    return names;
}

} // namespace

ExportResult ExportAnpis(Ui &ui)
{
    ExportResult result;
    if (!SettingsReady(ui))
        return result;
    QString folder;
    if (!ui.chooseFolder(QStringLiteral("Alegeti directorul unde punem XML-ul"), folder) || folder.isEmpty())
        return result;
    const ExportSettings s = LoadExportSettings();
    // The file is named by the fiscal code's digits; a code without any would name it
    // "Date_v2.xml", which the agency cannot place.
    if (FiscalDigits(s.codFiscal).isEmpty()) {
        ui.message(QStringLiteral("Export ANPIS"), QStringLiteral("\rCodul Fiscal de la Administrare nu este corect!"),
                   MessageKind::Error, MessageButton::OK);
        return result;
    }
    const QString name = AnpisFileName(s.codFiscal);
    const QString path = folder + QLatin1Char('/') + name;
    if (QFile::exists(path) &&
        ui.message(kTitleQuestion,
                   QStringLiteral("\r Fisierul ") + name + QStringLiteral(" exista!") + QStringLiteral("\r") +
                       QStringLiteral("Doriti sa-l inlocuim?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return result;

    const int count = int(QuerySql(QStringList{QStringLiteral("SELECT COUNT(*) AS N FROM ") +
                                                   Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                                               QStringLiteral("WHERE LUNACRT=") + QString::number(WorkingMonthCode()) +
                                                   QStringLiteral(" AND TOTAL>0")})
                              .value(0, 0)
                              .toInt());
    if (count == 0) {
        ui.message(QStringLiteral("Export ANPIS"), QStringLiteral("\rNu aveti nicio cerere aprobata!"),
                   MessageKind::Error, MessageButton::OK);
        return result;
    }

    // The agency refuses a file with a CNP that is not 13 digits: such persons are named
    // before anything is written.
    if (const QStringList missing = personsWithoutCnp(WorkingMonthCode()); !missing.isEmpty()) {
        ui.message(QStringLiteral("Export ANPIS"), MissingCnpMessage(missing), MessageKind::Error, MessageButton::OK);
        return result;
    }
    ui.progressShow(QStringLiteral("Generez XML-ul..."), count / 100);
    try {
        // The file appears under its name only when the whole document is written.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error(
                QStringLiteral("Fisierul %1 nu poate fi scris: %2").arg(path, file.errorString()).toStdString());
        WriteAnpisDocument(file, s, WorkingMonth(), [&ui] { ui.progressStep(); });
        if (!file.commit())
            throw std::runtime_error(
                QStringLiteral("Fisierul %1 nu poate fi scris: %2").arg(path, file.errorString()).toStdString());
    } catch (...) {
        ui.progressHide();
        throw;
    }
    ui.progressHide();
    result.done = true;
    result.files << path;
    ui.message(QStringLiteral("Export Date ANPIS"),
               QStringLiteral("\rXML-ul a fost creat: ") + name + QStringLiteral("\r") +
                   QStringLiteral("Trimiteti-l la ANPIS!"),
               MessageKind::Information, MessageButton::OK);
    return result;
}

} // namespace focaris::exports
