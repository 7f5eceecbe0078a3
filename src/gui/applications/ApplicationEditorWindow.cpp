// The editor window: its fields in screen order, the wiring of their reactions to the
// editor operation, the members grid and the openings.
#include "gui/applications/ApplicationEditorWindow.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/UpperCaseValidator.h"
#include "gui/widgets/WindowAction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace focaris::gui {

namespace {

class LowerCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toLower();
        return Acceptable;
    }
};

} // namespace

ApplicationEditorWindow::ApplicationEditorWindow(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui), editor_(ui)
{
    setWindowTitle(QStringLiteral("Adauga/Modifica Cerere"));
    build();
    memberDialog_ = new MemberDialog(ui_, this);
    supplementDialog_ = new SupplementDialog(ui_, this);
}

ApplicationEditorWindow::~ApplicationEditorWindow() = default;

QWidget *ApplicationEditorWindow::field(const QString &name) const
{
    return fields_.value(name);
}
QPushButton *ApplicationEditorWindow::button(const QString &objectName) const
{
    return FindButton<QPushButton>(*this, objectName);
}
QLabel *ApplicationEditorWindow::amountLabel(const QString &name) const
{
    return amounts_.value(name);
}

template <class W>
static W *as(QWidget *w)
{
    return static_cast<W *>(w);
}

// The makers of the controls: each is named after its field and found by that name.
QLineEdit *ApplicationEditorWindow::line(const QString &name, bool upper)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(name);
    e->setMaxLength(ColumnWidth(name));
    if (upper)
        e->setValidator(new UpperCaseValidator(e));
    fields_[name] = e;
    return e;
}

QComboBox *ApplicationEditorWindow::combo(const QString &name, bool editable, QValidator *validator)
{
    auto *c = new QComboBox(this);
    c->setObjectName(name);
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setMaxLength(ColumnWidth(name));
        if (validator)
            c->lineEdit()->setValidator(validator);
    }
    fields_[name] = c;
    return c;
}

NumericEdit *ApplicationEditorWindow::number(const QString &name, int digits, int decimals)
{
    auto *n = new NumericEdit(digits, decimals, this);
    n->setObjectName(name);
    fields_[name] = n;
    return n;
}

QCheckBox *ApplicationEditorWindow::box(const QString &name, const QString &caption)
{
    auto *b = new QCheckBox(caption, this);
    b->setObjectName(name);
    fields_[name] = b;
    return b;
}

CnpEdit *ApplicationEditorWindow::cnp(const QString &name)
{
    auto *c = new CnpEdit(this);
    c->setObjectName(name);
    fields_[name] = c;
    return c;
}

QPushButton *ApplicationEditorWindow::push(const QString &name, const QString &caption)
{
    auto *b = DialogButton(caption, this);
    b->setObjectName(name);
    return b;
}

