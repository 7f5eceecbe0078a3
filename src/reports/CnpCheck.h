// The personal codes the agencies' files require.
#pragma once

#include <QString>
#include <QStringList>

namespace focaris::exports {

// True for a personal code of exactly 13 digits, the form the agencies' files require.
bool ThirteenDigitCnp(const QString &cnp);
// The refusal of an agency file whose persons lack a 13-digit CNP, naming them (the first
// 20, then how many more) so that the clerk can mend them before writing it again.
QString MissingCnpMessage(const QStringList &names);

} // namespace focaris::exports
