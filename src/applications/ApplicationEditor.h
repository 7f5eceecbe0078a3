// The application editor without its window: the state of one opening (mode, key,
// fields, members table, held supplement data and amounts), opening in add and modify
// mode, the look-up of a typed CNP, the reactions of single fields, the member buttons
// (written at once) and "&Memoreaza" with its normalising, checks and questions. The
// window only gathers fields, calls these and shows what they return; the tool and the
// tests drive the same calls. Storing the accepted application is ApplicationStore's.
#pragma once

#include "applications/EditorFields.h"
#include "core/Amount.h"
#include "engines/localsql/ResultSet.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace focaris {

class Ui;

class ApplicationEditor {
public:
    explicit ApplicationEditor(Ui &ui);

    // Add mode: fields reset (DataCereD, StCiv, SitScol and StatutD keep their last
    // value), lists filled, a fresh temporary members table, key -2.
    void openAdd();
    // Modify mode on the application with key `nrcrt`, every field loaded as stored and
    // no reaction run. False, with nothing opened, when the key is not found.
    bool openModify(qint64 nrcrt);
    // What closing the window stores whatever the outcome: "ACTUALIZARE" and the
    // defaults "LunaI", "AnulI", "PerI" from the fields.
    void close();

    EditorMode mode() const { return mode_; }
    qint64 key() const { return key_; } // -2 in add mode
    QString membersTable() const { return membersTable_; }
    QString originalCnp() const { return originalCnp_; } // the CNP loaded in modify mode
    bool saved() const { return saved_; }

    ApplicationFields &fields() { return f_; }
    const ApplicationFields &fields() const { return f_; }

    // The lists the window offers, as filled at the opening (and grown by saving).
    const QStringList &localities() const { return localities_; }
    const QStringList &suppliers() const { return suppliers_; }
    const QStringList &associations() const { return associations_; }
    const QStringList &reasons() const { return reasons_; }

    // The look-up of a typed applicant CNP: the holder CNP follows it; a valid CNP known
    // from an earlier application (any month, the imported registers included) fills
    // the fields from the most recent one and, in add mode, copies its members.
    struct Lookup {
        bool found = false;
        QString hint; // "A mai depus cererea nr. 12 / 05.11.2025." (at CNPSol)
        int membersCopied = 0;
    };
    Lookup cnpChanged(const QString &text);

    // Reactions of single fields. None of them runs while a stored application is
    // being loaded, so modify mode shows exactly what was stored.
    void applicantChanged(const QString &text); // TitT follows SubSemn
    bool supplierChanged(const QString &text);  // tariff of the month's latest use; true when changed
    void statusChanged(const QString &status);  // clears CuModif unless "APROBAT"
    void setSupL(bool on);
    void setSupT(bool on);
    void setActualizare(bool on); // ticking recounts at once
    // Members, income and children from the members list (only while Actualizare).
    void recount();
    // The reason belongs to a rejection; a kept status keeps its stored reason unasked.
    bool motivShown() const { return f_.StatutD == QLatin1String("RESPINS"); }

    // Supplements: the held data, what the dialog opens with (the thermal holder when
    // no contract holder is held), and the dialog's result.
    const SupplementData &supplement(SupplementKind kind) const;
    SupplementData supplementForDialog(SupplementKind kind) const;
    void supplementSaved(SupplementKind kind, const SupplementData &data, bool singleSource);
    void supplementDeleted(SupplementKind kind);
    Amount sumaL() const { return sumaL_; }
    Amount sumaG() const { return sumaG_; }
    Amount sumaE() const { return sumaE_; }
    Amount sumaT() const { return sumaT_; }
    // Sets the four amounts as stored (the tool and tests restoring a state).
    void setAmounts(Amount l, Amount g, Amount e, Amount t);

    // Members, written to the members table at once. The member key of the outcome is
    // the stored NROM; a refusal points at "Titular" or "CNP" and nothing is written.
    std::vector<MemberRow> members() const;
    MemberFields memberPreset() const;
    struct MemberOutcome {
        EditorRefusal refusal;
        qint64 nrom = 0;
    };
    MemberOutcome addMember(MemberFields member);
    MemberOutcome modifyMember(qint64 nrom, MemberFields member);
    // Asks "Stergeti pe ... ?"; true when the member was deleted.
    bool deleteMember(qint64 nrom);

    // The gas or electricity dialog's "&Memoreaza": cleaning, the three checks, the
    // question about the same codes in the month. saved is false with no refusal when
    // that question was answered "&Nu" (the dialog stays open).
    struct SupplementOutcome {
        EditorRefusal refusal;
        bool saved = false;
    };
    SupplementOutcome checkSupplement(SupplementKind kind, SupplementData &data) const;
    // The kind's supplier list: distinct non-blank values of its column, sorted.
    QStringList supplementSuppliers(SupplementKind kind) const;

    // "&Memoreaza": the normalising, the fifteen checks in order, the questions against
    // the working month and the accepted step (counter, lists, rejection emptying). On a
    // refusal nothing typed is lost and nothing is written; a "&Nu" gives no refusal and
    // saved false.
    struct SaveOutcome {
        EditorRefusal refusal;
        bool saved = false;
    };
    SaveOutcome save();

    // Test hook: how many look-ups ran (the re-entry rule is counted through it).
    int lookupsRun() const { return lookupsRun_; }

private:
    friend class ApplicationStore;
    void resetFields();
    void fillLists();
    void loadRow(const sql::ResultSet &rows, std::size_t r);
    bool runLookup(const QString &cnp, Lookup &out);
    void normalise();
    EditorRefusal checkFields() const;

    Ui &ui_;
    EditorMode mode_ = EditorMode::Add;
    qint64 key_ = -2;
    QString membersTable_;
    QString originalCnp_;
    bool saved_ = false;
    int loading_ = 0;
    bool lookupRunning_ = false;
    QString pendingLookup_;
    bool hasPending_ = false;
    QString loadedStCiv_, loadedSitScol_; // codes as stored (modify mode)
    int lookupsRun_ = 0;
    bool firstOpening_ = true;
    ApplicationFields f_;
    SupplementData gas_, electricity_;
    Amount sumaL_, sumaG_, sumaE_, sumaT_;
    QStringList localities_, suppliers_, associations_, reasons_;
};

} // namespace focaris
