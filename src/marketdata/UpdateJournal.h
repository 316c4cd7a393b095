#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The journal of the start-up price update, one row in the working database's
// ttupdatejournal while an update runs. Its writes share the transactions of the price
// writes they describe, so after a kill at any moment the journal says exactly which
// stock-days and steps are still to run, and the next start completes that update.
struct UpdateJournal {
    enum Step { Import = 1, Calculation = 2, SplitPass = 3, CautionRefresh = 4 };

    QDate firstDay; // first and last day of the import
    QDate lastDay;
    int step = Import;
    // The import's last stock-day done; stock-days after it (in day, code, market order)
    // are still to fetch. No day before the first stock-day is done.
    QDate doneDay;
    QString doneCode;
    QString doneMarket;

    // Whether the import has done the stock-day already.
    bool imported(const QDate &day, const QString &code, const QString &market) const;
};

// The update in progress, if an earlier run did not complete it.
std::optional<UpdateJournal> readUpdateJournal();

// Starts the journal of an update of firstDay..lastDay, or writes the wider range of the
// one in progress. Runs in its own transaction.
void writeUpdateJournal(const UpdateJournal &journal);

// Notes a stock-day done by the import; call it inside the transaction that stores the
// stock-day's row.
void noteUpdateImported(const QDate &day, const QString &code, const QString &market);

// Moves the journal to `step`; everything before it is done.
void setUpdateJournalStep(UpdateJournal::Step step);

// Removes the journal: the update has completed.
void endUpdateJournal();
