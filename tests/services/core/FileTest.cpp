#include "TempDir.h"

#include "services/core/Dir.h"
#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/FileUtils.h"
#include "services/core/OPlatformByteStream.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

using namespace kivcore;
using namespace kivcore::filesupport;

namespace {

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets an environment variable for the scope, restoring the old value after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Limits the size of files this process may write, as a full disk would.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // make write() fail with EFBIG
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit old_{};
  void (*previousHandler_)(int);
};

}  // namespace

TEST(File, NamesAndParts) {
  const File f(std::u16string_view(u"/home/u/.config/Saved Workspaces/Édition-1.xml"));
  EXPECT_EQ(f.GetName(), u"Édition-1.xml");
  EXPECT_EQ(f.GetBaseName(), u"Édition-1");
  EXPECT_EQ(f.GetExtension(true), u".xml");
  EXPECT_EQ(f.GetExtension(false), u"xml");
  EXPECT_EQ(f.GetParent().GetName(), u"Saved Workspaces");
  EXPECT_EQ(File(std::u16string_view(u"/tmp/noext")).GetExtension(true), u"");
}

TEST(File, CreateRenameDeleteAndModified) {
  kivtest::TempDir dir;
  const File a(dir / "a.txt"), b(dir / "b.txt");
  EXPECT_FALSE(a.Exists());
  EXPECT_TRUE(a.Modified().is_not_a_date_time());
  ASSERT_TRUE(a.Create());
  EXPECT_FALSE(a.Create()) << "creating over an existing file must fail";
  EXPECT_FALSE(a.Modified().is_not_a_date_time());
  ASSERT_TRUE(a.Rename(b));
  EXPECT_FALSE(a.Exists());
  EXPECT_TRUE(b.Exists());
  std::error_code ec;
  EXPECT_FALSE(a.Delete(&ec));
  EXPECT_TRUE(b.Delete());
  EXPECT_FALSE(b.Exists());
}

TEST(Dir, PrefDirFollowsTheEnvironmentInOrder) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv pref("KIV_PREF_DIR", "/prefs");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(Dir::PrefDir().Path(), "/prefs");
  }
  {
    ScopedEnv pref("KIV_PREF_DIR", "");  // empty counts as unset
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(Dir::PrefDir().Path(), "/xdg");
  }
  ScopedEnv pref("KIV_PREF_DIR", nullptr);
  ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(Dir::PrefDir().Path(), "/home/someone/.config");
}

TEST(FileUtils, UniqueFileNameNeverNamesAnExistingFile) {
  kivtest::TempDir dir;
  const File folder(dir.path());
  std::set<File> seen;
  for (int i = 0; i < 20; ++i) {
    const File f = FileUtils::UniqueFileName(folder, u"UserWorkspace", u".xml");
    ASSERT_FALSE(f.Exists());
    EXPECT_EQ(f.GetParent(), folder);
    EXPECT_EQ(f.GetExtension(true), u".xml");
    EXPECT_EQ(f.GetName().rfind(u"UserWorkspace", 0), 0u);
    ASSERT_TRUE(seen.insert(f).second);
    ASSERT_TRUE(FileUtils::CreateNewFile(f));
  }
  // A gap left by a deleted file is reused, still without touching existing files.
  ASSERT_TRUE(FileUtils::Remove(*std::next(seen.begin(), 5)));
  EXPECT_FALSE(FileUtils::UniqueFileName(folder, u"UserWorkspace", u".xml").Exists());
  EXPECT_EQ(FileUtils::ContainedFiles(folder).size(), 19u);
}

TEST(FileUtils, FoldersCopyAndReadOnly) {
  kivtest::TempDir dir;
  const File nested(dir / "Saved/Archived");
  ASSERT_TRUE(FileUtils::EnsureDirectoryExists(nested));
  ASSERT_TRUE(FileUtils::EnsureDirectoryExists(nested));  // again: still fine
  const File src = FileUtils::BuildPathSpec(nested, u"a.xml");
  FileUtils::WriteFileAtomically(src, "alpha");
  const File dst(dir / "b.xml");
  ASSERT_TRUE(FileUtils::Copy(src, dst, false));
  EXPECT_FALSE(FileUtils::Copy(src, dst, false)) << "an existing target needs overwrite";
  EXPECT_EQ(Slurp(dst.Path()), "alpha");
  std::filesystem::permissions(dst.Path(), std::filesystem::perms::owner_read);
  ASSERT_TRUE(FileUtils::ClearReadOnly(dst));
  EXPECT_NE(std::filesystem::status(dst.Path()).permissions() & std::filesystem::perms::owner_write,
            std::filesystem::perms::none);
  // Only regular files are listed, folders are not.
  EXPECT_EQ(FileUtils::ContainedFiles(File(dir.path())), std::vector<File>{dst});
  EXPECT_TRUE(FileUtils::ContainedFiles(File(dir / "none")).empty());
  ASSERT_TRUE(FileUtils::Remove(File(dir / "Saved")));
  EXPECT_FALSE(File(dir / "Saved").Exists());
}

TEST(FileUtils, AtomicWriteKeepsTheOldFileWholeWhenTheWriteFails) {
  kivtest::TempDir dir;
  const File target(dir / "WSMgrCfg.xml");
  const std::string old(300, 'o');
  FileUtils::WriteFileAtomically(target, old);
  {
    ScopedFileSizeLimit limit(1000);
    EXPECT_THROW(FileUtils::WriteFileAtomically(target, std::string(5000, 'n')), config::Error);
  }
  EXPECT_EQ(Slurp(target.Path()), old);
  // No temporary file is left behind.
  EXPECT_EQ(FileUtils::ContainedFiles(File(dir.path())), std::vector<File>{target});

  // Writing into a missing folder fails with a message naming the file.
  try {
    FileUtils::WriteFileAtomically(File(dir / "no/such/x.xml"), "x");
    FAIL();
  } catch (const config::Error& e) {
    EXPECT_NE(std::string(e.what()).find("x.xml\" could not be written"), std::string::npos);
  }
  FileUtils::WriteFileAtomically(target, "new");
  EXPECT_EQ(Slurp(target.Path()), "new");
}

TEST(OPlatformByteStream, WritesAtOffsetsAndSetsSize) {
  kivtest::TempDir dir;
  const File f(dir / "download.bin");
  {
    OPlatformByteStream out(f);
    out.SetSize(10);
    out.Seek(6);
    out.Write("6789", 4);
    out.Seek(0);
    out.Write("0123", 4);
    EXPECT_EQ(out.Tell(), 4u);
    out.Close();
    EXPECT_FALSE(out.IsOpen());
    EXPECT_THROW(out.Write("x", 1), config::Error);
  }
  EXPECT_EQ(Slurp(f.Path()), std::string("0123\0\0" "6789", 10));
  {
    OPlatformByteStream again(f);  // opening keeps the content unless asked to truncate
    again.SetSize(2);
  }
  EXPECT_EQ(Slurp(f.Path()), "01");
  EXPECT_THROW(OPlatformByteStream(File(dir / "missing/dir/file")), config::Error);
}
