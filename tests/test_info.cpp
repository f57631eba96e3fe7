// The information functions that depend on the machine: the welcome text
// names the login user, and the reference path lies beside the code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "functions/info.h"

namespace {

using decimora::Value;

TEST(Info, WelcomeNamesTheLoginUser) {
  const char* saved = std::getenv("LOGNAME");
  const std::string before = saved ? saved : "";
  ::setenv("LOGNAME", "ada", 1);
  EXPECT_EQ(decimora::functions::dcmTEST(), Value::Text("Welcome to Decimora 3.1b, ada!"));
  // Without $LOGNAME the password database names the user.
  ::unsetenv("LOGNAME");
  const Value fallback = decimora::functions::dcmTEST();
  ASSERT_TRUE(fallback.isText());
  EXPECT_TRUE(fallback.text().starts_with("Welcome to Decimora 3.1b, "));
  EXPECT_GT(fallback.text().size(), std::string("Welcome to Decimora 3.1b, !").size());
  if (saved) ::setenv("LOGNAME", before.c_str(), 1);
}

TEST(Info, ReferencePathIsAbsoluteAndNamesTheReference) {
  const Value path = decimora::functions::dcmHelpfilePath();
  ASSERT_TRUE(path.isText());
  EXPECT_TRUE(path.text().starts_with("/")) << path.text();
  EXPECT_TRUE(path.text().ends_with("/tests/Decimora.html")) << path.text();
}

}  // namespace
