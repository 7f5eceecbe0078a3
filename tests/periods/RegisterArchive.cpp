// The independent writer of register archives.
#include "RegisterArchive.h"

#include "TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace focaris::test {

const char *kVmgFiles =
    "IDCERERE N(10,0); CERENR N(10,0); CEREDATA D; NUME C(40); CNP C(13); STR C(40); "
    "STRNR C(10); BLOC C(10); SCARA C(5); ETAJ C(5); APART C(5); LOCALIT C(40); NRMEMBRI N(3,0); "
    "venitp N(10,2); venitv N(10,2); venita N(10,2); STCIV C(2); SITSCOL C(2); ASF C(1); STARE C(12)";
const char *kVmgInquiries = "IDCERERE N(10,0); NRCAMERE N(3,0); POL N(1,0)";
const char *kVmgMembers = "IDCERERE N(10,0); IDOM N(3,0); NUME C(40); CNPDATA C(13); CUANTUMV N(10,2); "
                          "CUANTUMP N(10,2); CUANTUMA N(10,2); RUDACOD N(2,0); PRESTEAZA C(2)";
const char *kAsfFiles = "IDCERERE N(10,0); CERENR N(10,0); CEREDATA D; NUME C(40); CNP C(13); STRADA C(40); "
                        "STRNR C(10); BLOC C(10); SCARA C(5); ETAJ C(5); APT C(5); LOCALIT C(40); STCIV C(2); "
                        "SITSCOL C(2); L416 C(1); NRCAMERE N(3,0); ASIG C(1); STARE C(12)";
const char *kAsfInquiries = "IDANCHET N(10,0); IDCERERE N(10,0); LADATA D; TMEMBRI N(3,0)";
const char *kAsfMembers = "IDCERERE N(10,0); IDANCHET N(10,0); NUME C(40); CNPDATA C(13); CUANTUMV N(10,2); "
                          "CUANTUMA N(10,2); RUDACOD N(2,0)";

bool WriteRegisterArchive(const std::filesystem::path &archive, const std::vector<RegisterTableDef> &tables, int cut)
{
    if (run("/usr/bin/python3 -c 'import dbf' 2>/dev/null") != 0)
        return false;
    QJsonArray list;
    for (const RegisterTableDef &t : tables)
        list.append(QJsonObject{{"name", t.name}, {"fields", t.fields}, {"rows", t.rows}});
    QJsonObject wanted{{"tables", list}};
    if (cut > 0)
        wanted.insert("cut", cut);
    const std::filesystem::path tablesFile = archive.string() + ".json";
    writeFile(tablesFile, QJsonDocument(wanted).toJson().toStdString());
    const std::string script = std::string(PERIODS_TEST_DIR) + "/register_archive.py";
    std::string out;
    const int rc = run("/usr/bin/python3 " + shellQuote(script) + " " + shellQuote(tablesFile.string()) + " " +
                           shellQuote(archive.string()) + " 2>&1",
                       &out);
    std::filesystem::remove(tablesFile);
    if (rc != 0)
        throw std::runtime_error("register_archive.py failed: " + out);
    return true;
}

} // namespace focaris::test
