// The socket error codes and texts the remote copy reports (the WinSock numbering, which
// the program's messages and the office's support people know), and the mapping from the
// errors Qt's sockets report on this platform.
#pragma once

#include <QAbstractSocket>
#include <QString>

namespace focaris::transport {

constexpr int kWouldBlock = 10035;
constexpr int kBadAddress = 10014;
constexpr int kConnectionRefused = 10061;
constexpr int kTimedOut = 10060;

// The text of an error code; "Unkown error was encountered!" for a code it does not know.
QString socketErrorText(int code);

// The code reported for a Qt socket error. An unknown host is 10014 (the name look-up
// failed), a refused connection 10061.
int socketErrorCode(QAbstractSocket::SocketError error);

} // namespace focaris::transport
