// What the benchmark programs share: operands and a facade that keeps away
// from the user's own settings file.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "api/cls_decimora.h"
#include "platform/allocator.h"

namespace decimora::bench {

// n random digits, the first one nonzero.
inline std::string RandomDigits(std::size_t n, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

// n digits from a 64-bit linear congruential generator, the first one
// nonzero: the same sequence as operand_digits in compare_operators.py, so
// the Python side can work on the very same numbers.
inline std::string OperandDigits(std::size_t n, std::uint64_t seed) {
  std::uint64_t x = seed;
  std::string s(n, '0');
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    s[i] = static_cast<char>('0' + (x >> 33) % 10);
  }
  if (s[0] == '0') s[0] = '7';
  return s;
}

// A scratch folder of this run's own, removed when the program ends.
class ScratchDir {
 public:
  ScratchDir() {
    std::string dir = (std::filesystem::temp_directory_path() / "decimora-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) != nullptr) path_ = dir;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// One object for the whole run, its settings in a scratch folder.
inline cls_Decimora& Facade() {
  static cls_Decimora& dcm = []() -> cls_Decimora& {
    static ScratchDir config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    platform::KeepFreedMemoryForReuse();  // as the decimora command does
    static cls_Decimora object;
    return object;
  }();
  return dcm;
}

}  // namespace decimora::bench
