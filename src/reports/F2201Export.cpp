// The tax agency's F2201 requests: the source list read in one statement (duplicates of
// name, CNP, number and date merged), cut into files, each written whole; files of an
// earlier run beyond the new ones are removed so that no stale request is uploaded again.
#include "reports/F2201Export.h"

#include "admin/Municipality.h"
#include "applications/Cnp.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "engines/common/FileChanges.h"
#include "reports/CnpCheck.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamWriter>

#include <memory>

namespace focaris::exports {

namespace {

const char *kNamespace = "mfp:anaf:dgti:primarii:formulare:v1";
const char *kXsi = "http://www.w3.org/2001/XMLSchema-instance";
constexpr int kPart = 501;

// The F2201 files of a folder from an earlier run, whatever the case of their names.
QStringList existingRequests(const QString &folder)
{
    static const QRegularExpression name(QStringLiteral("^F2201_[0-9]+\\.xml$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QString &f : QDir(folder).entryList(QDir::Files))
        if (name.match(f).hasMatch())
            found << f;
    return found;
}

class Document {
public:
    Document(qint64 request, const QString &folder, const QString &codFiscal, const QDateTime &started)
        : buffer_(&bytes_)
    {
        // The declaration names the encoding in lower case, as the agency's files do; the
        // writer itself would write it in capitals. It starts the root on a new line.
        buffer_.open(QIODevice::WriteOnly);
        buffer_.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
        w_.setDevice(&buffer_);
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(2);
        w_.writeStartElement(QStringLiteral("F2201"));
        w_.writeAttribute(QStringLiteral("xmlns"), QLatin1String(kNamespace));
        w_.writeAttribute(QStringLiteral("xmlns:xsi"), QLatin1String(kXsi));
        // A file URI, percent-encoded, so that blanks or other characters in the folder's
        // name do not break the location into several tokens.
        const QString schema =
            QUrl::fromLocalFile(QDir::cleanPath(folder) + QStringLiteral("/F2201_1.xsd")).toString(QUrl::FullyEncoded);
        w_.writeAttribute(QStringLiteral("xsi:schemaLocation"), QLatin1String(kNamespace) + QLatin1Char(' ') + schema);
        w_.writeAttribute(QStringLiteral("Req_id"), QString::number(request));
        w_.writeAttribute(QStringLiteral("Cui_primarie"), XmlSafe(codFiscal));
        w_.writeAttribute(QStringLiteral("Data_creare_mesaj"), started.toString(QStringLiteral("yyyyMMddHHmm")));
    }
    void add(const F2201Person &p)
    {
        w_.writeEmptyElement(QStringLiteral("persoane"));
        w_.writeAttribute(QStringLiteral("cif"), XmlSafe(p.cnp));
        w_.writeAttribute(QStringLiteral("motiv"), QStringLiteral("2"));
        w_.writeAttribute(QStringLiteral("nr_dosar"), QString::number(p.nrCere));
        w_.writeAttribute(QStringLiteral("data_dosar"),
                          p.dataCere.isValid() ? p.dataCere.toString(QStringLiteral("dd.MM.yyyy")) : QString());
        w_.writeAttribute(QStringLiteral("banci"), QStringLiteral("0"));
        w_.writeAttribute(QStringLiteral("venituri_cu_sume"), QStringLiteral("1"));
        w_.writeAttribute(QStringLiteral("venituri_fara_sume"), QStringLiteral("0"));
        w_.writeAttribute(QStringLiteral("bunuri"), QStringLiteral("1"));
    }
    QByteArray finish()
    {
        w_.writeEndElement();
        w_.writeEndDocument();
        buffer_.close();
        return bytes_;
    }

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QXmlStreamWriter w_;
};

} // namespace

qint64 F2201FirstRequest(const QDateTime &now)
{
    // Day serial: days since 30 December 1899 plus the fraction of the day. The fraction
    // times 10,000,000 is the milliseconds of the day times 100 / 864, cut to a whole number.
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    const qint64 ms = now.time().msecsSinceStartOfDay();
    return (days - 2017) * 10000000 + (ms * 100) / 864;
}

bool F2201Adult(const QString &cnp, const QDate &today)
{
    const QDate born = cnp::BirthDate(cnp);
    if (!born.isValid())
        return true;
    return born < today.addMonths(-216);
}

std::vector<QByteArray> F2201Documents(const std::vector<F2201Person> &list, const QString &folder,
                                       const QString &codFiscal, const QDateTime &now)
{
    std::vector<QByteArray> files;
    qint64 request = F2201FirstRequest(now);
    auto doc = std::make_unique<Document>(++request, folder, codFiscal, now);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::size_t position = i + 1;
        if (position % kPart == 0) {
            files.push_back(doc->finish());
            doc = std::make_unique<Document>(++request, folder, codFiscal, now);
        }
        if (list[i].adult)
            doc->add(list[i]);
    }
    files.push_back(doc->finish());
    return files;
}

std::vector<F2201Person> F2201List(const QDate &today)
{
    const sql::ResultSet rs = QuerySql(
        QStringList{QStringLiteral("SELECT DISTINCT A.TITULAR, A.CNP, B.NR_CERE, B.DATACERE"),
                    QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))) + QStringLiteral(" A, ") +
                        Quoted(TablePath(QStringLiteral("Cereri.dbf"))) + QStringLiteral(" B"),
                    QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + QString::number(WorkingMonthCode()) +
                        QStringLiteral(" AND B.STATUT=\"APROBAT\""),
                    QStringLiteral("ORDER BY NR_CERE, TITULAR, CNP, DATACERE")});
    std::vector<F2201Person> list;
    list.reserve(rs.rowCount());
    for (const auto &row : rs.rows()) {
        F2201Person p;
        p.name = TextOf(row[0]);
        p.cnp = TextOf(row[1]);
        p.nrCere = row[2].toInt();
        if (row[3].kind == sql::Value::Date) {
            const auto ymd = QDate(1970, 1, 1).addDays(row[3].date);
            p.dataCere = ymd;
        }
        p.adult = F2201Adult(p.cnp, today);
        list.push_back(std::move(p));
    }
    return list;
}

