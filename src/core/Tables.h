// The three tables of the data folder: their layouts, their creation, the upgrade of
// applications tables written by older versions, packing, the trimming of the change log
// and the helpers that fill lists from a table column.
#pragma once

#include "core/Amount.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace focaris {

// The CREATE TABLE column lists of the three tables, in creation order.
QString ApplicationsColumns();
QString MembersColumns();
QString LogColumns();

// Each does nothing when the file exists (whatever the case of its name).
void CreateApplicationsTable(const QString &path);
void CreateMembersTable(const QString &path);
// "LOG.DBF", then "Cereri.dbf", then "Oameni.dbf" of the data folder, each when missing.
void CreateTables();

// Marks deleted the members whose application is not in the applications table. The
// operations that write both tables write the members first and remove the applications
// first, so that a process ended between the two leaves only such members behind; the
// start drops them, which gives back the state before the addition or after the removal.
// Returns how many were dropped (0 when either table is missing, has no NRCRT column or
// cannot be written now).
qint64 DropMembersWithoutApplication();

// Removes the rows marked deleted; the table is taken exclusively for that.
void PackTable(const QString &path);

// Keeps the newest log row and the 1000 keys before it.
void PurgeLog();

// The Cereri half of the data upgrade: adds the columns an older applications table lacks
// (TARIF; TITG..CNPT replacing TITULAR; VALMAX, filled from the average consumption of
// the rooms) and returns true when anything changed. averageConsumption(rooms) gives the
// Gcal per month of the aid calculation.
bool UpgradeApplicationsTable(const std::function<Amount(int rooms)> &averageConsumption);

// Whole weeks between 30 December 1899 and `now` (it changes between Friday and Saturday).
qint64 WeekNumber(const QDateTime &now);
// The weekly pack of Cereri, Oameni and Log: runs when "CONST"/"LASTPACK" differs from the
// current week number (stored first). step() is called after each of the three tables,
// packed or not. Returns true when the tables were packed.
bool WeeklyPack(const std::function<void()> &step = {}, const QDateTime &now = QDateTime::currentDateTime());

// Appends to `items` the distinct non-blank values of `column` in the table (with the
// condition as WHERE when it is not blank), in column order; returns the index of the
// item to select (the first one, or -1 when the list is empty).
int FillDistinct(QStringList &items, const QString &tablePath, const QString &condition, const QString &column);
// Index of the item equal to `text`, or -1.
int SelectItem(const QStringList &items, const QString &text);

} // namespace focaris
