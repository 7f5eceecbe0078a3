// The key counters of section "INDEX" of the shared settings file: the next free key of
// each table ("NRCRT", "NROM", "IDLOG") and a few running numbers ("NR_CERE",
// "ACTUALIZARE"). Read and written back without a lock; the last writer wins, and
// ResetKeys repairs the table keys at every start.
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
// "NRCRT", "NROM" and "IDLOG" set to the largest key of their table plus one.
void ResetKeys();
// SELECT MAX(column) AS CODEX_ FROM the table, as a whole number; 0 for an empty table, a
// NULL maximum or a value beyond 32-bit integers.
qint64 MaxKey(const QString &tablePath, const QString &column);

} // namespace focaris
