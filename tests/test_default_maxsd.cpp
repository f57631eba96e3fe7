// The default maximum of significant digits and the settings store behind it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "api/cls_decimora.h"
#include "frame/restrictionator.h"
#include "platform/settings.h"

using namespace decimora;

namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    // A fresh directory of our own: runs in parallel never share one.
    std::string dir = (std::filesystem::temp_directory_path() / "decimora-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved_ = old != nullptr ? old : "";
    had_ = old != nullptr;
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (had_) ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(dir_);
    frame::SetDefaultMaxSD(100);
  }
  std::filesystem::path file() const { return dir_ / "decimora" / "settings.ini"; }
  std::string read() const {
    std::ifstream in(file());
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path dir_;
  std::string saved_;
  bool had_ = false;
};

TEST_F(SettingsStore, FirstUseWritesTheFactoryDefault) {
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
  EXPECT_EQ(read(), "[Options]\nMaxSD=100\n");
}

TEST_F(SettingsStore, StoredValueIsUsedAndOtherLinesKept) {
  std::filesystem::create_directories(file().parent_path());
  std::ofstream(file()) << "; mine\n[Other]\nMaxSD=7\n[Options]\nColour=blue\nMaxSD = 250\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(250));
  EXPECT_EQ(dcm.dcmADD(Value::Text("1" + std::string(300, '0') + "1"), Value::Text("0")).text().size(), 302u);
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_EQ(read(), "; mine\n[Other]\nMaxSD=7\n[Options]\nColour=blue\nMaxSD=30\n");
}

TEST_F(SettingsStore, NonNumberFallsBackAndLeavesTheFileAlone) {
  std::filesystem::create_directories(file().parent_path());
  const std::string content = "[Options]\nMaxSD=lots\n";
  std::ofstream(file()) << content;
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
  EXPECT_EQ(read(), content);
}

TEST_F(SettingsStore, UnwritableStoreFallsBack) {
  std::ofstream(dir_ / "decimora") << "a file where the folder should be\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
}

TEST_F(SettingsStore, StoreThatIsADirectoryFallsBack) {
  std::filesystem::create_directories(file());  // settings.ini is a directory: unreadable
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
}

TEST_F(SettingsStore, ByteOrderMarkIsReadAndKept) {
  std::filesystem::create_directories(file().parent_path());
  std::ofstream(file()) << "\xEF\xBB\xBF[Options]\nMaxSD=250\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(250));
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_EQ(read(), "\xEF\xBB\xBF[Options]\nMaxSD=30\n");  // one section, not two
}

TEST_F(SettingsStore, WriteKeepsSymlinkAndModeAndRemovesStaleTemporaries) {
  namespace fs = std::filesystem;
  fs::create_directories(file().parent_path());
  const fs::path real = dir_ / "real.ini";
  std::ofstream(real) << "[Options]\nMaxSD=7\n";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("../real.ini", file());
  // A writer killed before its rename: its process no longer exists.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const fs::path stale = real.string() + ".tmp." + std::to_string(dead);
  std::ofstream(stale) << "half";

  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_TRUE(fs::is_symlink(file()));
  EXPECT_EQ(read(), "[Options]\nMaxSD=30\n");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(stale));
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos) << entry.path();
  }
}

}  // namespace
