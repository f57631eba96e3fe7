#include "api/default_maxsd.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "frame/restrictionator.h"
#include "platform/convert.h"
#include "platform/settings.h"

namespace decimora::api {

namespace {
constexpr const char* kApplication = "Decimora";
constexpr const char* kSection = "Options";
constexpr const char* kKey = "MaxSD";

void WarnOnce(const std::string& message) {
  static bool warned = false;
  if (warned) return;
  warned = true;
  std::fprintf(stderr, "decimora: warning: %s; using a default of 100 significant digits\n", message.c_str());
}
}  // namespace

void LoadDefaultMaxSD() {
  const platform::SettingRead read = platform::ReadSetting(kApplication, kSection, kKey);
  switch (read.status) {
    case platform::StoreStatus::Ok: {
      // Read as the stored number text was written: a plain decimal number
      // with "." (not the locale's separator).
      std::optional<double> value;
      double d = 0;
      const std::string& s = read.value;
      const char* begin = s.data();
      const char* end = s.data() + s.size();
      if (auto res = std::from_chars(begin, end, d); res.ec == std::errc() && res.ptr == end && std::isfinite(d)) {
        value = d;
      }
      if (!value) {
        WarnOnce("the stored default MaxSD \"" + s + "\" is not a number");
        frame::SetDefaultMaxSD(kFactoryDefaultMaxSD);
        return;
      }
      // No result can hold more digits than a cell, nor fewer than none.
      d = *value > frame::kMaxSignificantDigits ? frame::kMaxSignificantDigits : (*value < 0 ? 0 : *value);
      frame::SetDefaultMaxSD(d);
      return;
    }
    case platform::StoreStatus::Missing: {
      std::string why;
      if (!platform::WriteSetting(kApplication, kSection, kKey, "100", &why)) {
        WarnOnce("cannot write the settings store (" + why + ")");
      }
      frame::SetDefaultMaxSD(kFactoryDefaultMaxSD);
      return;
    }
    case platform::StoreStatus::Unavailable:
      WarnOnce("cannot read the settings store (" + read.detail + ")");
      frame::SetDefaultMaxSD(kFactoryDefaultMaxSD);
      return;
  }
}

}  // namespace decimora::api
