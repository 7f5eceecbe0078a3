// The key counters of section "INDEX" of the shared settings file: the next free key of
// each table ("NRCRT", "NROM", "IDLOG") and a few running numbers ("NR_CERE",
// "ACTUALIZARE"). A key is taken by reading and increasing its counter under the settings
// file's exclusive lock, so several computers on one data folder never get the same key;
// a key taken and then not used is simply skipped, never handed out again.
#pragma once

#include "core/Amount.h"

#include <QString>

namespace focaris {

// The counter's value (absent or zero counts as 1); stores the value plus one.
Amount NextKey(const QString &counter);
// NextKey as decimal text without decimals, ready for a statement.
QString NextKeyText(const QString &counter);
// A block of `count` consecutive keys: the same keys and the same final counter as
// `count` calls of NextKey, with one write of the settings file instead of `count`.
// Returns the first key of the block; a count of 0 or less takes nothing and writes
// nothing, and gives the key NextKey would give.
Amount TakeKeys(const QString &counter, qint64 count);
// What NextKey would give, without storing anything.
Amount PeekKey(const QString &counter);
QString PeekKeyText(const QString &counter);
void SetKey(const QString &counter, Amount value);
// The counter raised to largestInUse + 1 when it is below; never lowered.
void RaiseKey(const QString &counter, qint64 largestInUse);
// "NRCRT", "NROM" and "IDLOG" raised to at least the largest key in use plus one: NRCRT
// over the applications and the members, NROM over the members, IDLOG over the log.
void ResetKeys();
// SELECT MAX(column) AS CODEX_ FROM the table, as a whole number; 0 for an empty table, a
// NULL maximum or a value beyond 32-bit integers.
qint64 MaxKey(const QString &tablePath, const QString &column);

} // namespace focaris
