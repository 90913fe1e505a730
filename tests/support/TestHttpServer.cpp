#include "TestHttpServer.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <list>
#include <mutex>
#include <thread>

namespace kivtest {

namespace asio = boost::asio;
namespace beast = boost::beast;
using tcp = asio::ip::tcp;

class TestHttpServer::Impl {
 public:
  Impl(TestHttpServer& owner, Handler handler)
      : owner_(owner), handler_(std::move(handler)),
        acceptor_(io_, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)),
        thread_([this] { Accept(); }) {}

  ~Impl() {
    stopping_ = true;
    // A blocking accept is not woken by closing the acceptor: connect once to end it.
    boost::system::error_code ec;
    tcp::socket wake(io_);
    wake.connect(acceptor_.local_endpoint(), ec);
    thread_.join();
    acceptor_.close(ec);
    {
      // Unblock connections waiting for a request. Only the descriptor is touched: the
      // socket objects belong to their connection threads.
      std::lock_guard lock(mutex_);
      for (Connection& c : connections_) {
        if (!c.closed) ::shutdown(c.fd, SHUT_RDWR);
      }
    }
    for (Connection& c : connections_) c.thread.join();
  }

  std::uint16_t Port() const { return acceptor_.local_endpoint().port(); }

 private:
  void Accept() {
    while (!stopping_) {
      auto socket = std::make_shared<tcp::socket>(io_);
      boost::system::error_code ec;
      acceptor_.accept(*socket, ec);
      if (ec || stopping_) return;
      std::lock_guard lock(mutex_);
      Connection& c = connections_.emplace_back();
      c.fd = socket->native_handle();
      c.thread = std::thread([this, socket, &c] { Serve(*socket, c); });
    }
  }

  // Serves requests on one connection until the client closes it or a fault ends it.
  struct Connection {
    int fd = -1;
    bool closed = false;  // guarded by mutex_
    std::thread thread;
  };

  void Serve(tcp::socket& socket, Connection& connection) {
    beast::flat_buffer buffer;
    for (;;) {
      beast::http::request<beast::http::string_body> request;
      boost::system::error_code ec;
      beast::http::read(socket, buffer, request, ec);
      if (ec) return;
      HttpRequest r{std::string(request.target()), {}};
      for (const auto& field : request) {
        std::string name(field.name_string());
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        r.headers[name] = std::string(field.value());
      }
      ++owner_.requests_;
      const int open = ++owner_.open_;
      for (int p = owner_.peak_.load(); open > p && !owner_.peak_.compare_exchange_weak(p, open);) {}
      const bool keepOpen = Reply(socket, connection, handler_(r));
      --owner_.open_;
      if (!keepOpen) return;
    }
  }

  // Writes the reply with its faults; false when the connection must end.
  bool Reply(tcp::socket& socket, Connection& connection, const HttpReply& reply) {
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " Status\r\n";
    for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
    const long length = reply.declaredLength >= 0 ? reply.declaredLength : static_cast<long>(reply.body.size());
    head += "Content-Length: " + std::to_string(length) + "\r\n\r\n";
    boost::system::error_code ec;
    asio::write(socket, asio::buffer(head), ec);
    if (ec) return false;
    if (reply.stallMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply.stallMs));
    std::string_view body = reply.body;
    if (reply.resetAfterBodyBytes >= 0) body = body.substr(0, static_cast<std::size_t>(reply.resetAfterBodyBytes));
    asio::write(socket, asio::buffer(body.data(), body.size()), ec);
    const bool complete = reply.resetAfterBodyBytes < 0 && length == static_cast<long>(reply.body.size());
    if (!complete) {
      {
        std::lock_guard lock(mutex_);
        connection.closed = true;
      }
      socket.set_option(asio::socket_base::linger(true, 0), ec);  // reset, not a clean close
      socket.close(ec);
    }
    return complete && !ec;
  }

  TestHttpServer& owner_;
  Handler handler_;
  asio::io_context io_;
  tcp::acceptor acceptor_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::list<Connection> connections_;
  std::thread thread_;
};

TestHttpServer::TestHttpServer(Handler handler)
    : impl_(std::make_unique<Impl>(*this, std::move(handler))) {}

TestHttpServer::~TestHttpServer() = default;

std::uint16_t TestHttpServer::Port() const { return impl_->Port(); }

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

std::pair<std::uint64_t, std::uint64_t> TestHttpServer::ParseRange(const std::string& value) {
  const std::string bounds = value.substr(value.find('=') + 1);
  const auto dash = bounds.find('-');
  return {std::stoull(bounds.substr(0, dash)), std::stoull(bounds.substr(dash + 1))};
}

std::string TestHttpServer::DeterministicBytes(std::uint64_t offset, std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint64_t at = offset + i;
    bytes[i] = static_cast<char>((at * 2654435761u + (at >> 8)) & 0xFF);
  }
  return bytes;
}

}  // namespace kivtest
