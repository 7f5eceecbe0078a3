// The RTF documents of the month filled from the hand-worked folder, converted to text
// by LibreOffice and compared value by value: the separate dispositions of each kind,
// the reports, both application forms and the social inquiry.
#include "MonthFolder.h"

#include "core/Context.h"
#include "documents/ApplicationForms.h"
#include "documents/ApplicationReports.h"
#include "documents/SeparateDispositions.h"
#include "documents/SocialInquiry.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace focaris::test {
namespace {

using namespace focaris::documents;

const QStringList kDispositionKeys = {
    "[JUDET]",     "[TIPLOC]", "[LOC]",      "[NR]",         "[DATA]",       "[DATA01]", "[DLUI]",
    "[DOMNUL]",    "[NUME]",   "[NRCERERE]", "[DATACERERE]", "[NRDATACERE]", "[PRIMAR]", "[LOCART]",
    "[Domiciliu]", "[CNP]",    "[Motiv]",    "[SECRETAR]",   "[CONTABIL]",   "[SUMA]",   "[LITERA]",
    "[PERIOADA]",  "[TOTAL]",  "[TARIF]",    "[VALMAX]",     "[CUAJUT]",     "[SL]",     "[SUMAL]",
    "[SG]",        "[SUMAG]",  "[SE]",       "[SUMAE]",      "[ST]",         "[SUMAT]"};
const QStringList kReportKeys = {"[JUDET]",    "[Dlui]",       "[DOMNUL]",    "[NUME]",     "[NRREF]",    "[DATAREF]",
                                 "[NRCERERE]", "[DATACERERE]", "[Domiciliu]", "[CNP]",      "[SUMA]",     "[TOTAL]",
                                 "[TARIF]",    "[VALMAX]",     "[INTOCMIT]",  "[SECRETAR]", "[DIRECTOR]", "[LOCALIT]",
                                 "[SUPL]",     "[SUPG]",       "[SUPT]",      "[SUPE]"};
const QStringList kFormKeys = {"[UAT]",    "[NUME]",  "[PRENUME]", "[CNP]",    "[TVENIT]", "[VENITM]",
                               "[NUMEP]",  "[AI]",    "[SU]",      "[SL]",     "[SG]",     "[FURNG]",
                               "[CODCLG]", "[PODG]",  "[SE]",      "[ST]",     "[FURNTI]", "[CODCLTI]",
                               "[FURNT]",  "[FURNE]", "[CODCLT]",  "[CODCLE]", "[PODE]",   "[DATACERE]"};
const QStringList kInquiryKeys = {"[UAT]",      "[TITULAR]", "[NUME]",   "[PRENUME]", "[NR_CERE]", "[DATAAZI]",
                                  "[DATACERE]", "[CNP]",     "[TVENIT]", "[VENITM]",  "[INTOCMIT]"};

const std::string kDots = "..........";

// Checks the listed values of a record; keys not listed are not looked at.
void expectValues(const Record &r, const Record &want)
{
    for (const auto &[key, value] : want) {
        const auto it = r.find(key);
        ASSERT_NE(it, r.end()) << key << " missing";
        EXPECT_EQ(it->second, value) << key;
    }
}

class RtfDocuments : public MonthFolder {};

TEST_F(RtfDocuments, EveryValueAsTheDocumentsDefineIt)
{
    if (!haveLibreOffice())
        GTEST_SKIP() << "LibreOffice is not installed";
    writeKeyTemplate("Stabilire.rtf", kDispositionKeys);
    writeKeyTemplate("Modificare.rtf", kDispositionKeys);
    writeKeyTemplate("Respingere.rtf", kDispositionKeys);
    writeKeyTemplate("Referat.rtf", kReportKeys);
    writeKeyTemplate("ModCerere.rtf", kFormKeys, true);
    writeKeyTemplate("ModCerereS.rtf", kFormKeys, true);
    writeKeyTemplate("ModelAncheta2.rtf", kInquiryKeys, true);

    const QDate start(2025, 12, 1);
    struct Job {
        QString name;
        Outcome outcome;
    };
    std::vector<Job> jobs;
    auto disp = [&](const char *name, DispositionKind k, const char *from, const char *to) {
        jobs.push_back({name, PrintSeparateDispositions(ui, k, {from, to, start}, file(name))});
    };
    disp("grant.rtf", DispositionKind::Grant, "2", "10");
    disp("grant0.rtf", DispositionKind::Grant, "0", "0");
    disp("modif.rtf", DispositionKind::Modification, "10", "10");
    disp("reject0.rtf", DispositionKind::Rejection, "0", "0");
    jobs.push_back({"reports.rtf", PrintReports(ui, {"101", "109"}, file("reports.rtf"))});
    jobs.push_back({"full1.rtf", PrintApplicationForm(ui, FormKind::Full, 1, file("full1.rtf"))});
    jobs.push_back({"full2.rtf", PrintApplicationForm(ui, FormKind::Full, 2, file("full2.rtf"))});
    jobs.push_back({"short3.rtf", PrintApplicationForm(ui, FormKind::Short, 3, file("short3.rtf"))});
    const Outcome inquiry = AddInquiry(ui, 3, false);
    ASSERT_TRUE(inquiry.written) << ui.lastMessage().toStdString();
    QStringList files{inquiry.file};
    for (const Job &j : jobs) {
        ASSERT_TRUE(j.outcome.written) << j.name.toStdString() << ": " << ui.lastMessage().toStdString();
        files << j.outcome.file;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.opened.isEmpty()) << "a document written to a named file is not opened";

    const QString outDir = file("text");
    ASSERT_TRUE(convertWithLibreOffice(files, "txt:Text (encoded):UTF8", outDir));
    auto records = [&](const QString &name) {
        return recordsOf(readFile((outDir + "/" + QFileInfo(name).completeBaseName() + ".txt").toStdString()));
    };

    const Record office = {{"JUDET", "MURES"},        {"TIPLOC", "COMUNA"},    {"LOC", "SÂNCRAIU DE MUREŞ"},
                           {"PRIMAR", "Ion Primaru"}, {"LOCART", "comunei "},  {"SECRETAR", "Ana Secretara"},
                           {"CONTABIL", kDots},       {"DATA01", "01.12.2025"}};
    {
        SCOPED_TRACE("grant 2 to 10: disposition 10 comes before 2, as texts sort");
        const auto r = records("grant.rtf");
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(r[3].at("NR"), "9");
        EXPECT_EQ(r[3].at("NUME"), "ANDREI ALEXANDRU");
        for (const auto &one : r)
            expectValues(one, office);
        expectValues(r[0], {{"NR", "10"},
                            {"DATA", "07.11.2025"},
                            {"DLUI", "domnului"},
                            {"NUME", "BĂLAN"},
                            {"NRCERERE", "103"},
                            {"DATACERERE", "02.11.2025"},
                            {"NRDATACERE", "103/02.11.2025"},
                            {"Domiciliu", "STR. NOUA 3, SÂNCRAIU"},
                            {"CNP", "5010101260031"},
                            {"Motiv", kDots},
                            {"SUMA", "100"},
                            {"LITERA", "a"},
                            {"PERIOADA", "5"},
                            {"TOTAL", "2500"},
                            {"TARIF", "400"},
                            {"VALMAX", "500.10"},
                            {"CUAJUT", "X"},
                            {"SL", " "},
                            {"SUMAL", "0"},
                            {"SG", " "},
                            {"SUMAG", "0"},
                            {"SE", "X"},
                            {"SUMAE", "30"},
                            {"ST", " "},
                            {"SUMAT", "0"}});
        expectValues(r[1], {{"NR", "2"},
                            {"DLUI", "domnului"},
                            {"NUME", "POPESCU ION VASILE"},
                            {"SUMA", "80"},
                            {"LITERA", "c"},
                            {"TOTAL", "1770"},
                            {"TARIF", "353.9"},
                            {"VALMAX", "353.90"},
                            {"SL", "X"},
                            {"SUMAL", "20"},
                            {"Domiciliu", "STR. MARE NR. 1, SÂNCRAIU"}});
        // A gas-only supplement, no heating aid, an empty locality, a backslash and braces.
        expectValues(r[2], {{"NR", "9"},
                            {"DLUI", "doamnei"},
                            {"Domiciliu", "BL. A\\B AP. (3)"},
                            {"CUAJUT", kDots},
                            {"SUMA", "0"},
                            {"LITERA", "j"},
                            {"TOTAL", "0"},
                            {"VALMAX", "0.00"},
                            {"SL", " "},
                            {"SUMAL", "0"},
                            {"SG", "X"},
                            {"SUMAG", "45.7"},
                            {"SE", " "},
                            {"SUMAE", "0"},
                            {"ST", " "},
                            {"SUMAT", "0"}});
    }
    {
        SCOPED_TRACE("grant 0 to 0: the approved applications without a number");
        const auto r = records("grant0.rtf");
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"NR", kDots}, {"NUME", "POP ANA"}, {"DATA", kDots}, {"DLUI", "doamnei"}});
    }
    {
        SCOPED_TRACE("modification 10");
        const auto r = records("modif.rtf");
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"NR", "10"},
                            {"NUME", "MĂRGINEAN ANA"},
                            {"DLUI", "doamnei"},
                            {"SUMA", "60"},
                            {"LITERA", "e"},
                            {"PERIOADA", "4"},
                            {"ST", "X"},
                            {"SUMAT", "15"}});
    }
    {
        SCOPED_TRACE("rejection 0 to 0: a blank number and \"0\"");
        const auto r = records("reject0.rtf");
        ASSERT_EQ(r.size(), 2u);
        expectValues(r[0], {{"NR", kDots},
                            {"NUME", "VASILE DAN"},
                            {"DLUI", "domnului"},
                            {"DOMNUL", "domnul"},
                            {"Motiv", "venitul depaseste limita"},
                            {"DATA", kDots}});
        expectValues(r[1], {{"NR", kDots},
                            {"NUME", "ZAHARIA ELENA"},
                            {"DLUI", "doamnei"},
                            {"DOMNUL", "doamna"},
                            {"CNP", kDots},
                            {"Domiciliu", "STR. VECHE 6"},
                            {"Motiv", "dosar incomplet"}});
    }
    {
        SCOPED_TRACE("reports 101 to 109: approved only, by application number");
        const auto r = records("reports.rtf");
        ASSERT_EQ(r.size(), 6u);
        std::vector<std::string> numbers;
        for (const auto &one : r)
            numbers.push_back(one.at("NRREF"));
        EXPECT_EQ(numbers, (std::vector<std::string>{"101", "102", "103", "104", "107", "109"}));
        expectValues(r[0], {{"JUDET", "MURES"},
                            {"Dlui", "domnului "},
                            {"NUME", "POPESCU ION VASILE"},
                            {"DATAREF", "03.11.2025"},
                            {"NRCERERE", "101"},
                            {"DATACERERE", "03.11.2025"},
                            {"SUMA", "80"},
                            {"TOTAL", "1770"},
                            {"TARIF", "353.90"},
                            {"VALMAX", "353.90"},
                            {"INTOCMIT", "Maria Referent"},
                            {"SECRETAR", "Ana Secretara"},
                            {"DIRECTOR", kDots},
                            {"LOCALIT", "SÂNCRAIU DE MUREŞ"},
                            {"SUPL", "20"},
                            {"SUPG", "0"},
                            {"SUPT", "0"},
                            {"SUPE", "0"}});
        expectValues(r[1],
                     {{"Dlui", "doamnei "}, {"DOMNUL", "doamna"}, {"SUPG", "45"}, {"Domiciliu", "BL. A\\B AP. (3)"}});
        expectValues(r[2], {{"TOTAL", "2500"}, {"TARIF", "400.00"}, {"VALMAX", "500.10"}, {"SUPE", "30"}});
    }
    {
        SCOPED_TRACE("full form of a three-word name without gas");
        const auto r = records("full1.rtf");
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"UAT", "SÂNCRAIU DE MUREŞ"},
                            {"NUME", "POPESCU"},
                            {"PRENUME", "ION VASILE"},
                            {"NUMEP", "POPESCU ION VASILE"},
                            {"CNP", "1800101260010"},
                            {"TVENIT", "1500.50"},
                            {"VENITM", "500.17"},
                            {"AI", "X"},
                            {"SU", "X"},
                            {"SL", "X"},
                            {"SG", " "},
                            {"FURNG", "-"},
                            {"CODCLG", "-"},
                            {"PODG", "-"},
                            {"SE", " "},
                            {"ST", " "},
                            {"FURNTI", kDots},
                            {"CODCLTI", kDots},
                            {"FURNT", " "},
                            {"FURNE", " ELECTRICA"},
                            {"CODCLT", " "},
                            {"CODCLE", " E-1"},
                            {"PODE", " RO-E-1"},
                            {"DATACERE", "03.11.2025"},
                            {"AFTER", "[Nume]"}});
    }
    {
        SCOPED_TRACE("full form with a gas supplement and no heating aid");
        const auto r = records("full2.rtf");
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"AI", kDots},
                            {"SU", "X"},
                            {"SL", " "},
                            {"SG", "X"},
                            {"FURNG", " ENGIE"},
                            {"CODCLG", " C123"},
                            {"PODG", " P456"},
                            {"TVENIT", "900.00"},
                            {"VENITM", "450.00"}});
    }
    {
        SCOPED_TRACE("short form of a one-word name");
        const auto r = records("short3.rtf");
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"NUME", "BĂLAN"},
                            {"PRENUME", kDots},
                            {"NUMEP", "BĂLAN"},
                            {"SE", "X"},
                            {"FURNTI", "TERMO"},
                            {"CODCLTI", "T-9"},
                            {"FURNT", " TERMO"},
                            {"CODCLT", " T-9"}});
    }
    {
        SCOPED_TRACE("social inquiry");
        EXPECT_EQ(QFileInfo(inquiry.file).fileName(), "A5010101260031.rtf");
        EXPECT_EQ(QFileInfo(inquiry.file).absolutePath(), QDir(DataFolder()).absolutePath());
        const auto r = records(inquiry.file);
        ASSERT_EQ(r.size(), 1u);
        expectValues(r[0], {{"UAT", "SÂNCRAIU DE MUREŞ"},
                            {"TITULAR", "BĂLAN"},
                            {"NUME", "BĂLAN"},
                            {"PRENUME", kDots},
                            {"NR_CERE", "103"},
                            {"DATAAZI", QDate::currentDate().toString("dd.MM.yyyy").toStdString()},
                            {"DATACERE", "02.11.2025"},
                            {"CNP", "5010101260031"},
                            {"TVENIT", "150.00"},
                            {"VENITM", "150.00"},
                            {"INTOCMIT", "Maria Referent"}});
    }
}