// The application in the left column, the risk data, the supplements and the members in
// the right one, the two buttons below; then the fields' reactions.
void ApplicationEditorWindow::build()
{
    QLayout *application = buildApplication();
    auto *right = new QVBoxLayout;
    right->addWidget(buildRiskData());
    right->addWidget(buildSupplements());
    right->addWidget(buildMembers(), 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(application, 3);
    columns->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(ButtonRow(this, {push("Save", "&Memoreaza"), push("Cancel", "&Renunt")}));
    connectReactions();
}

// The application itself: the applicant, its number and dates, the period of the aid, the
// household, the contract, the decision and the other aids.
QLayout *ApplicationEditorWindow::buildApplication()
{
    auto *grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString &label, QWidget *w, int span = 3) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row, 1, 1, span);
        ++row;
    };
    addRow("CNP Solicitant", cnp("CNPSol"));
    addRow("Nume si prenume Solicitant", line("SubSemn"));
    grid->addWidget(new QLabel("Cererea numarul", this), row, 0);
    grid->addWidget(number("Nr_Cere", 10, 0), row, 1);
    grid->addWidget(box("NewNo", "numerotare noua"), row, 2);
    ++row;
    auto *date = new DateField(this);
    date->setObjectName("DataCereD");
    fields_["DataCereD"] = date;
    addRow("din data", date, 1);
    auto *luna = combo("LunaDec", false);
    for (int m = 1; m <= 12; ++m)
        luna->addItem(QStringLiteral("%1").arg(m, 2, 10, QChar('0')));
    grid->addWidget(new QLabel("Ajutorul se acorda incepand cu luna", this), row, 0);
    grid->addWidget(luna, row, 1);
    grid->addWidget(new QLabel("anul", this), row, 2);
    grid->addWidget(number("AnulDec", 4, 0), row, 3);
    ++row;
    grid->addWidget(new QLabel("Pe o perioada de", this), row, 0);
    grid->addWidget(number("Nr_Luni", 2, 0), row, 1);
    grid->addWidget(new QLabel("luni", this), row, 2);
    ++row;
    addRow("Localitatea", combo("Localit", true, new UpperCaseValidator(this)));
    addRow("Adresa", line("Adresa"));
    addRow("Numar de membri", number("NrMembri", 4, 0), 1);
    addRow("Venit total", number("VenitTotal", 10, 2), 1);
    addRow("Nume si prenume Titular", line("TitT"));
    addRow("C.N.P. Titular", cnp("CNPT"));
    addRow("Furnzior", combo("Furnizor", true, new UpperCaseValidator(this)));
    addRow("Cod de client", line("CodClient"));
    addRow("Nr.Contract", line("NrCont"));
    addRow("Asociatia", combo("Asoc", true, new UpperCaseValidator(this)));
    addRow("Tarif GCal (lei)", number("Tarif", 10, 4), 1);
    auto *statut = combo("StatutD", false);
    statut->addItems(StatusTexts());
    grid->addWidget(new QLabel("Statut dispozitie", this), row, 0);
    grid->addWidget(statut, row, 1);
    grid->addWidget(box("CuModif", "cu modificare"), row, 2);
    ++row;
    reasonLabel_ = new QLabel("motivul respingerii", this);
    grid->addWidget(reasonLabel_, row, 0);
    grid->addWidget(combo("MotivC", true), row, 1, 1, 3);
    ++row;
    grid->addWidget(box("L416", "Ajutor social - VMG"), row, 0, 1, 2);
    grid->addWidget(box("ASF", "Ajutor pentru Sustinerea Familiei"), row, 2, 1, 2);
    return grid;
}

// The data for the control based on the risk profile.
QWidget *ApplicationEditorWindow::buildRiskData()
{
    auto *risk = new QGroupBox("Date pentru Controlul bazat pe profilul de risc", this);
    auto *riskGrid = new QGridLayout(risk);
    auto *stciv = combo("StCiv", false);
    stciv->addItems(CivilStatusTexts());
    auto *sitscol = combo("SitScol", false);
    sitscol->addItems(SchoolingTexts());
    auto *sitprof = combo("SitProf", true, new LowerCaseValidator(this));
    sitprof->addItems(ProfessionalSituations());
    riskGrid->addWidget(new QLabel("Stare civila", risk), 0, 0);
    riskGrid->addWidget(stciv, 0, 1);
    riskGrid->addWidget(new QLabel("Situatie scolara", risk), 0, 2);
    riskGrid->addWidget(sitscol, 0, 3);
    riskGrid->addWidget(new QLabel("Numar camere ocupate", risk), 1, 0);
    riskGrid->addWidget(number("NrCam", 2, 0), 1, 1);
    riskGrid->addWidget(box("Asig", "Asigurare pentru locuinta"), 1, 2, 1, 2);
    riskGrid->addWidget(new QLabel("Situatie profesionala", risk), 2, 0);
    riskGrid->addWidget(sitprof, 2, 1);
    riskGrid->addWidget(new QLabel("Cu varsta pana la 14 ani", risk), 3, 0);
    riskGrid->addWidget(number("Copii14", 2, 0), 3, 1);
    riskGrid->addWidget(new QLabel("Cu varsta peste 14 ani", risk), 3, 2);
    riskGrid->addWidget(number("Copii18", 2, 0), 3, 3);
    return risk;
}

