// The documents of the applications list.
#include "gui/documents/DocumentActions.h"

#include "core/Ui.h"
#include "documents/ApplicationReports.h"
#include "documents/PaymentStatement.h"
#include "documents/SingleDisposition.h"
#include "documents/SocialInquiry.h"
#include "gui/documents/ApplicationRangeDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/documents/PaymentStatementDialog.h"
#include "gui/documents/SingleDispositionDialog.h"

#include <QMenu>
#include <QWidget>

namespace focaris::gui {

using namespace focaris::documents;

DocumentActions::DocumentActions(QWidget *list, Ui &ui, std::function<qint64()> currentNrcrt)
    : QObject(list),
      list_(list),
      ui_(ui),
      currentNrcrt_(std::move(currentNrcrt)),
      rangeWindow_(new DispositionRangeDialog(ui, list)),
      singleWindow_(new SingleDispositionDialog(ui, list)),
      reportsWindow_(new ApplicationRangeDialog(ui, list)),
      selectionWindow_(new PaymentStatementDialog(ui, list)),
      dispositionsMenu_(new QMenu(list)),
      formMenu_(new QMenu(list))
{
    auto item = [](QMenu *menu, const char *name, const char *caption, auto handler) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, menu, handler);
    };
    dispositionsMenu_->setObjectName(QStringLiteral("DispositionsMenu"));
    item(dispositionsMenu_, "SingleDispositionItem", "Dispozitie Unica de Stabilire",
         [this] { printSingleDisposition(); });
    item(dispositionsMenu_, "GrantDispositionsItem", "Dispozitie de Stabilire Separata",
         [this] { printDispositions(DispositionKind::Grant); });
    item(dispositionsMenu_, "ModificationDispositionsItem", "Dispozitie de Modificare",
         [this] { printDispositions(DispositionKind::Modification); });
    item(dispositionsMenu_, "RejectionDispositionsItem", "Dispozitie de Respingere",
         [this] { printDispositions(DispositionKind::Rejection); });
    formMenu_->setObjectName(QStringLiteral("FormsMenu"));
    item(formMenu_, "FullFormItem", "Anexa 26", [this] { printForm(FormKind::Full); });
    item(formMenu_, "ShortFormItem", "Anexa 2 - Forma prescurtata", [this] { printForm(FormKind::Short); });
}

DocumentActions::~DocumentActions() = default;

void DocumentActions::wire(const std::function<void(const QString &, std::function<void()>)> &setAction)
{
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"SingleDisposition", [this] { printSingleDisposition(); }},
        {"GrantDispositions", [this] { printDispositions(DispositionKind::Grant); }},
        {"ModificationDispositions", [this] { printDispositions(DispositionKind::Modification); }},
        {"RejectionDispositions", [this] { printDispositions(DispositionKind::Rejection); }},
        {"Reports", [this] { printReports(); }},
        {"FullForm", [this] { printForm(FormKind::Full); }},
        {"ShortForm", [this] { printForm(FormKind::Short); }},
        {"PaymentStatement", [this] { printPaymentStatement(); }},
        {"AddInquiry", [this] { addInquiry(); }},
        {"ShowInquiry", [this] { showInquiry(); }},
        {"DeleteInquiry", [this] { deleteInquiry(); }},
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

void DocumentActions::printDispositions(DispositionKind kind)
{
    DispositionRange range;
    run([&] { return rangeWindow_->choose(range); }, [&] { PrintSeparateDispositions(ui_, kind, range); });
}

void DocumentActions::printSingleDisposition()
{
    SingleDispositionFields fields;
    run([&] { return singleWindow_->choose(fields); }, [&] { PrintSingleDisposition(ui_, fields); });
}

void DocumentActions::printReports()
{
    ReportRange range;
    run([&] { return reportsWindow_->choose(range); }, [&] { PrintReports(ui_, range); });
}

void DocumentActions::printForm(FormKind kind)
{
    run({}, [&] { PrintApplicationForm(ui_, kind, current()); });
}

void DocumentActions::addInquiry()
{
    run(
        {}, [&] { AddInquiry(ui_, current()); }, ActionKind::Writes, QStringLiteral("Adaugare ancheta"));
}

void DocumentActions::showInquiry()
{
    run({}, [&] { ShowInquiry(ui_, current()); });
}

void DocumentActions::deleteInquiry()
{
    run(
        {}, [&] { DeleteInquiry(ui_, current()); }, ActionKind::Writes, QStringLiteral("Stergere ancheta"));
}

void DocumentActions::printPaymentStatement()
{
    StatementSelection selection;
    run([&] { return selectionWindow_->choose(selection, true); }, [&] { PrintPaymentStatement(ui_, selection); });
}

} // namespace focaris::gui
