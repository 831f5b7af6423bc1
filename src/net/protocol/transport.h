// What the protocol needs of the network: whole messages out on one
// connection, and whether a connection is up. Socket 0 is a client's link
// to its server; 1..3 are a server's links to the clients of seats 1..3.
#pragma once

#include <string>

namespace valkoran::net {

inline constexpr int kMaxClients = 3;
inline constexpr int kDefaultPort = 330;

class Transport {
 public:
  virtual ~Transport() = default;
  virtual bool Connected(int socket) const = 0;
  // Sends the bytes whole on that connection (nothing when it is down).
  virtual void Send(int socket, const std::string& bytes) = 0;
};

}  // namespace valkoran::net