// The built-in templates open in LibreOffice at once and show every value in place: no
// placeholder is left, and the values of the folder are in the text.
TEST_F(RtfDocuments, BuiltInTemplatesOpenInLibreOfficeWithTheirValues)
{
    if (!haveLibreOffice())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QDate start(2025, 12, 1);
    QStringList files;
    auto add = [&](const Outcome &o) {
        ASSERT_TRUE(o.written) << ui.lastMessage().toStdString();
        files << o.file;
    };
    add(PrintSeparateDispositions(ui, DispositionKind::Grant, {"2", "10", start}, file("Stabilire.rtf")));
    add(PrintSeparateDispositions(ui, DispositionKind::Modification, {"10", "10", start}, file("Modificare.rtf")));
    add(PrintSeparateDispositions(ui, DispositionKind::Rejection, {"0", "12", start}, file("Respingere.rtf")));
    add(PrintReports(ui, {"101", "109"}, file("Referat.rtf")));
    add(PrintApplicationForm(ui, FormKind::Full, 2, file("ModCerere.rtf")));
    add(PrintApplicationForm(ui, FormKind::Short, 1, file("ModCerereS.rtf")));
    add(AddInquiry(ui, 1, false));
    for (const QString &f : files)
        keepSample(f, QFileInfo(f).fileName().startsWith("A1") ? "Ancheta.rtf" : QFileInfo(f).fileName());
    const QString outDir = file("text");
    ASSERT_TRUE(convertWithLibreOffice(files, "txt:Text (encoded):UTF8", outDir));
    const QRegularExpression placeholder(QStringLiteral("\\[[A-Za-z][A-Za-z_0-9]+\\]"));
    for (const QString &f : files) {
        SCOPED_TRACE(f.toStdString());
        const QString text =
            QString::fromStdString(readFile((outDir + "/" + QFileInfo(f).completeBaseName() + ".txt").toStdString()));
        ASSERT_FALSE(text.isEmpty());
        EXPECT_FALSE(placeholder.match(text).hasMatch()) << placeholder.match(text).captured().toStdString();
    }
    auto text = [&](const char *base) {
        return QString::fromStdString(readFile((outDir + "/" + base + ".txt").toStdString()));
    };
    EXPECT_TRUE(text("Stabilire").contains("BL. A\\B AP. (3)")) << "a backslash prints as typed";
    EXPECT_TRUE(text("Stabilire").contains("[X] supliment pentru energie pentru consumul de gaze naturale"));
    EXPECT_TRUE(text("Stabilire").contains("[..........] ajutor pentru încălzirea"));
    EXPECT_TRUE(text("Stabilire").contains("compensare de 80%"));
    EXPECT_TRUE(text("Stabilire").contains("de venit c)"));
    EXPECT_TRUE(text("Respingere").contains("deoarece nu locuieste la adresa."));
    EXPECT_EQ(text("Stabilire").count("DISPOZIŢIA NR.") + text("Stabilire").count("DISPOZIȚIA NR."), 4);
}

} // namespace
} // namespace focaris::test
