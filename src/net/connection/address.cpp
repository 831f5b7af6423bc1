#include "net/connection/address.h"

#include <QHostAddress>

namespace valkoran::net {
namespace {

bool Refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return false;
}

bool IsIPv6(const QString& text) {
  QHostAddress address;
  return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

// Digits only: QString::toUInt would also let signs and spaces through.
bool ReadPort(const QString& text, quint16* port, QString* why) {
  if (text.isEmpty()) return Refuse(why, QStringLiteral("A port number from 1 to 65535 must follow the colon."));
  bool digits = text.size() <= 5;
  for (const QChar c : text) digits = digits && c >= u'0' && c <= u'9';
  const uint value = digits ? text.toUInt() : 0;
  if (value < 1 || value > 65535)
    return Refuse(why, QStringLiteral("\"%1\" is not a port: a port is a number from 1 to 65535.").arg(text));
  *port = static_cast<quint16>(value);
  return true;
}

}  // namespace

bool ParseAddress(const QString& text, quint16 defaultPort, QString* host, quint16* port, QString* why) {
  const QString typed = text.trimmed();
  if (typed.isEmpty()) return Refuse(why, QStringLiteral("Type the name or the address of the server."));
  QString name = typed;
  QString portText;  // after the colon, when there is one
  bool hasPort = false;
  if (typed.startsWith(u'[')) {
    const qsizetype close = typed.indexOf(u']');
    if (close < 0) return Refuse(why, QStringLiteral("The address lacks its closing bracket \"]\"."));
    name = typed.mid(1, close - 1);
    if (!IsIPv6(name)) return Refuse(why, QStringLiteral("\"%1\" is not an IPv6 address.").arg(name));
    const QString rest = typed.mid(close + 1);
    if (!rest.isEmpty() && !rest.startsWith(u':'))
      return Refuse(why, QStringLiteral("Only a colon and a port may follow \"]\", not \"%1\".").arg(rest));
    hasPort = !rest.isEmpty();
    portText = rest.mid(1);
  } else if (typed.count(u':') > 1) {
    if (!IsIPv6(typed))
      return Refuse(why, QStringLiteral("\"%1\" is not an IPv6 address (with a port, write [address]:port).").arg(typed));
  } else {
    const qsizetype colon = typed.indexOf(u':');
    if (colon >= 0) {
      name = typed.left(colon);
      portText = typed.mid(colon + 1);
      hasPort = true;
    }
    if (name.isEmpty()) return Refuse(why, QStringLiteral("Type the name or the address of the server before the colon."));
    for (const QChar c : name)
      if (c.isSpace()) return Refuse(why, QStringLiteral("\"%1\" is not a server name: a name has no spaces.").arg(name));
  }
  quint16 chosen = defaultPort;
  if (hasPort && !ReadPort(portText, &chosen, why)) return false;
  // The loopback address, not a name lookup: it works the same on every
  // system whatever its hosts file says, and the server listens there too.
  if (name.compare(u"localhost", Qt::CaseInsensitive) == 0) name = QHostAddress(QHostAddress::LocalHost).toString();
  *host = name;
  *port = chosen;
  return true;
}

QString ListenFailureText(quint16 port, QAbstractSocket::SocketError error, const QString& qtText) {
  if (error == QAbstractSocket::SocketAccessError && port > 0 && port < 1024)
    return QStringLiteral("Port %1 needs administrator rights on this system; choose a port above 1023 (for example %2).")
        .arg(port)
        .arg(port + 3000);
  if (error == QAbstractSocket::AddressInUseError)
    return QStringLiteral("Port %1 is already in use by another program.").arg(port);
  QString reason = qtText.trimmed();
  while (reason.endsWith(u'.')) reason.chop(1);
  if (reason.isEmpty()) reason = QStringLiteral("the system gave no reason");
  return QStringLiteral("Port %1 cannot be opened for network play: %2.").arg(port).arg(reason);
}

}  // namespace valkoran::net
