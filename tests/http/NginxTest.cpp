// A download from a real nginx, started here on a free loopback port with its own
// configuration in a temporary folder, compared byte for byte.
#include "TestHttpServer.h"

#include "http/HTTPDownloadManager.h"
#include "../services/core/TempDir.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

extern char** environ;

namespace {

using kivtest::TempDir;
using kivtest::TestHttpServer;

std::uint16_t FreePort() {
  boost::asio::io_context io;
  boost::asio::ip::tcp::acceptor a(io, {boost::asio::ip::make_address("127.0.0.1"), 0});
  return a.local_endpoint().port();
}

bool Accepts(std::uint16_t port) {
  boost::asio::io_context io;
  boost::asio::ip::tcp::socket s(io);
  boost::system::error_code ec;
  s.connect({boost::asio::ip::make_address("127.0.0.1"), port}, ec);
  return !ec;
}

// nginx in the foreground, serving root, until destroyed.
class Nginx {
 public:
  Nginx(const std::filesystem::path& dir, const std::filesystem::path& root) : port_(FreePort()) {
    const auto conf = dir / "nginx.conf";
    std::ofstream(conf) << "daemon off;\nmaster_process off;\nuser root;\nworker_processes 1;\n"
                        << "pid " << (dir / "nginx.pid").string() << ";\n"
                        << "error_log " << (dir / "error.log").string() << ";\n"
                        << "events { worker_connections 64; }\n"
                        << "http {\n  access_log off;\n"
                        << "  client_body_temp_path " << dir.string() << "/body;\n"
                        << "  proxy_temp_path " << dir.string() << "/proxy;\n"
                        << "  fastcgi_temp_path " << dir.string() << "/fastcgi;\n"
                        << "  uwsgi_temp_path " << dir.string() << "/uwsgi;\n"
                        << "  scgi_temp_path " << dir.string() << "/scgi;\n"
                        << "  server { listen 127.0.0.1:" << port_ << "; root " << root.string() << "; }\n}\n";
    std::vector<std::string> args = {"/usr/sbin/nginx", "-p", dir.string(), "-c", conf.string()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    started_ = ::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
    for (int i = 0; started_ && i < 500 && !Accepts(port_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~Nginx() {
    if (!started_) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  bool Running() const { return started_ && Accepts(port_); }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  std::uint16_t port_;
  pid_t pid_ = 0;
  bool started_ = false;
};

}  // namespace

TEST(Nginx, ADownloadFromARealServerIsByteExact) {
  ASSERT_TRUE(std::filesystem::exists("/usr/sbin/nginx")) << "nginx is not installed (scripts/bootstrap)";
  TempDir dir;
  std::filesystem::create_directories(dir / "www");
  const std::string content = TestHttpServer::DeterministicBytes(0, 5'000'017);
  std::ofstream(dir / "www" / "media.bin", std::ios::binary) << content;
  Nginx nginx(dir.path(), dir / "www");
  ASSERT_TRUE(nginx.Running()) << "nginx did not start; see " << (dir / "error.log");

  auto manager = boost::make_shared<kivworkspace::http::HTTPDownloadManager>(4, 1 << 20);
  auto s = manager->NewDownload(kivcore::ImmutableString::CreateDynamic(nginx.Url("/media.bin")),
                                kivcore::filesupport::File(dir / "copy.bin"), {}, true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!s->IsDone() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(s->IsDone());
  ASSERT_TRUE(s->Succeeded()) << (s->Failed() ? s->Failed()->GetPayload() : "");
  std::ifstream in(dir / "copy.bin", std::ios::binary);
  const std::string copy((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(copy.size(), content.size());
  EXPECT_TRUE(copy == content);
}
