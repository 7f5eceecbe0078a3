// The documents of the applications list.
#include "gui/documents/DocumentActions.h"

#include "core/Ui.h"
#include "documents/ApplicationReports.h"
#include "documents/PaymentStatement.h"
#include "documents/SingleDisposition.h"
#include "documents/SocialInquiry.h"
#include "gui/documents/TAlegeCere.h"
#include "gui/documents/TAlegeNrDisp.h"
#include "gui/documents/TListDispF.h"
#include "gui/documents/TTipStatF.h"

#include <QMenu>
#include <QWidget>

namespace focaris::gui {

using namespace focaris::documents;

DocumentActions::DocumentActions(QWidget *list, Ui &ui, std::function<qint64()> currentNrcrt)
    : QObject(list), list_(list), ui_(ui), currentNrcrt_(std::move(currentNrcrt)),
      listDisp_(new TListDispF(ui, list)), alegeNrDisp_(new TAlegeNrDisp(ui, list)),
      alegeCere_(new TAlegeCere(ui, list)), tipStat_(new TTipStatF(ui, list)), dispMenu_(new QMenu(list)),
      formMenu_(new QMenu(list))
{
    auto item = [](QMenu *menu, const char *name, const char *caption, auto handler) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, menu, handler);
    };
    dispMenu_->setObjectName(QStringLiteral("DispMenu"));
    item(dispMenu_, "DispozitieUnica1", "Dispozitie Unica de Stabilire", [this] { listeazaDispCum(); });
    item(dispMenu_, "ListDispA", "Dispozitie de Stabilire Separata", [this] { listDisp(DispositionKind::Grant); });
    item(dispMenu_, "ListDispAM", "Dispozitie de Modificare", [this] { listDisp(DispositionKind::Modification); });
    item(dispMenu_, "DispRespB", "Dispozitie de Respingere", [this] { listDisp(DispositionKind::Rejection); });
    formMenu_->setObjectName(QStringLiteral("CerereMenu"));
    item(formMenu_, "ListCereL", "Anexa 26", [this] { listCerere(FormKind::Full); });
    item(formMenu_, "ListCereS", "Anexa 2 - Forma prescurtata", [this] { listCerere(FormKind::Short); });
}

DocumentActions::~DocumentActions() = default;

void DocumentActions::wire(const std::function<void(const QString &, std::function<void()>)> &setAction)
{
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"SingleDisposition", [this] { listeazaDispCum(); }},
        {"GrantDispositions", [this] { listDisp(DispositionKind::Grant); }},
        {"ModificationDispositions", [this] { listDisp(DispositionKind::Modification); }},
        {"RejectionDispositions", [this] { listDisp(DispositionKind::Rejection); }},
        {"Reports", [this] { listeazaReferate(); }},
        {"FullForm", [this] { listCerere(FormKind::Full); }},
        {"ShortForm", [this] { listCerere(FormKind::Short); }},
        {"PaymentStatement", [this] { situatiePlati(); }},
        {"AddInquiry", [this] { anchetaAdauga(); }},
        {"ShowInquiry", [this] { anchetaArata(); }},
        {"DeleteInquiry", [this] { anchetaSterge(); }},
    };
    for (const auto &[command, handler] : commands)
        setAction(QString::fromLatin1(command), handler);
}

void DocumentActions::run(const std::function<bool()> &ask, const std::function<void()> &make, ActionKind kind,
                          const QString &title)
{
    if (busy_)
        return;
    busy_ = true;
    // A failed read or write ends the document; what was written so far stays.
    RunWindowAction(ui_, title, kind, [&] {
        if (!ask || ask()) {
            // The list is disabled while the document is built (its window, shown
            // before, is a child of the list and must stay usable while it asks).
            const bool wasEnabled = list_ && list_->isEnabled();
            if (list_)
                list_->setEnabled(false);
            struct Restore {
                QWidget *w;
                bool enabled;
                ~Restore()
                {
                    if (w)
                        w->setEnabled(enabled);
                }
            } restore{list_, wasEnabled};
            make();
        }
    });
    busy_ = false;
}

void DocumentActions::listDisp(DispositionKind kind)
{
    DispositionRange range;
    run([&] { return listDisp_->choose(range); }, [&] { PrintSeparateDispositions(ui_, kind, range); });
}

void DocumentActions::listeazaDispCum()
{
    SingleDispositionFields fields;
    run([&] { return alegeNrDisp_->choose(fields); }, [&] { PrintSingleDisposition(ui_, fields); });
}

void DocumentActions::listeazaReferate()
{
    ReportRange range;
    run([&] { return alegeCere_->choose(range); }, [&] { PrintReports(ui_, range); });
}

void DocumentActions::listCerere(FormKind kind)
{
    run({}, [&] { PrintApplicationForm(ui_, kind, current()); });
}

void DocumentActions::anchetaAdauga()
{
    run({}, [&] { AddInquiry(ui_, current()); }, ActionKind::Writes, QStringLiteral("Adaugare ancheta"));
}

void DocumentActions::anchetaArata()
{
    run({}, [&] { ShowInquiry(ui_, current()); });
}

void DocumentActions::anchetaSterge()
{
    run({}, [&] { DeleteInquiry(ui_, current()); }, ActionKind::Writes, QStringLiteral("Stergere ancheta"));
}

void DocumentActions::situatiePlati()
{
    StatementSelection selection;
    run([&] { return tipStat_->choose(selection, true); }, [&] { PrintPaymentStatement(ui_, selection); });
}

} // namespace focaris::gui
