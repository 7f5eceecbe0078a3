// The grid export: each format read back by an independent reader (xlrd, Python's html and
// csv modules, LibreOffice for RTF and DOC), and the dialog "Export Grila" used as a person
// would, on a view whose columns were moved and hidden.
#include "documents/GridExport.h"
#include "FakeUi.h"
#include "GuiFixture.h"
#include "TestSupport.h"
#include "gui/widgets/GridExportDialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace focaris::test {
namespace {

const char *kPython = "/usr/bin/python3";

// Three applications as a list would show them: a CNP that must stay text, a name with
// Romanian letters and characters that each format must escape, an amount as a number.
std::unique_ptr<QStandardItemModel> sampleModel()
{
    auto model = std::make_unique<QStandardItemModel>(0, 4);
    model->setHorizontalHeaderLabels({QStringLiteral("CNP"), QStringLiteral("Nume si prenume"), QStringLiteral("Total"),
                                      QStringLiteral("Cod client")});
    const auto add = [&](const QString &cnp, const QString &name, double total, const QString &code) {
        auto *amount = new QStandardItem;
        amount->setData(total, Qt::EditRole);
        model->appendRow({new QStandardItem(cnp), new QStandardItem(name), amount, new QStandardItem(code)});
    };
    add(QStringLiteral("0610712265478"), QStringLiteral("ŞTEFĂNESCU ÎONUŢ"), 1769.5, QStringLiteral("007"));
    add(QStringLiteral("2850101123456"), QStringLiteral("POP & <FIUL> \"ANA\"; ION"), 80.25, QStringLiteral("0042"));
    add(QStringLiteral("1900202123457"), QStringLiteral("Ţepeş\tVlad {x} \\y"), 0, QStringLiteral(""));
    return model;
}

std::string python(const std::string &script, const std::filesystem::path &file)
{
    std::string out;
    const int rc =
        run(std::string(kPython) + " -c " + shellQuote(script) + " " + shellQuote(file.string()), &out, true);
    EXPECT_EQ(rc, 0) << out;
    return out;
}

std::string exported(const QAbstractItemModel &model, GridFormat format, const std::filesystem::path &file)
{
    QString error;
    EXPECT_TRUE(ExportGrid(model, AllGridColumns(model), format, QString::fromStdString(file.string()), error))
        << error.toStdString();
    return readFile(file);
}

TEST(GridExport, WorkbookKeepsCodesAsTextAndAmountsAsNumbers)
{
    TempDir tmp;
    auto model = sampleModel();
    exported(*model, GridFormat::Xls, tmp / "t.xls");
    const std::string out = python("import sys, xlrd\n"
                                   "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                   "for r in range(s.nrows):\n"
                                   "    print('|'.join('%d:%s' % (c.ctype, c.value) for c in s.row(r)))\n",
                                   tmp / "t.xls");
    EXPECT_EQ(out, "1:CNP|1:Nume si prenume|1:Total|1:Cod client\n"
                   "1:0610712265478|1:ŞTEFĂNESCU ÎONUŢ|2:1769.5|1:007\n"
                   "1:2850101123456|1:POP & <FIUL> \"ANA\"; ION|2:80.25|1:0042\n"
                   "1:1900202123457|1:Ţepeş\tVlad {x} \\y|2:0.0|0:\n");
}

TEST(GridExport, HtmlCsvAndTextReadBackAsShown)
{
    TempDir tmp;
    auto model = sampleModel();
    const std::string html = exported(*model, GridFormat::Html, tmp / "t.html");
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("POP &amp; &lt;FIUL&gt; &quot;ANA&quot;; ION"), std::string::npos);
    EXPECT_EQ(python("import sys, html.parser\n"
                     "class P(html.parser.HTMLParser):\n"
                     "    cells = []\n"
                     "    def handle_data(self, d):\n"
                     "        if d.strip(): self.cells.append(d)\n"
                     "p = P(); p.feed(open(sys.argv[1], encoding='utf-8').read())\n"
                     "print('|'.join(p.cells[5:9]))\n",
                     tmp / "t.html"),
              "0610712265478|ŞTEFĂNESCU ÎONUŢ|1769.5|007\n");

    const std::string csv = exported(*model, GridFormat::Csv, tmp / "t.csv");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\"POP & <FIUL> \"\"ANA\"\"; ION\""), std::string::npos);
    EXPECT_EQ(python("import sys, csv\n"
                     "rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline=''), delimiter=';'))\n"
                     "print(len(rows)); print('|'.join(rows[2])); print('|'.join(rows[3]))\n",
                     tmp / "t.csv"),
              "4\n2850101123456|POP & <FIUL> \"ANA\"; ION|80.25|0042\n1900202123457|Ţepeş\tVlad {x} \\y|0|\n");

    const std::string txt = exported(*model, GridFormat::Txt, tmp / "t.txt");
    EXPECT_NE(txt.find("1900202123457\tŢepeş Vlad {x} \\y\t0\t\r\n"), std::string::npos);
}

