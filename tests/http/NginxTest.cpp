// A download from a real nginx, started here on a free loopback port with its own
// configuration in a temporary folder, compared byte for byte.
#include "RequiredTool.h"
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
#include <condition_variable>
#include <mutex>
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
  // With a certificate and key, the server speaks HTTPS.
  Nginx(const std::filesystem::path& dir, const std::filesystem::path& root,
        const std::string& certificate = {}, const std::string& key = {})
      : port_(FreePort()), tls_(!certificate.empty()) {
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
                        << "  server { listen 127.0.0.1:" << port_ << (tls_ ? " ssl" : "") << "; root "
                        << root.string() << ";\n"
                        << (tls_ ? "    ssl_certificate " + certificate + "; ssl_certificate_key " + key + ";\n" : "")
                        << "  }\n}\n";
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
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + path;
  }

 private:
  std::uint16_t port_;
  bool tls_;
  pid_t pid_ = 0;
  bool started_ = false;
};

}  // namespace

TEST(Nginx, ADownloadFromARealServerIsByteExact) {
  ASSERT_TRUE(kivtest::ToolInstalled("/usr/sbin/nginx", "nginx-light"));
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

TEST(Nginx, HTTPSIsVerifiedAgainstTheCertificateAuthorities) {
  ASSERT_TRUE(kivtest::ToolInstalled("/usr/sbin/nginx", "nginx-light"));
  ASSERT_TRUE(kivtest::ToolInstalled("openssl", "openssl"));
  TempDir dir;
  std::filesystem::create_directories(dir / "www");
  std::ofstream(dir / "www" / "clip.bin", std::ios::binary) << TestHttpServer::DeterministicBytes(7, 70000);
  const std::string cert = (dir / "cert.pem").string(), key = (dir / "key.pem").string();
  const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                           " -addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert +
                           " >/dev/null 2>&1";
  ASSERT_EQ(std::system(make.c_str()), 0) << "openssl could not make a certificate";
  Nginx nginx(dir.path(), dir / "www", cert, key);
  ASSERT_TRUE(nginx.Running());

  kivnet::http::RequestProcessor processor;
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<boost::shared_ptr<kivnet::Response>> responses;
  auto get = [&](const kivnet::http::RequestOptions& options) {
    const std::size_t expected = responses.size() + 1;
    EXPECT_TRUE(processor.StartGet(kivcore::Guid::CreateUnique(), kivcore::ImmutableString::CreateDynamic(nginx.Url("/clip.bin")), {},
                                   options, [&](const kivcore::Guid&, const boost::shared_ptr<kivnet::Response>& r) {
                                     std::lock_guard lock(mutex);
                                     responses.push_back(r);
                                     arrived.notify_all();
                                   }));
    std::unique_lock lock(mutex);
    EXPECT_TRUE(arrived.wait_for(lock, std::chrono::seconds(20), [&] { return responses.size() >= expected; }));
    return responses.back();
  };
  // The system's authorities do not know this certificate: the connection is refused.
  const auto untrusted = get({});
  EXPECT_EQ(untrusted->GetStatusCode(), kivnet::kStatusTransportFailed);
  kivnet::http::RequestOptions trusting;
  trusting.certificateAuthorityFile = cert;
  const auto trusted = get(trusting);
  EXPECT_EQ(trusted->GetStatusCode(), 200);
  EXPECT_TRUE(trusted->GetPayload() == TestHttpServer::DeterministicBytes(7, 70000));
}