ExportResult ExportF2201(Ui &ui, const QDateTime &now)
{
    ExportResult result;
    if (!SettingsReady(ui))
        return result;
    const std::vector<F2201Person> list = F2201List(now.date());
    if (list.empty()) {
        ui.message(QStringLiteral("F 2201"), QStringLiteral("\rNu aveti nicio persoana pe luna curenta!"),
                   MessageKind::Error, MessageButton::OK);
        return result;
    }
    // The tax agency refuses a request whose CNP is not 13 digits: such persons are named
    // before anything is written.
    QStringList withoutCnp;
    for (const F2201Person &p : list)
        if (!ThirteenDigitCnp(p.cnp) && !withoutCnp.contains(p.name))
            withoutCnp << p.name;
    if (!withoutCnp.isEmpty()) {
        ui.message(QStringLiteral("F 2201"), MissingCnpMessage(withoutCnp), MessageKind::Error, MessageButton::OK);
        return result;
    }
    QString folder;
    if (!ui.chooseFolder(QStringLiteral("Alegeti directorul unde punem Raportul"), folder) || folder.isEmpty())
        return result;
    folder = QDir::cleanPath(folder);

    // Requests of an earlier run are replaced only after the same question the national
    // agency's export asks; those beyond the new ones are removed afterwards.
    const QStringList earlier = existingRequests(folder);
    if (!earlier.isEmpty() &&
        ui.message(QStringLiteral("F 2201"),
                   QStringLiteral("\r Fisierul ") + earlier.front() + QStringLiteral(" exista!") +
                       QStringLiteral("\r") + QStringLiteral("Doriti sa-l inlocuim?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return result;

    const ExportSettings s = LoadExportSettings();
    ui.progressShow(QStringLiteral("Generez XML-ul..."), int(list.size() / 10));
    try {
        const std::vector<QByteArray> docs = F2201Documents(list, folder, s.codFiscal, now);
        for (std::size_t k = 0; k < docs.size(); ++k) {
            const QString path = folder + QStringLiteral("/F2201_") + QString::number(k + 1) + QStringLiteral(".xml");
            CommitFile(path, docs[k]);
            result.files << path;
        }
        for (int step = 0; step < int(list.size() / 10); ++step)
            ui.progressStep();
        QStringList written;
        for (const QString &f : result.files)
            written << QFileInfo(f).fileName();
        for (const QString &old : earlier)
            if (!written.contains(old)) {
                files::beforeChange(QFile::encodeName(folder + QLatin1Char('/') + old).toStdString());
                QFile::remove(folder + QLatin1Char('/') + old);
            }
    } catch (...) {
        ui.progressHide();
        throw;
    }
    ui.progressHide();
    result.done = true;
    ui.message(QStringLiteral("ANAF F2201"), QStringLiteral("\rXML a fost creat!\rIncarcati-l in DuckIntegrator!"),
               MessageKind::Information, MessageButton::OK);
    return result;
}

} // namespace focaris::exports
