// focaris-tool application and member: add from JSON, show -> modify round trip,
// refusals with nothing written, the look-up, delete.
#include "EditorFixture.h"

#include "core/Keys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace focaris::test {
namespace {

class EditorTool : public EditorFixture {
protected:
    int tool(const std::string &args, std::string *out = nullptr)
    {
        return run(shellQuote(toolPath()) + " " + args + " 2>&1", out, true);
    }
    std::string folder() const { return shellQuote(DataFolder().toStdString()); }
    std::string json(const QJsonObject &o, const char *name)
    {
        const auto path = tmp / name;
        writeFile(path, QJsonDocument(o).toJson().toStdString());
        return shellQuote(path.string());
    }
};

TEST_F(EditorTool, AddShowModifyRoundTripAndRefusals)
{
    const QString cnp = Cnp("180010112345");
    QJsonObject app{
        {"CNPSol", cnp},     {"SubSemn", "POPESCU ION"}, {"Nr_Cere", "21"},        {"DataCereD", "03.11.2025"},
        {"AnulDec", "2025"}, {"Localit", "ORAS"},        {"Furnizor", "TERMO SA"}, {"Tarif", 300},
        {"NrCam", "2"},      {"StCiv", "Casatorit /a"},  {"Actualizare", true},    {"SupL", true}};
    app["members"] = QJsonArray{
        QJsonObject{{"Titular", "POPESCU ION"}, {"CNP", cnp}, {"Venit", "500"}},
        QJsonObject{
            {"Titular", "POPESCU ANA"}, {"CNP", Cnp("285020312345")}, {"Venit", 300}, {"Calitate", "partener"}}};
    app["gas"] = QJsonObject{{"Furnizor", "GAZ SA"}, {"CodClient", "G1"}, {"POD", "P1"}};

    // A text longer than its column is refused, and so is a bad member; nothing is stored.
    QJsonObject tooLong = app;
    tooLong["SubSemn"] = QString(33, 'A');
    std::string out;
    EXPECT_EQ(tool("application add " + folder() + " --from " + json(tooLong, "long.json"), &out), 1);
    EXPECT_NE(out.find("refused: SubSemn: Textul are mai mult de 32 caractere!"), std::string::npos) << out;
    QJsonObject badMember = app;
    badMember["members"] = QJsonArray{QJsonObject{{"Titular", "X"}, {"CNP", "123"}}};
    EXPECT_EQ(tool("application add " + folder() + " --from " + json(badMember, "bad.json"), &out), 1);
    EXPECT_NE(out.find("refused: members[0].CNP: CNP aiurit!"), std::string::npos) << out;
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + cereri()), Rows{"0"});
    EXPECT_EQ(PeekKey("NROM"), Amount(1));

    ASSERT_EQ(tool("application add " + folder() + " --from " + json(app, "app.json"), &out), 0) << out;
    EXPECT_NE(out.find("nrcrt=1"), std::string::npos) << out;
    EXPECT_EQ(rows("SELECT SUBSEMN, NR_MEMBRI, TVENIT, SUMAL, SUMAG, FURNG, TITG, STCIV FROM " + cereri()),
              Rows{"POPESCU ION|2|800|20|10|GAZ SA|POPESCU ION|C"});

    // show prints what modify mode loads; given back unchanged it stores the same row.
    ASSERT_EQ(run(shellQuote(toolPath()) + " application show " + folder() + " 1", &out), 0);
    QJsonObject shown = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
    EXPECT_EQ(shown["SubSemn"].toString(), "POPESCU ION");
    EXPECT_EQ(shown["members"].toArray().size(), 2);
    const Rows before = rows("SELECT * FROM " + cereri());
    ASSERT_EQ(tool("application modify " + folder() + " 1 --from " + json(shown, "shown.json"), &out), 0) << out;
    EXPECT_EQ(rows("SELECT * FROM " + cereri()), before);

    // A same-month duplicate without --yes is not stored; with --yes it is.
    QJsonObject second = app;
    second.remove("members");
    second.remove("gas");
    second["Nr_Cere"] = "22";
    second["NrMembri"] = "1";
    second["VenitTotal"] = "500";
    second["Actualizare"] = false;
    EXPECT_EQ(tool("application add " + folder() + " --from " + json(second, "second.json"), &out), 1);
    EXPECT_NE(out.find("CNP existent: Exista deja acest titular in luna aceasta! Introducem totusi cererea asa?"),
              std::string::npos)
        << out;
    ASSERT_EQ(tool("application add " + folder() + " --yes --from " + json(second, "second.json"), &out), 0) << out;

    // The look-up of the CNP finds the newest application and its members.
    ASSERT_EQ(run(shellQuote(toolPath()) + " application lookup " + folder() + " " + cnp.toStdString(), &out), 0);
    const QJsonObject found = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
    EXPECT_TRUE(found["hint"].toString().startsWith("A mai depus cererea nr.22 /"));

    // Members of a stored application, then the deletion.
    QJsonObject child{{"Titular", "POPESCU MIC"}, {"CNP", Cnp("516010112345")}, {"Calitate", "copil"}};
    ASSERT_EQ(tool("member add " + folder() + " 1 --from " + json(child, "child.json"), &out), 0) << out;
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + oameni() + " WHERE NRCRT=1"), Rows{"3"});
    EXPECT_EQ(tool("application delete " + folder() + " 1", &out), 1);
    ASSERT_EQ(tool("application delete " + folder() + " 1 --yes", &out), 0) << out;
    EXPECT_EQ(rows("SELECT COUNT(*) FROM " + oameni() + " WHERE NRCRT=1"), Rows{"0"});
}

} // namespace
} // namespace focaris::test
