// The social inquiry: create, show and delete, with the kept file never destroyed by a
// failed or refused action.
#include "documents/SocialInquiry.h"

#include "applications/Cnp.h"
#include "core/Context.h"
#include "core/TempFiles.h"
#include "documents/DocumentValues.h"
#include "documents/RtfOpen.h"
#include "documents/TemplateDamage.h"
#include "engines/common/FileChanges.h"
#include "engines/rtf/RTFReplace.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <stdexcept>

namespace focaris::documents {

namespace {

const QString kDiskFull = QStringLiteral("Nu pot scrie pe harddisk!");
const QString kNoCnp = QStringLiteral("Lipseste CNP-ul solicitantului!");

// The CNP of the application, or nothing when there is no such application.
bool applicationCnp(Ui &ui, qint64 nrcrt, const QString &title, sql::ResultSet &rows, QString &cnp)
{
    rows = ReadApplication(nrcrt);
    if (rows.empty()) {
        ui.message(title,
                   QStringLiteral("\rNu exista cererea cu numarul de ordine ") + QString::number(nrcrt) +
                       QStringLiteral(" !"),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    cnp = TextOf(rows.value(0, "CNP")).trimmed();
    // The inquiry file is named by the CNP: without one, every such applicant would
    // share (and replace) the same "A.rtf".
    if (cnp.isEmpty()) {
        ui.message(title, kNoCnp, MessageKind::Error, MessageButton::OK);
        return false;
    }
    return true;
}

// Removes the scratch document unless it was put in place.
struct ScratchFile {
    QString path;
    ~ScratchFile()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};

} // namespace

QString InquiryFile(const QString &cnp)
{
    return DataFile(QStringLiteral("A") + cnp + QStringLiteral(".rtf"));
}

Outcome AddInquiry(Ui &ui, qint64 nrcrt, bool open)
{
    const QString title = QStringLiteral("Adauga Ancheta");
    sql::ResultSet rows;
    QString cnp;
    if (!applicationCnp(ui, nrcrt, title, rows, cnp))
        return {};
    // A new inquiry only for a valid CNP: two applicants with the same mistyped code would
    // otherwise replace each other's inquiry.
    if (!cnp::IsValid(cnp)) {
        ui.message(title, kNoCnp, MessageKind::Error, MessageButton::OK);
        return {};
    }
    const QString target = InquiryFile(cnp);
    if (FileInUse(target)) {
        ui.message(title, kDiskFull, MessageKind::Error, MessageButton::OK);
        return {};
    }
    const QFileInfo info(target);
    ScratchFile scratch{info.absolutePath() + QStringLiteral("/.~") + info.fileName() + QStringLiteral(".part")};
    rtf::TRTFReplace doc;
    doc.RTFSursa = DataFile(QStringLiteral("ModelAncheta2.rtf")).toStdString();
    doc.RTFDest = scratch.path.toStdString();
    files::beforeChange(QFile::encodeName(scratch.path).toStdString());
    if (!doc.BeginDocument()) {
        const QString model = QString::fromStdString(doc.RTFSursa);
        ui.message(title, RtfTemplateDamaged(model) ? DamagedTemplateMessage(model) : kDiskFull, MessageKind::Error,
                   MessageButton::OK);
        return {};
    }
    const auto &row = rows.row(0);
    const Columns col(rows);
    auto add = [&doc](const char *key, const QString &value) { doc.AddValue(key, value.toStdString()); };
    const QString name = TextOf(row[col["SUBSEMN"]]);
    const auto [family, given] = SplitName(name);
    add("[UAT]", LoadOffice().localit);
    add("[TITULAR]", name);
    add("[NUME]", family);
    add("[PRENUME]", given);
    add("[NR_CERE]", TextOf(row[col["NR_CERE"]]));
    add("[DATAAZI]", QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    add("[DATACERE]", DateText(row[col["DATACERE"]]));
    add("[CNP]", cnp);
    add("[TVENIT]", TwoDecimals(NumberOf(row[col["TVENIT"]])));
    add("[VENITM]", TwoDecimals(NumberOf(row[col["VENITM"]])));
    add("[TITULAR]", name);
    add("[INTOCMIT]", LoadOffice().intocmit);
    try {
        doc.EmitBodyUntil("terminoiu");
        doc.EndDocument();
    } catch (const std::exception &) {
        ui.message(title, kDiskFull, MessageKind::Error, MessageButton::OK);
        return {};
    }
    // The complete document replaces the kept one in one step (a reader sees either).
    // The document is flushed before it takes the name, the folder after.
    if (FileInUse(target) ||
        !files::commitRename(QFile::encodeName(scratch.path).toStdString(), QFile::encodeName(target).toStdString())) {
        ui.message(title, kDiskFull, MessageKind::Error, MessageButton::OK);
        return {};
    }
    scratch.path.clear();
    if (open)
        ui.openDocument(target);
    return Outcome::Done(target);
}

namespace {

// The inquiry file of the application, or an empty text when the application or its
// inquiry is missing (the message has been shown then).
QString existingInquiry(Ui &ui, qint64 nrcrt, const QString &title, const QString &missing)
{
    sql::ResultSet rows;
    QString cnp;
    if (!applicationCnp(ui, nrcrt, title, rows, cnp))
        return {};
    const QString file = InquiryFile(cnp);
    if (!FileExists(file)) {
        ui.message(title, missing, MessageKind::Error, MessageButton::OK);
        return {};
    }
    return file;
}

} // namespace

Outcome ShowInquiry(Ui &ui, qint64 nrcrt)
{
    const QString file =
        existingInquiry(ui, nrcrt, QStringLiteral("Arata Ancheta"),
                        QStringLiteral("\rLa aceasta Cerere, nu aveti Ancheta!\rApasati mai intai butonul Adauga!"));
    if (file.isEmpty())
        return {};
    ui.openDocument(file);
    return Outcome::Done(file);
}

Outcome DeleteInquiry(Ui &ui, qint64 nrcrt)
{
    const QString title = QStringLiteral("Stergere Ancheta");
    const QString file = existingInquiry(ui, nrcrt, title, QStringLiteral("\rLa aceasta Cerere nu aveti Ancheta!"));
    if (file.isEmpty())
        return {};
    if (ui.message(title, QStringLiteral("Vreti sa stergeti ancheta?"), MessageKind::Warning,
                   MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return {};
    files::beforeChange(QFile::encodeName(file).toStdString());
    if (!TryDeleteFile(file)) {
        ui.message(title, QStringLiteral("Ancheta este deschisa! N-o pot sterge!"), MessageKind::Error,
                   MessageButton::OK);
        return {};
    }
    return Outcome::Done(file);
}

} // namespace focaris::documents
