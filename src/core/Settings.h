// The three settings files and their operations: "Focaris.set" in the data folder (shared
// by every computer that uses the folder), the machine settings file (one per computer)
// and "Local.set" in the program folder (one per installation). Every call opens the file,
// reads or writes one value and closes it again: nothing is cached, so a value another
// computer wrote is seen by the next read. A missing file reads as empty; the first write
// creates it. Writes throw std::runtime_error when the file cannot be written.
#pragma once

#include "core/Amount.h"

#include <QString>

#include <functional>

namespace focaris {

// The product number that names the machine settings file's section.
inline constexpr const char *kMachineSection = "94";

// "Focaris.set" in DataFolder (found whatever the case of its name).
QString SharedSettingsFile();
// "Local.set" in ProgramFolder.
QString LocalSettingsFile();
// The machine settings file "Focaris.ini": FOCARIS_MACHINE_DIR when set; else /etc/focaris
// when a test value can be written there; else $XDG_CONFIG_HOME/focaris. The choice is
// made at the first use and kept for the run.
QString MachineSettingsFile();
// Forgets the choice above (tests, and a failed write that falls back to the user folder).
void ResetMachineSettingsLocation();

// A settings file that exists but cannot be read as one of the program's own (another
// encoding, bytes that are no INI file) is refused by every function here: they throw a
// std::runtime_error whose message names the file, and write nothing into it. This
// checks a file up front (the start-up does so before it reads or writes any setting).
void RequireOwnSettingsFile(const QString &file);

QString ReadSetting(const QString &section, const QString &key);
// Does nothing in a view-only run (ReadOnlyAccess).
void WriteSetting(const QString &section, const QString &key, const QString &value);
// Numbers: written in the shortest decimal form with "." (2053, 0.82, 1.0029); read back
// as an amount with four decimals, 0 when absent or not a number.
Amount ReadSettingNumber(const QString &section, const QString &key);
void WriteSettingNumber(const QString &section, const QString &key, Amount value);
// Reads a number of the shared settings file and writes `next(value)` in its place under
// the file's exclusive lock, so that no other process or computer writes it in between.
// Returns the value read (0 when absent).
Amount UpdateSettingNumber(const QString &section, const QString &key, const std::function<Amount(Amount)> &next);

QString ReadMachineSetting(const QString &key);
// A write that fails in /etc/focaris moves the file to the user's folder for the rest of
// the run and writes there (no message).
void WriteMachineSetting(const QString &key, const QString &value);

QString ReadLocalSetting(const QString &section, const QString &key);
void WriteLocalSetting(const QString &section, const QString &key, const QString &value);

// The same on any settings file (the tool and the imports use these).
QString ReadSettingFrom(const QString &file, const QString &section, const QString &key);
bool HasSettingIn(const QString &file, const QString &section, const QString &key);
void WriteSettingTo(const QString &file, const QString &section, const QString &key, const QString &value);

} // namespace focaris
