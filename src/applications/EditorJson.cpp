// Conversion of the editor's fields to and from JSON.
#include "applications/EditorJson.h"

#include "applications/ApplicationEditor.h"
#include "core/Formats.h"

#include <QJsonArray>

#include <initializer_list>
#include <utility>

namespace focaris {

namespace {

enum class Kind { Text, Number, Flag, Date };

struct FieldInfo {
    const char *name;
    Kind kind;
    QString ApplicationFields::*text = nullptr;
    bool ApplicationFields::*flag = nullptr;
};

const std::vector<FieldInfo> &fieldInfos()
{
    using F = ApplicationFields;
    static const std::vector<FieldInfo> infos{
        {"CNPSol", Kind::Text, &F::CNPSol},
        {"SubSemn", Kind::Text, &F::SubSemn},
        {"Nr_Cere", Kind::Number, &F::Nr_Cere},
        {"NewNo", Kind::Flag, nullptr, &F::NewNo},
        {"DataCereD", Kind::Date},
        {"LunaDec", Kind::Text, &F::LunaDec},
        {"AnulDec", Kind::Number, &F::AnulDec},
        {"Nr_Luni", Kind::Number, &F::Nr_Luni},
        {"Localit", Kind::Text, &F::Localit},
        {"Adresa", Kind::Text, &F::Adresa},
        {"NrMembri", Kind::Number, &F::NrMembri},
        {"VenitTotal", Kind::Number, &F::VenitTotal},
        {"TitT", Kind::Text, &F::TitT},
        {"CNPT", Kind::Text, &F::CNPT},
        {"Furnizor", Kind::Text, &F::Furnizor},
        {"CodClient", Kind::Text, &F::CodClient},
        {"NrCont", Kind::Text, &F::NrCont},
        {"Asoc", Kind::Text, &F::Asoc},
        {"Tarif", Kind::Number, &F::Tarif},
        {"StatutD", Kind::Text, &F::StatutD},
        {"MotivC", Kind::Text, &F::MotivC},
        {"CuModif", Kind::Flag, nullptr, &F::CuModif},
        {"L416", Kind::Flag, nullptr, &F::L416},
        {"ASF", Kind::Flag, nullptr, &F::ASF},
        {"StCiv", Kind::Text, &F::StCiv},
        {"SitScol", Kind::Text, &F::SitScol},
        {"NrCam", Kind::Number, &F::NrCam},
        {"Asig", Kind::Flag, nullptr, &F::Asig},
        {"SitProf", Kind::Text, &F::SitProf},
        {"Copii14", Kind::Number, &F::Copii14},
        {"Copii18", Kind::Number, &F::Copii18},
        {"CuAjut", Kind::Flag, nullptr, &F::CuAjut},
        {"SupL", Kind::Flag, nullptr, &F::SupL},
        {"SupT", Kind::Flag, nullptr, &F::SupT},
        {"Actualizare", Kind::Flag, nullptr, &F::Actualizare},
    };
    return infos;
}

// A text of the JSON, or a number given as a JSON number.
bool readText(const QJsonValue &v, QString &out)
{
    if (v.isString()) {
        out = v.toString();
        return true;
    }
    if (v.isDouble()) {
        out = FormatNumber(Amount::fromDouble(v.toDouble()));
        return true;
    }
    if (v.isNull()) {
        out.clear();
        return true;
    }
    return false;
}

EditorRefusal checkText(const QString &name, const QString &field, const QString &text)
{
    const int width = ColumnWidth(field);
    if (width > 0 && text.size() > width)
        return {QStringLiteral("Textul are mai mult de %1 caractere!").arg(width), name};
    return {};
}

// Reads the named texts of `o` that are present into the fields of `target`, each checked
// as the window checks it; the first refusal ends the reading.
template <typename Fields>
EditorRefusal readTexts(const QJsonObject &o, const QString &prefix,
                        std::initializer_list<std::pair<const char *, QString Fields::*>> items, Fields &target)
{
    for (const auto &[name, text] : items) {
        if (!o.contains(name))
            continue;
        QString value;
        if (!readText(o.value(name), value))
            return {QStringLiteral("Se asteapta un text!"), prefix + name};
        const EditorRefusal r = checkText(prefix + name, name, value);
        if (r.refused())
            return r;
        target.*text = value;
    }
    return {};
}

EditorRefusal checkList(const QString &name, const QString &text, const QStringList &items, bool emptyAllowed)
{
    if ((emptyAllowed && text.isEmpty()) || items.contains(text))
        return {};
    return {QStringLiteral("Valoarea nu este in lista!"), name};
}

} // namespace

const QStringList &EditorFieldNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const FieldInfo &i : fieldInfos())
            l << i.name;
        return l;
    }();
    return names;
}

