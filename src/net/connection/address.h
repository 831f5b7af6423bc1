// What the player types to reach a server, and what the player reads when
// this machine cannot open its port for the others.
#pragma once

#include <QAbstractSocket>
#include <QString>

namespace valkoran::net {

// Reads "host", "host:port", "[v6 address]:port", "[v6 address]" or a bare
// IPv6 address (which, colons being its own, takes no port). "localhost" in
// any letter case is this machine's loopback address. On a refusal `host`
// and `port` are left alone and `why` (when given) holds the reason.
bool ParseAddress(const QString& text, quint16 defaultPort, QString* host, quint16* port, QString* why);

// The sentence a player reads when listening on `port` failed; `qtText` is
// Qt's own wording, used when nothing plainer can be said.
QString ListenFailureText(quint16 port, QAbstractSocket::SocketError error, const QString& qtText);

}  // namespace valkoran::net