// The heating aid and the supplements, each with its monthly amount; gas and electricity
// open their own dialog.
QWidget *ApplicationEditorWindow::buildSupplements()
{
    auto *supp = new QGroupBox(this);
    auto *suppGrid = new QGridLayout(supp);
    suppGrid->addWidget(box("CuAjut", "Ajutor de incalzire cu energie Termica"), 0, 0, 1, 2);
    auto amountLabel = [this](const QString &name) {
        auto *l = new QLabel("0 lei/luna", this);
        l->setObjectName(name + "_suma");
        amounts_[name] = l;
        return l;
    };
    suppGrid->addWidget(box("SupL", "Supliment Lemne"), 1, 0);
    suppGrid->addWidget(amountLabel("SupL"), 1, 1);
    suppGrid->addWidget(box("SupT", "Supliment energie Termica"), 2, 0);
    suppGrid->addWidget(amountLabel("SupT"), 2, 1);
    auto *gas = push("GasSupplement", "Supliment Gaze naturale");
    fields_["SupGB"] = gas;
    suppGrid->addWidget(gas, 3, 0);
    suppGrid->addWidget(amountLabel("SupGB"), 3, 1);
    auto *el = push("ElectricitySupplement", "Supliment energie Electrica");
    fields_["SupEB"] = el;
    suppGrid->addWidget(el, 4, 0);
    suppGrid->addWidget(amountLabel("SupEB"), 4, 1);
    return supp;
}

// The grid of the family members with its three buttons and "Actualizare in cerere".
QWidget *ApplicationEditorWindow::buildMembers()
{
    auto *members = new QGroupBox("LISTA MEMBRILOR", this);
    auto *membersLayout = new QVBoxLayout(members);
    grid_ = new QTableWidget(0, 4, members);
    grid_->setObjectName("Membri");
    grid_->setHorizontalHeaderLabels({"Titular", "CNP", "Venit", "Calitate"});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    // The CNP column shows all thirteen digits.
    grid_->setColumnWidth(1, grid_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")) + 16);
    membersLayout->addWidget(grid_);
    auto *memberButtons = new QHBoxLayout;
    memberButtons->addWidget(push("AddMember", "Adauga membru"));
    memberButtons->addWidget(push("ModifyMember", "Modifica membru"));
    memberButtons->addWidget(push("DeleteMember", "Sterge membru"));
    membersLayout->addLayout(memberButtons);
    membersLayout->addWidget(box("Actualizare", "Actualizare in cerere"));
    return members;
}

// Reactions: none runs while the window shows what the editor holds.
void ApplicationEditorWindow::connectReactions()
{
    connect(as<CnpEdit>(field("CNPSol")), &QLineEdit::textChanged, this, [this] {
        if (!showing_)
            onCnpChanged();
    });
    connect(as<QLineEdit>(field("SubSemn")), &QLineEdit::textEdited, this, [this](const QString &t) {
        if (showing_)
            return;
        editor_.applicantChanged(t);
        ++showing_;
        as<QLineEdit>(field("TitT"))->setText(editor_.fields().TitT);
        --showing_;
    });
    connect(as<QComboBox>(field("Furnizor")), &QComboBox::editTextChanged, this, [this](const QString &t) {
        if (showing_)
            return;
        if (editor_.supplierChanged(t)) {
            ++showing_;
            as<QLineEdit>(field("Tarif"))->setText(editor_.fields().Tarif);
            --showing_;
        }
    });
    connect(as<QComboBox>(field("StatutD")), &QComboBox::currentTextChanged, this, [this](const QString &t) {
        if (showing_)
            return;
        gatherFields();
        editor_.statusChanged(t);
        showFields();
    });
    connect(as<QCheckBox>(field("SupL")), &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) {
            editor_.setSupL(on);
            showAmounts();
        }
    });
    connect(as<QCheckBox>(field("SupT")), &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) {
            editor_.setSupT(on);
            showAmounts();
        }
    });
    connect(as<QCheckBox>(field("Actualizare")), &QCheckBox::toggled, this, [this](bool on) {
        if (showing_)
            return;
        gatherFields();
        editor_.setActualizare(on);
        showFields();
    });
    connect(button("GasSupplement"), &QPushButton::clicked, this, [this] { onSupplement(SupplementKind::Gas); });
    connect(button("ElectricitySupplement"), &QPushButton::clicked, this,
            [this] { onSupplement(SupplementKind::Electricity); });
    connect(button("AddMember"), &QPushButton::clicked, this, &ApplicationEditorWindow::onAddMember);
    connect(button("ModifyMember"), &QPushButton::clicked, this, &ApplicationEditorWindow::onModifyMember);
    connect(button("DeleteMember"), &QPushButton::clicked, this, &ApplicationEditorWindow::onDeleteMember);
    connect(button("Save"), &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { onSave(); }));
    connect(button("Cancel"), &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace focaris::gui
