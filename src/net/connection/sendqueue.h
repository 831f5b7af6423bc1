// How both ends write: whole and asynchronously (the event loop never waits
// on a slow peer), and a peer that stops reading is let go rather than
// buffered for without end.
#pragma once

#include <QTcpSocket>
#include <string>

namespace valkoran::net {

inline constexpr qint64 kMaxUnsentBytes = qint64{8} << 20;

// Queues the bytes, byte for byte. False when more than kMaxUnsentBytes now
// wait to go out: the caller drops the connection.
inline bool QueueWrite(QTcpSocket& socket, const std::string& bytes) {
  socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return socket.bytesToWrite() <= kMaxUnsentBytes;
}

}  // namespace valkoran::net
