// The stored constants against MPFR, an implementation independent of the
// tool that wrote them, and the cut rules at the lengths the callers use.
#include "functions/constants.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <string>

#include "test_locale.h"

namespace decimora::functions {
namespace {

using decimora::testing::DefaultLocale;

// The first `significant` digits of x (0 < x < 10), rounded as asked, written
// with a leading digit and ".": x = d.ddd...
std::string MpfrDigits(mpfr_t x, std::size_t significant, mpfr_rnd_t rounding) {
  mpfr_exp_t exp = 0;
  char* s = mpfr_get_str(nullptr, &exp, 10, significant, x, rounding);
  std::string digits(s);
  mpfr_free_str(s);
  // exp is the place of the point: 1 for 3.14..., 0 for 0.69...
  if (exp == 0) digits.insert(0, "0");
  return digits.substr(0, 1) + "." + digits.substr(1);
}

class StoredConstants : public DefaultLocale {
 protected:
  void SetUp() override {
    DefaultLocale::SetUp();
    mpfr_init2(x_, 140'000);  // about 42,000 decimal digits
  }
  void TearDown() override {
    mpfr_clear(x_);
    DefaultLocale::TearDown();
  }
  mpfr_t x_;
};

TEST_F(StoredConstants, PiAndEAreRoundedToNearestAt32767Digits) {
  mpfr_const_pi(x_, MPFR_RNDN);
  const std::string pi = MpfrDigits(x_, 32'767, MPFR_RNDN);
  EXPECT_EQ(Get_Pi(kPiERequestLimit), pi);
  // The true expansion runs on 3096161...: the last stored decimal is rounded up.
  EXPECT_EQ(pi.substr(pi.size() - 5), "30962");

  mpfr_set_ui(x_, 1, MPFR_RNDN);
  mpfr_exp(x_, x_, MPFR_RNDN);
  EXPECT_EQ(Get_E(kPiERequestLimit), MpfrDigits(x_, 32'767, MPFR_RNDN));
}

TEST_F(StoredConstants, LogarithmsAreTruncated) {
  mpfr_const_log2(x_, MPFR_RNDN);
  EXPECT_EQ(Get_Ln2(kLogRequestLimit), MpfrDigits(x_, 40'050, MPFR_RNDZ));

  // ln 10 holds 41,000 decimals; the longest cut gives 40,051 characters.
  mpfr_set_ui(x_, 10, MPFR_RNDN);
  mpfr_log(x_, x_, MPFR_RNDN);
  const std::string ln10 = MpfrDigits(x_, 41'001, MPFR_RNDZ);
  EXPECT_EQ(Get_Ln10(kLogRequestLimit), ln10.substr(0, 40'052));
}

TEST_F(StoredConstants, CutTruncatesAndCountsTheSeparator) {
  EXPECT_EQ(Get_Pi(5), "3.1415");
  EXPECT_EQ(Get_E(5), "2.7182");
  EXPECT_EQ(Get_Ln2(10), "0.693147180");
  EXPECT_EQ(Get_Ln10(10), "2.302585092");
  EXPECT_EQ(Get_Pi(0), "3");
  EXPECT_EQ(Get_Pi(1), "3.");
  EXPECT_EQ(Get_Pi(-1), "");
  EXPECT_EQ(Get_Pi(2.5), "3.14");  // 3.5 characters: ties to even
  EXPECT_EQ(Get_Pi(1.5), "3.");
  EXPECT_EQ(Get_Pi(-2), "#VALUE!");
}

TEST_F(StoredConstants, RequestLimits) {
  EXPECT_EQ(Get_Pi(32'768).size(), 32'768u);
  EXPECT_EQ(Get_Pi(32'769), "#NUM!");
  EXPECT_EQ(Get_E(32'768.5), "#NUM!");
  EXPECT_EQ(Get_Ln2(40'051).size(), 40'052u);
  EXPECT_EQ(Get_Ln2(40'052), "#NUM!");
  EXPECT_EQ(Get_Ln10(40'051).size(), 40'052u);
  EXPECT_EQ(Get_Ln10(40'052), "#NUM!");

  // dcmPI caps digits at 32,767: the whole stored text, ending in 30962.
  const Value whole = dcmPI(Value::Number(40'000));
  ASSERT_TRUE(whole.isText());
  EXPECT_EQ(whole.text(), Get_Pi(32'767));
  EXPECT_EQ(whole.text().substr(whole.text().size() - 5), "30962");
  EXPECT_EQ(dcmE(Value::Number(32'767)).text(), Get_E(32'768));
}

TEST_F(StoredConstants, SeparatorIsReadAtEveryCall) {
  EXPECT_EQ(Get_Pi(3), "3.14");
  platform::LocaleOverrides comma;
  comma.decimalSeparator = ',';
  platform::SetLocaleOverrides(comma);
  EXPECT_EQ(Get_Pi(3), "3,14");
  EXPECT_EQ(Get_Ln2(3), "0,69");
}

}  // namespace
}  // namespace decimora::functions
