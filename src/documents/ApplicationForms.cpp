// The application forms: the values of one application queued in the order of the
// forms, up to the end marker after which the rest of the form is copied unchanged.
#include "documents/ApplicationForms.h"

#include "core/Context.h"
#include "core/TempFiles.h"
#include "documents/DocumentValues.h"
#include "documents/RtfOpen.h"
#include "documents/TemplateDamage.h"
#include "engines/rtf/RTFReplace.h"

namespace focaris::documents {

namespace {
const QString kTitle = QStringLiteral("Listare Cerere");
}

QString FormTemplate(FormKind kind)
{
    return kind == FormKind::Full ? QStringLiteral("ModCerere.rtf") : QStringLiteral("ModCerereS.rtf");
}

Outcome PrintApplicationForm(Ui &ui, FormKind kind, qint64 nrcrt, const QString &out)
{
    const sql::ResultSet rows = ReadApplication(nrcrt);
    if (rows.empty()) {
        ui.message(kTitle,
                   QStringLiteral("\rNu exista cererea cu numarul de ordine ") + QString::number(nrcrt) +
                       QStringLiteral(" !"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    rtf::TRTFReplace doc;
    doc.RTFSursa = DataFile(FormTemplate(kind)).toStdString();
    const QString dest =
        out.isEmpty() ? NewDocumentFile(TempFolder() + QStringLiteral("/TmpFoc/Cerere"), QStringLiteral(".rtf")) : out;
    doc.RTFDest = dest.toStdString();
    if (dest.isEmpty() || FileInUse(dest) || !doc.BeginDocument()) {
        const QString model = QString::fromStdString(doc.RTFSursa);
        ui.message(kTitle,
                   RtfTemplateDamaged(model) ? DamagedTemplateMessage(model)
                                             : QStringLiteral("Nu pot scrie pe harddisk!"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    const auto &row = rows.row(0);
    auto get = [&](const char *column) { return TextOf(row[Columns(rows)[column]]); };
    auto amount = [&](const char *column) { return NumberOf(row[Columns(rows)[column]]); };
    auto add = [&doc](const char *key, const QString &value) { doc.AddValue(key, value.toStdString()); };
    const QString name = get("SUBSEMN");
    const auto [family, given] = SplitName(name);
    const double sumaL = amount("SUMAL"), sumaG = amount("SUMAG"), sumaE = amount("SUMAE"), sumaT = amount("SUMAT");
    const QString blank = QStringLiteral(" ");

    add("[UAT]", LoadOffice().localit);
    add("[NUME]", family);
    add("[PRENUME]", given);
    add("[CNP]", get("CNP"));
    add("[TVENIT]", TwoDecimals(amount("TVENIT")));
    add("[VENITM]", TwoDecimals(amount("VENITM")));
    add("[NUMEP]", name);
    add("[AI]", get("CUAJUT"));
    add("[SU]", Mark(sumaL + sumaG + sumaE + sumaT));
    add("[SL]", Mark(sumaL));
    if (sumaG > 0) {
        add("[SG]", QStringLiteral("X"));
        add("[FURNG]", blank + get("FURNG"));
        add("[CODCLG]", blank + get("CODCLG"));
        add("[PODG]", blank + get("PODG"));
    } else {
        add("[SG]", blank);
        for (const char *key : {"[FURNG]", "[CODCLG]", "[PODG]"})
            add(key, QStringLiteral("-"));
    }
    add("[SE]", Mark(sumaE));
    add("[ST]", Mark(sumaT));
    add("[FURNTI]", get("FURNT"));
    add("[CODCLTI]", get("CODCLT"));
    add("[FURNT]", blank + get("FURNT"));
    add("[FURNE]", blank + get("FURNE"));
    add("[CODCLT]", blank + get("CODCLT"));
    add("[CODCLE]", blank + get("CODCLE"));
    add("[PODE]", blank + get("PODE"));
    add("[DATACERE]", DateText(row[Columns(rows)["DATACERE"]]));
    doc.EmitBodyUntil("terminoiu");
    doc.EndDocument();
    if (out.isEmpty())
        OpenResult(doc, ui);
    return Outcome::Done(dest);
}

} // namespace focaris::documents