TEST(GridExport, RtfAndDocOpenInLibreOfficeWithEveryValue)
{
    if (run("command -v soffice >/dev/null") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    TempDir tmp;
    auto model = sampleModel();
    exported(*model, GridFormat::Rtf, tmp / "t.rtf");
    exported(*model, GridFormat::Doc, tmp / "d.doc");
    std::string out;
    const std::string profile = "file://" + (tmp / "profile").string();
    ASSERT_EQ(run("cd " + shellQuote(tmp.path().string()) + " && soffice -env:UserInstallation=" + profile +
                      " --headless --convert-to txt:Text t.rtf d.doc >/dev/null 2>&1",
                  &out),
              0);
    for (const char *name : {"t.txt", "d.txt"}) {
        const std::string text = readFile(tmp / name);
        for (const char *value :
             {"ŞTEFĂNESCU ÎONUŢ", "POP & <FIUL> \"ANA\"; ION", "{x} \\y", "0610712265478", "1769.5"})
            EXPECT_NE(text.find(value), std::string::npos) << name << " lacks " << value << ":\n" << text;
    }
}

// A model that computes its cells, so that a sheet beyond the .xls limit costs no memory.
class TallModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex & = {}) const override { return 70000; }
    int columnCount(const QModelIndex & = {}) const override { return 2; }
    QVariant data(const QModelIndex &i, int role) const override
    {
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(i.row()) : QVariant();
    }
};

TEST(GridExport, RefusesWhatItCannotWriteAndLeavesTheOldFile)
{
    TempDir tmp;
    writeFile(tmp / "old.xls", "earlier export");
    TallModel tall;
    QString error;
    EXPECT_FALSE(ExportGrid(tall, AllGridColumns(tall), GridFormat::Xls,
                            QString::fromStdString((tmp / "old.xls").string()), error));
    EXPECT_TRUE(error.contains(QStringLiteral("prea mare"))) << error.toStdString();
    EXPECT_EQ(readFile(tmp / "old.xls"), "earlier export");

    auto model = sampleModel();
    error.clear();
    EXPECT_FALSE(ExportGrid(*model, AllGridColumns(*model), GridFormat::Csv,
                            QString::fromStdString((tmp / "no such folder" / "t.csv").string()), error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Nu pot scrie fisierul"))) << error.toStdString();
}

class GridExportDialogTest : public GuiFixture {};

TEST_F(GridExportDialogTest, WritesTheVisibleColumnsInTheirOrderAndOpensTheFile)
{
    auto model = sampleModel();
    QTableView view;
    view.setModel(model.get());
    view.horizontalHeader()->moveSection(2, 0); // Total first
    view.setColumnHidden(3, true);              // no client code
    gui::GridExportDialog dialog(ui);
    const QString target = tmp.qpath() + "/lista";
    QTimer::singleShot(0, &dialog, [&] {
        QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("FormatCSV")), Qt::LeftButton);
        dialog.fileField()->clear();
        QTest::keyClicks(dialog.fileField(), target);
        dialog.exportButton()->click();
    });
    ASSERT_TRUE(dialog.exportView(view));
    EXPECT_EQ(dialog.writtenFile(), target + ".csv");
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_EQ(ui.opened.front(), target + ".csv");
    const std::string csv = readFile(tmp / "lista.csv");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "\xEF\xBB\xBFTotal;CNP;Nume si prenume");
    EXPECT_NE(csv.find("\r\n1769.5;0610712265478;ŞTEFĂNESCU ÎONUŢ\r\n"), std::string::npos);
}

TEST_F(GridExportDialogTest, AnEmptyFileNameGetsAHintAndTheDialogStays)
{
    auto model = sampleModel();
    QTableView view;
    view.setModel(model.get());
    gui::GridExportDialog dialog(ui);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.fileField()->clear();
        dialog.exportButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    EXPECT_FALSE(dialog.exportView(view));
    ASSERT_EQ(ui.hints.size(), 1);
    EXPECT_EQ(ui.hints.front(), QStringLiteral("Alegeti fisierul in care se scrie tabelul!"));
    EXPECT_TRUE(ui.opened.isEmpty());
}

} // namespace
} // namespace focaris::test
