// What the list's operations return and the frame they run in: a refused entry names its
// field, a failed statement ends the operation with the engine's message shown and the
// progress window closed, and only work that was really done reports success.
#pragma once

#include "core/Ui.h"

#include <QString>

#include <functional>

namespace focaris {

struct Outcome {
    bool done = false;   // the work was done (and its message shown)
    qint64 rows = 0;     // applications written or removed
    qint64 members = 0;  // members written or removed, where the operation touches them
    QString message;     // a refusal's text (shown as a field hint by the window)
    QString field;       // the refused field: "a", "b", "d", "k", "month"; empty otherwise
    bool failed = false; // a statement or a file operation failed; its message was shown
    QString archive;     // the safety archive written before rows were destroyed

    bool refused() const { return !field.isEmpty(); }
    static Outcome refusal(const QString &field, const QString &message)
    {
        Outcome o;
        o.field = field;
        o.message = message;
        return o;
    }
    static Outcome success(qint64 rows)
    {
        Outcome o;
        o.done = true;
        o.rows = rows;
        return o;
    }
};

// The check every month-wide operation makes first: `month` must be the code of a real
// month (an empty or unreadable working month has code 0, and the codes of the imported
// registers are no month to work on). Otherwise "Alegeti mai intai o luna de la butonul
// Perioada!" is shown under `title` and false returned, so that nothing is written into
// a month no window shows.
bool RealMonthChosen(Ui &ui, const QString &title, int month);

// Runs `work`; when it throws (a statement the engine refused, a file that could not be
// written) the progress window is closed, the error is shown under `title` and the
// outcome says failed. What was written before the failure stays written.
Outcome RunGuarded(Ui &ui, const QString &title, const std::function<Outcome()> &work);

// The progress window for the length of a block: shown at construction, hidden at the
// end of the block whatever happens.
class ProgressScope {
public:
    ProgressScope(Ui &ui, const QString &text, int maximum) : ui_(ui) { ui_.progressShow(text, maximum); }
    ~ProgressScope() { ui_.progressHide(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;
    void step() { ui_.progressStep(); }

private:
    Ui &ui_;
};

} // namespace focaris
