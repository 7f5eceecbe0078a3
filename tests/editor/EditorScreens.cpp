// Writes the editor's pictures for docs/screens: add mode after the look-up of a known
// CNP (with its hint), modify mode, a refused save with its hint, and the member and
// supplement dialogs. Run by hand: editor_screens FOLDER (offscreen platform).
#include "applications/ApplicationStore.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/shell/GuiUi.h"
#include "gui/widgets/FieldHint.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace focaris;

namespace {

QString cnpOf(const QString &first12)
{
    static const int w[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * w[i];
    return first12 + QString::number(sum % 11 == 10 ? 1 : sum % 11);
}

// The window with the hint balloon painted where it stands.
void save(QWidget &w, gui::GuiUi *ui, const QString &file)
{
    QCoreApplication::processEvents();
    QPixmap pm = w.grab();
    if (ui && ui->hint().isVisible()) {
        QPainter p(&pm);
        p.drawPixmap(ui->hint().pos() - w.pos(), ui->hint().grab());
    }
    pm.save(file, "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "docs/screens";
    QDir().mkpath(out);
    QTemporaryDir tmp;
    InitContextForTests(tmp.path() + "/prog");
    CreateTables();
    SetWorkingMonth("11.2025");
    const QString cnp = cnpOf("180010112345");
    ExecSql(
        "INSERT INTO " + Quoted(TablePath("Cereri.dbf")) +
        " (NRCRT, LUNACRT, LUNADEC, CNP, SUBSEMN, TITT, CNPT, LOCALIT, ADRESA, FURNT, CODCLT, ASOC, NRCONT,"
        " NR_MEMBRI, TVENIT, NR_CERE, DATACERE, STATUT, CUAJUT, TARIF, NRCAM, NR_LUNI, STCIV, SITSCOL, SUMAG,"
        " FURNG, TITG, CNPG, CODCLG) VALUES (1, " +
        QString::number(MonthCode("10.2025")) + ", " + QString::number(MonthCode("10.2025")) + ", \"" + cnp +
        "\", \"POPESCU ION\", \"POPESCU ION\", \"" + cnp +
        "\", \"BRASOV\", \"STR. LUNGA 12 AP. 4\", \"TERMO SA\", \"T-1001\", \"ASOC. BLOC 7\", \"C-77\", 2, 1650,"
        " 41, \"06.10.2025\", \"APROBAT\", \"X\", 412.8, 3, 5, \"C\", \"M\", 10, \"GAZ SUD SA\", \"POPESCU ION\", \"" +
        cnp + "\", \"G-5561\")");
    ExecSql("INSERT INTO " + Quoted(TablePath("Oameni.dbf")) +
            " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE) VALUES (1, 1, \"POPESCU ION\", \"" + cnp +
            "\", 1200, \"beneficiar\"), (2, 1, \"POPESCU ANA\", \"" + cnpOf("285020312345") + "\", 450, \"partener\")");

    gui::GuiUi ui;
    gui::ApplicationEditorWindow w(ui);
    w.openAdd();
    QTest::keyClicks(w.field("CNPSol"), cnp);
    save(w, &ui, out + "/editor-adaugare-cautare.png");
    w.reject();

    w.openAdd();
    static_cast<QLineEdit *>(w.field("SubSemn"))->setText("IONESCU MARIA");
    static_cast<QLineEdit *>(w.field("CNPSol"))->setText(cnpOf("285020312346").left(12));
    w.button("Save")->click();
    save(w, &ui, out + "/editor-refuz.png");
    w.reject();

    w.openModify(1);
    save(w, &ui, out + "/editor-modificare.png");
    gui::MemberDialog &m = *w.memberDialog();
    m.open("Adauga membru", w.editor().memberPreset(), [](const MemberFields &) { return EditorRefusal(); });
    save(m, nullptr, out + "/date-membru.png");
    m.reject();
    gui::SupplementDialog &s = *w.supplementDialog();
    s.open(w.editor(), SupplementKind::Electricity);
    save(s, nullptr, out + "/date-supliment.png");
    s.reject();
    w.reject();
    return 0;
}
