// The hand-worked data folder of the document tests and the readers of their results.
#include "MonthFolder.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "documents/TemplateStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sstream>

namespace focaris::test {

namespace {

const char *kColumns =
    "NRCRT, LUNACRT, NR_CERE, SUBSEMN, CNP, LOCALIT, ADRESA, STATUT, CUMODIF, NR_DISP, DATADISP, DATACERE, "
    "CUAJUT, CUANTUM, NR_LUNI, TOTAL, TARIF, VALMAX, SUMAL, SUMAG, SUMAE, SUMAT, MOTIVR, NR_MEMBRI, TVENIT, "
    "VENITM, FURNG, CODCLG, PODG, FURNE, CODCLE, PODE, FURNT, CODCLT";

// November 2025 is month code 24310.
const char *kRows[] = {
    "1, 24310, 101, \"POPESCU ION VASILE\", \"1800101260010\", \"SÂNCRAIU\", \"STR. MARE NR. 1\", \"APROBAT\", \"\", "
    "\"2\", \"05.11.2025\", \"03.11.2025\", \"X\", 80.5, 5, 1769.5, 353.9, 353.9, 20, 0, 0, 0, \"\", 3, 1500.5, "
    "500.17, \"\", \"\", \"\", \"ELECTRICA\", \"E-1\", \"RO-E-1\", \"\", \"\"",
    "2, 24310, 102, \"IONESCU MARIA\", \"2850202260022\", \"\", \"BL. A\\B AP. {3}\", \"APROBAT\", \"\", \"9\", "
    "\"06.11.2025\", \"04.10.2025\", \"\", 0, 5, 0, 0, 0, 0, 45.7, 0, 0, \"\", 2, 900, 450, \"ENGIE\", \"C123\", "
    "\"P456\", \"\", \"\", \"\", \"\", \"\"",
    "3, 24310, 103, \"BĂLAN\", \"5010101260031\", \"SÂNCRAIU\", \"STR. NOUA 3\", \"APROBAT\", \"\", \"10\", "
    "\"07.11.2025\", \"02.11.2025\", \"X\", 100, 5, 2500.5, 400, 500.1, 0, 0, 30, 0, \"\", 1, 150, 150, \"\", "
    "\"\", \"\", \"\", \"\", \"\", \"TERMO\", \"T-9\"",
    "4, 24310, 104, \"MĂRGINEAN ANA\", \"6020202260044\", \"CORUNCA\", \"STR. LUNGA 4\", \"APROBAT\", \"X\", "
    "\"10\", \"07.11.2025\", \"01.11.2025\", \"X\", 60, 4, 1200, 300, 300, 0, 0, 0, 15, \"\", 4, 2400, 600, \"\", "
    "\"\", \"\", \"\", \"\", \"\", \"\", \"\"",
    "5, 24310, 105, \"VASILE DAN\", \"1700303260055\", \"CORUNCA\", \"STR. SCURTA 5\", \"RESPINS\", \"\", \"\", "
    "NULL, \"05.11.2025\", \"\", 0, 0, 0, 0, 0, 0, 0, 0, 0, \"venitul depaseste limita\", 2, 5000, 2500, \"\", "
    "\"\", \"\", \"\", \"\", \"\", \"\", \"\"",
    "6, 24310, 106, \"ZAHARIA ELENA\", \"\", \"\", \"STR. VECHE 6\", \"RESPINS\", \"\", \"0\", \"08.11.2025\", "
    "\"06.11.2025\", \"\", 0, 0, 0, 0, 0, 0, 0, 0, 0, \"dosar incomplet\", 1, 0, 0, \"\", \"\", \"\", \"\", \"\", "
    "\"\", \"\", \"\"",
    "7, 24310, 107, \"POP ANA\", \"2900101260066\", \"SÂNCRAIU\", \"STR. MARE 7\", \"APROBAT\", \"\", \"\", NULL, "
    "\"07.11.2025\", \"X\", 90, 5, 1000, 200, 200, 0, 0, 0, 0, \"\", 2, 400, 200, \"\", \"\", \"\", \"\", \"\", "
    "\"\", \"\", \"\"",
    "8, 24310, 108, \"ŢUGUI PETRU\", \"1750505260077\", \"CORUNCA\", \"STR. A 8\", \"RESPINS\", \"\", \"12\", "
    "\"09.11.2025\", \"08.11.2025\", \"\", 0, 0, 0, 0, 0, 0, 0, 0, 0, \"nu locuieste la adresa\", 1, 0, 0, \"\", "
    "\"\", \"\", \"\", \"\", \"\", \"\", \"\"",
    "9, 24310, 109, \"ANDREI ALEXANDRU\", \"1650606260088\", \"SÂNCRAIU\", \"STR. B 9\", \"APROBAT\", \"\", \"9\", "
    "\"06.11.2025\", \"05.10.2025\", \"\", 0, 5, 0, 0, 0, 20, 0, 0, 0, \"\", 2, 600, 300, \"\", \"\", \"\", \"\", "
    "\"\", \"\", \"\", \"\"",
    // October 2025: the same disposition number in another month.
    "10, 24309, 90, \"ALTA LUNA\", \"1800101260099\", \"SÂNCRAIU\", \"STR. C\", \"APROBAT\", \"\", \"2\", "
    "\"05.10.2025\", \"01.10.2025\", \"X\", 50, 5, 100, 100, 100, 0, 0, 0, 0, \"\", 1, 0, 0, \"\", \"\", \"\", \"\", "
    "\"\", \"\", \"\", \"\"",
};

} // namespace

void MonthFolder::SetUp()
{
    qputenv("FOCARIS_SAVE_ROOTS", "");
    InitContextForTests(tmp.qpath() + "/prog");
    CreateTables();
    InstallMissingFiles(DataFolder());
    Municipality m;
    m.uat = QStringLiteral("Comuna");
    m.primaria = QStringLiteral("SÂNCRAIU DE MUREŞ");
    m.sirues = QStringLiteral("4322513");
    m.judet = QStringLiteral("MURES");
    m.codJud = QStringLiteral("26");
    m.primar = QStringLiteral("Ion Primaru");
    m.viceprimar = QStringLiteral("Ana Secretara");
    m.contabil = QString();
    m.intocmit = QStringLiteral("Maria Referent");
    m.director = QString();
    m.tipLoc = 0;
    SaveMunicipality(m);
    SetWorkingMonth(QStringLiteral("11.2025"));
    WriteSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"), QStringLiteral("11.2025"));
    QStringList values;
    for (const char *row : kRows)
        values << QStringLiteral("(") + QString::fromUtf8(row) + QStringLiteral(")");
    exec(QStringLiteral("INSERT INTO ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))) + QStringLiteral(" (") +
         QString::fromLatin1(kColumns) + QStringLiteral(")\nVALUES ") + values.join(QStringLiteral(",\n")));
}

void MonthFolder::exec(const QString &statement)
{
    ExecSql(statement);
}

QString MonthFolder::data() const
{
    return DataFolder();
}

void MonthFolder::writeKeyTemplate(const QString &name, const QStringList &keys, bool untilMarker) const
{
    QByteArray t = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard RECORD\\par\r\n";
    for (const QString &key : keys) {
        QString written = key;
        // One small letter keeps the value as given (a key in capitals capitalises it).
        const int letter = written.indexOf(QRegularExpression(QStringLiteral("[A-Z]")));
        if (letter >= 0)
            written[letter] = written[letter].toLower();
        // The final "|" keeps a value's trailing blank visible in the text.
        t += "\\pard " + key.mid(1, key.size() - 2).toLatin1() + "=" + written.toLatin1() + "|\\par\r\n";
    }
    if (untilMarker)
        t += "\\pard terminoiu\\par\r\n\\pard AFTER=[Nume]\\par\r\n";
    t += "}\r\n";
    QFile f(DataFolder() + QLatin1Char('/') + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(t);
}

std::vector<Record> recordsOf(const std::string &text)
{
    std::vector<Record> out;
    // LibreOffice starts a UTF-8 text with a byte-order mark.
    std::istringstream in(text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\f'))
            line.pop_back();
        if (!line.empty() && line.front() == '\f')
            line.erase(0, 1);
        if (line == "RECORD") {
            out.emplace_back();
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || out.empty())
            continue;
        std::string value = line.substr(eq + 1);
        if (!value.empty() && value.back() == '|')
            value.pop_back();
        out.back()[line.substr(0, eq)] = value;
    }
    return out;
}

void keepSample(const QString &file, const QString &name)
{
    const QString folder = qEnvironmentVariable("FOCARIS_SAMPLES");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QFile::remove(folder + QLatin1Char('/') + name);
    QFile::copy(file, folder + QLatin1Char('/') + name);
}

bool haveLibreOffice()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

bool convertWithLibreOffice(const QStringList &files, const QString &filter, const QString &outDir)
{
    if (!haveLibreOffice())
        return false;
    QDir().mkpath(outDir);
    QTemporaryDir profile;
    QProcess lo;
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                     QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"),
                     filter,
                     QStringLiteral("--outdir"),
                     outDir};
    lo.start(QStringLiteral("soffice"), args + files);
    // LibreOffice may take long on a loaded machine; the test waits for it to finish.
    lo.waitForFinished(-1);
    return lo.exitStatus() == QProcess::NormalExit;
}

std::vector<std::string> xlrdCells(const QString &workbook)
{
    static const char *script = "import sys, xlrd\n"
                                "b = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
                                "for s in range(b.nsheets):\n"
                                "    sh = b.sheet_by_index(s)\n"
                                "    for r in range(sh.nrows):\n"
                                "        for c in range(sh.ncols):\n"
                                "            cell = sh.cell(r, c)\n"
                                "            if cell.ctype == 0: continue\n"
                                "            v = cell.value\n"
                                "            if cell.ctype in (2, 3): v = repr(float(v))\n"
                                "            print('%d,%d,%d,%d,%s' % (s + 1, r + 1, c + 1, cell.ctype, v))\n";
    QProcess py;
    // The system's python3, where python3-xlrd is installed.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                 : QStringLiteral("python3");
    py.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), workbook});
    py.waitForFinished(-1);
    std::vector<std::string> lines;
    std::istringstream in(py.readAllStandardOutput().toStdString());
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

} // namespace focaris::test