QJsonObject FieldsToJson(const ApplicationFields &f)
{
    QJsonObject o;
    for (const FieldInfo &i : fieldInfos()) {
        if (i.kind == Kind::Flag)
            o[i.name] = f.*(i.flag);
        else if (i.kind == Kind::Date)
            o[i.name] = FormatDate(f.DataCereD);
        else
            o[i.name] = f.*(i.text);
    }
    return o;
}

QJsonObject SupplementToJson(const SupplementData &d)
{
    return {
        {"Furnizor", d.Furnizor}, {"CodClient", d.CodClient}, {"POD", d.POD}, {"Titular", d.Titular}, {"CNP", d.CNP}};
}

QJsonObject MemberToJson(const MemberFields &m)
{
    return {{"Titular", m.Titular}, {"CNP", m.CNP}, {"Venit", m.Venit}, {"Calitate", m.Calitate}};
}

QJsonObject EditorToJson(const ApplicationEditor &e)
{
    QJsonObject o = FieldsToJson(e.fields());
    QJsonArray members;
    for (const MemberRow &m : e.members())
        members.append(MemberToJson({m.titular, m.cnp, FormatNumber(m.venit), m.calitate}));
    o["members"] = members;
    o["gas"] = SupplementToJson(e.supplement(SupplementKind::Gas));
    QJsonObject el = SupplementToJson(e.supplement(SupplementKind::Electricity));
    el["SinguraSursa"] = false;
    o["electricity"] = el;
    return o;
}

EditorRefusal FieldsFromJson(const QJsonObject &o, ApplicationFields &f, QStringList &given)
{
    for (const FieldInfo &i : fieldInfos()) {
        if (!o.contains(i.name))
            continue;
        const QJsonValue v = o.value(i.name);
        const QString name = i.name;
        given << name;
        if (i.kind == Kind::Flag) {
            if (!v.isBool())
                return {QStringLiteral("Se asteapta true sau false!"), name};
            f.*(i.flag) = v.toBool();
            continue;
        }
        QString text;
        if (!readText(v, text))
            return {QStringLiteral("Se asteapta un text!"), name};
        if (i.kind == Kind::Date) {
            const QDate d = ParseDate(text);
            if (!d.isValid())
                return {QStringLiteral("Data incorecta (zz.ll.aaaa)!"), name};
            f.DataCereD = d;
            continue;
        }
        const EditorRefusal r = checkText(name, name, text);
        if (r.refused())
            return r;
        f.*(i.text) = text;
    }
    static const QStringList months{"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"};
    for (const EditorRefusal &r :
         {checkList("LunaDec", f.LunaDec, months, false), checkList("StatutD", f.StatutD, StatusTexts(), false),
          checkList("StCiv", f.StCiv, CivilStatusTexts(), true),
          checkList("SitScol", f.SitScol, SchoolingTexts(), true)})
        if (r.refused())
            return r;
    return {};
}

EditorRefusal SupplementFromJson(const QJsonObject &o, const QString &prefix, SupplementData &d, bool &singleSource)
{
    const EditorRefusal r = readTexts<SupplementData>(o, prefix,
                                                      {{"Furnizor", &SupplementData::Furnizor},
                                                       {"CodClient", &SupplementData::CodClient},
                                                       {"POD", &SupplementData::POD},
                                                       {"Titular", &SupplementData::Titular},
                                                       {"CNP", &SupplementData::CNP}},
                                                      d);
    if (r.refused())
        return r;
    singleSource = o.value("SinguraSursa").toBool(false);
    return {};
}

EditorRefusal MemberFromJson(const QJsonObject &o, const QString &prefix, MemberFields &m)
{
    const EditorRefusal r = readTexts<MemberFields>(o, prefix,
                                                    {{"Titular", &MemberFields::Titular},
                                                     {"CNP", &MemberFields::CNP},
                                                     {"Venit", &MemberFields::Venit},
                                                     {"Calitate", &MemberFields::Calitate}},
                                                    m);
    if (r.refused())
        return r;
    return checkList(prefix + "Calitate", m.Calitate, MemberRoles(), false);
}

} // namespace focaris
