// The scrambling of the administrator password kept under "INIT" / "WIN" of the shared
// settings file. It is deterministic, so a login compares scrambled forms.
#pragma once

#include <QByteArray>
#include <QString>

namespace focaris {

// Scrambles the Windows-1250 bytes of a password with the 32-bit linear congruential
// generator of the older installations (R := R × 134775813 + 1, draw(n) = R × n / 2^32)
// seeded with the sum of the bytes. The result is the password's length + 7 to 36 bytes.
QByteArray ScramblePasswordBytes(const QByteArray &cp1250);
// The same on text: the password is encoded in Windows-1250 and the scrambled bytes are
// decoded back, so that the result written with WriteSetting gives the same bytes on disk.
QString ScramblePassword(const QString &password);

} // namespace focaris
