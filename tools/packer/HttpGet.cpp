#include "HttpGet.h"

#include <cstdlib>
#include <cstring>

#include "checker/Url.h"
#include "common/Cp932.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) { closesocket(s); }
#else
#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) { close(s); }
#endif

namespace packer {
namespace {

constexpr int kMaxRedirections = 5;
constexpr int kTimeoutSeconds = 30;

struct SocketLibrary {
#ifdef _WIN32
  SocketLibrary() {
    WSADATA data;
    ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~SocketLibrary() {
    if (ok) WSACleanup();
  }
  bool ok = false;
#else
  bool ok = true;
#endif
};

class Connection {
 public:
  explicit Connection(Socket s) : s_(s) {}
  ~Connection() {
    if (s_ != kNoSocket) CloseSocket(s_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Socket get() const { return s_; }

 private:
  Socket s_;
};

Socket Connect(const std::string& host, unsigned port, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    *error = "cannot resolve host " + host;
    return kNoSocket;
  }
  Socket s = kNoSocket;
  for (addrinfo* a = found; a && s == kNoSocket; a = a->ai_next) {
    s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == kNoSocket) continue;
#ifdef _WIN32
    DWORD timeout = kTimeoutSeconds * 1000;
#else
    timeval timeout{kTimeoutSeconds, 0};
#endif
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    if (connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
      CloseSocket(s);
      s = kNoSocket;
    }
  }
  freeaddrinfo(found);
  if (s == kNoSocket) *error = "cannot connect to " + host + ":" + std::to_string(port);
  return s;
}

// The value of a header in the header block, "" when absent.
std::string Header(const std::string& head, const char* name) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    std::size_t colon = head.find(':', at);
    std::size_t end = head.find("\r\n", at);
    if (colon == std::string::npos || (end != std::string::npos && colon > end)) continue;
    if (cp932::EqualsNoCase(head.substr(at, colon - at), name)) {
      std::string value = head.substr(colon + 1, end == std::string::npos ? std::string::npos : end - colon - 1);
      std::size_t first = value.find_first_not_of(" \t");
      return first == std::string::npos ? std::string() : value.substr(first);
    }
  }
  return std::string();
}

bool GetOnce(const std::string& url, HttpAnswer* answer, std::string* location, std::string* error) {
  checker::UrlParts parts;
  if (!checker::SplitUrl(url, parts) || !cp932::EqualsNoCase(parts.scheme, "http") || parts.host.empty()) {
    *error = "not an http:// address: " + url;
    return false;
  }
  unsigned port = parts.port ? parts.port : 80;
  Connection c(Connect(parts.host, port, error));
  if (c.get() == kNoSocket) return false;
  std::string request = "GET " + parts.path + " HTTP/1.0\r\nHost: " + parts.host +
                        (parts.port ? ":" + std::to_string(port) : "") +
                        "\r\nUser-Agent: Mervpack\r\nConnection: close\r\n\r\n";
  for (std::size_t sent = 0; sent < request.size();) {
    int n = send(c.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (n <= 0) {
      *error = "cannot send the request to " + parts.host;
      return false;
    }
    sent += static_cast<std::size_t>(n);
  }
  std::string data;
  char buffer[65536];
  for (;;) {
    int n = recv(c.get(), buffer, sizeof buffer, 0);
    if (n == 0) break;
    if (n < 0) {
      *error = "the connection to " + parts.host + " failed or timed out";
      return false;
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t headEnd = data.find("\r\n\r\n");
  if (data.compare(0, 5, "HTTP/") != 0 || headEnd == std::string::npos) {
    *error = "no HTTP answer from " + parts.host;
    return false;
  }
  std::string head = data.substr(0, headEnd);
  std::size_t space = head.find(' ');
  answer->status = space == std::string::npos ? 0 : std::atoi(head.c_str() + space + 1);
  std::string length = Header(head, "Content-Length");
  answer->contentLength = length.empty() ? -1 : std::atoll(length.c_str());
  answer->body = data.substr(headEnd + 4);
  answer->url = url;
  *location = answer->status / 100 == 3 ? Header(head, "Location") : std::string();
  if (!location->empty() && location->find("://") == std::string::npos) {
    std::string origin = url.substr(0, url.find('/', url.find("://") + 3));
    *location = (*location)[0] == '/' ? origin + *location : url.substr(0, url.rfind('/') + 1) + *location;
  }
  return true;
}

}  // namespace

bool HttpGet(const std::string& url, HttpAnswer* answer, std::string* error) {
  SocketLibrary library;
  if (!library.ok) {
    *error = "the socket library does not start";
    return false;
  }
  std::string current = url;
  for (int i = 0; i <= kMaxRedirections; ++i) {
    std::string location;
    if (!GetOnce(current, answer, &location, error)) return false;
    if (location.empty()) return true;
    current = location;
  }
  *error = "too many redirections from " + url;
  return false;
}

}  // namespace packer
