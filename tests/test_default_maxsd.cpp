// The default maximum of significant digits and the settings store behind it.
#include <gtest/gtest.h>

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
    dir_ = std::filesystem::temp_directory_path() /
           ("decimora-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
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

}  // namespace
