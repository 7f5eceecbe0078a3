// "&Memoreaza" of the editor: the normalising of the fields, the fifteen checks in their
// fixed order, the questions against the working month and the accepted step. Nothing is
// written to the applications table here; ApplicationStore does that afterwards.
#include "applications/ApplicationEditor.h"

#include "admin/AidParameters.h"
#include "applications/AidCalculation.h"
#include "applications/Cnp.h"
#include "applications/EditorRows.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TextRules.h"
#include "core/Ui.h"

#include <algorithm>

namespace focaris {

void ApplicationEditor::normalise()
{
    f_.NrCam = QString::number(FieldWhole(f_.NrCam));
    f_.NrMembri = QString::number(FieldWhole(f_.NrMembri));
    f_.Copii14 = FormatNumber(FieldNumber(f_.Copii14));
    f_.Copii18 = FormatNumber(FieldNumber(f_.Copii18));
    f_.VenitTotal = FormatNumber(FieldNumber(f_.VenitTotal));
    // Every text that is stored or goes into a statement is cleaned, the names, the
    // supplier and the reason included: a double quote typed there would otherwise end
    // the statement's text constant after the window had closed as saved.
    for (QString *t : {&f_.Localit, &f_.Adresa, &f_.SitProf, &f_.Asoc, &f_.NrCont, &f_.CodClient, &f_.SubSemn, &f_.TitT,
                       &f_.Furnizor, &f_.MotivC})
        *t = CleanField(*t);
    if (f_.StatutD != QLatin1String("APROBAT"))
        f_.CuModif = false;
}

EditorRefusal ApplicationEditor::checkFields() const
{
    const Amount members = FieldNumber(f_.NrMembri);
    if (!cnp::IsValid(f_.CNPSol))
        return {"CNP incorect!", "CNPSol"};
    if (FieldNumber(f_.Nr_Cere) == Amount())
        return {"Numar de cerere incorect!", "Nr_Cere"};
    const qint64 year = FieldWhole(f_.AnulDec);
    if (year < 2021 || year > 2300)
        return {"Anul este incorect!", "AnulDec"};
    if (f_.CuAjut) {
        const Amount months = FieldNumber(f_.Nr_Luni);
        if (months < Amount(1) || months > Amount(5))
            return {"Perioada incorecta pentru Ajutor!", "Nr_Luni"};
    }
    if ((f_.SupT || f_.CuAjut) && f_.Furnizor.size() < 4)
        return {"Lipseste Furnziorul!", "Furnizor"};
    if (FieldNumber(f_.Tarif) <= Amount())
        return {"Lipseste Tariful GCal!", "Tarif"};
    if (f_.SubSemn.isEmpty())
        return {"Lipseste numele si prenumele Subsemnatului!", "SubSemn"};
    if (f_.TitT.isEmpty())
        return {"Lipseste numele si prenumele titularului!", "TitT"};
    if (!cnp::IsValid(f_.CNPT, true))
        return {"CNP incorect!", "CNPT"};
    if (f_.Localit.isEmpty())
        return {"Lipseste Localitatea titularului!", "Localit"};
    if (members < Amount(1))
        return {"Numar de membri incorect!", "NrMembri"};
    if (motivShown() && f_.MotivC.trimmed().isEmpty())
        return {"Nu ati scris motivul!", "MotivC"};
    if (FieldNumber(f_.Copii14) + FieldNumber(f_.Copii18) > members - Amount(1))
        return {"Mai multi copii decat membri!", "Copii14"};
    if (FieldNumber(f_.NrCam) < Amount(1))
        return {"Trebuie sa exista macar o camera!", "NrCam"};
    if (WorkingMonthCode() == 0)
        return {"Luna in lucru incorecta!", "NrMembri"};
    return {};
}

ApplicationEditor::SaveOutcome ApplicationEditor::save()
{
    SaveOutcome out;
    normalise();
    out.refusal = checkFields();
    if (out.refusal.refused())
        return out;

    const QString month = QString::number(WorkingMonthCode());
    const QString cereri = Quoted(TablePath("Cereri.dbf"));
    // Every other application, those with a blank key (NULL) included.
    const QString except =
        mode_ == EditorMode::Modify ? "AND (NRCRT IS NULL OR NRCRT<>" + QString::number(key_) + ")" : QString();

    // The same applicant already in the month: a question.
    QStringList same{"SELECT NRCRT FROM " + cereri, "WHERE CNP=" + SqlText(f_.CNPSol), "AND LUNACRT=" + month};
    if (!except.isEmpty())
        same << except;
    if (!QuerySql(same).empty() &&
        ui_.message("CNP existent", "Exista deja acest titular in luna aceasta!\rIntroducem totusi cererea asa?",
                    MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return out;

    // The same application number in the month: refused.
    const qint64 number = FieldWhole(f_.Nr_Cere);
    QStringList numbers{"SELECT NR_CERE FROM " + cereri, "WHERE LUNACRT=" + month,
                        "AND NR_CERE=" + QString::number(number)};
    if (!except.isEmpty())
        numbers << except;
    if (!QuerySql(numbers).empty()) {
        out.refusal = {"Mai exista acest numar de cerere in luna aceasta!", "Nr_Cere"};
        return out;
    }

    // The applicant is a member (not the beneficiary) of an application of the month.
    const std::vector<MonthMember> member = MembersInMonth(f_.CNPSol, WorkingMonthCode(), 0, true);
    if (!member.empty()) {
        const QString text = "Acest CNP exista la Cererea \r" + member[0].nrCere + " la Membrul: " + member[0].titular +
                             "!" + "\r" + "Continuam asa?";
        if (ui_.message("Validare Cerere", text, MessageKind::Warning, MessageButton::Da | MessageButton::Nu) !=
            MessageResult::Da)
            return out;
    }

    // An approved application must pass the income test, with or without the heating aid.
    if (f_.StatutD == QLatin1String("APROBAT") &&
        CompensationPercent(int(FieldWhole(f_.NrMembri)), true, FieldNumber(f_.VenitTotal), LoadAidParameters()) == 0) {
        ui_.message("Memorare Cerere", "\rCererea NU se incadreaza pentru ajutor!", MessageKind::Error,
                    MessageButton::OK);
        out.refusal = {"Cererea NU poate fi APROBATA!", "StatutD"};
        return out;
    }

    // Accepted. The next number offered is the one after the largest number of the month,
    // this one included; the counter never goes back, so saving an older application does
    // not bring it back onto a number already used.
    if (number != 0) {
        const sql::ResultSet largest =
            QuerySql(QStringList{"SELECT MAX(NR_CERE) AS M FROM " + cereri, "WHERE LUNACRT=" + month});
        const qint64 used = largest.empty() || largest.value(0, "M").isNull()
                                ? 0
                                : static_cast<qint64>(largest.value(0, "M").toDouble());
        const qint64 counter = static_cast<qint64>(PeekKey("NR_CERE").truncated());
        const qint64 next = std::max({number + 1, used + 1, counter});
        SetKey("NR_CERE", Amount::fromWhole(next));
    }
    if (!f_.Localit.isEmpty() && !localities_.contains(f_.Localit)) {
        localities_ << f_.Localit;
        std::sort(localities_.begin(), localities_.end());
    }
    if (motivShown() && !f_.MotivC.isEmpty() && !reasons_.contains(f_.MotivC)) {
        reasons_ << f_.MotivC;
        WriteReasons(reasons_);
    }
    if (f_.StatutD == QLatin1String("RESPINS")) {
        // A rejected application keeps its contract holders but no supplier data, no
        // association or contract and no supplement.
        for (SupplementData *d : {&gas_, &electricity_}) {
            d->Furnizor.clear();
            d->CodClient.clear();
            d->POD.clear();
        }
        f_.Asoc.clear();
        f_.NrCont.clear();
        sumaL_ = sumaG_ = sumaE_ = sumaT_ = Amount();
    }
    saved_ = true;
    out.saved = true;
    return out;
}

} // namespace focaris
