// Text extraction and exclusion: the one-pass exclusion and the bucketed
// extraction against literal transcriptions of the written walks on random
// small texts, the cell limit of an overlapping extraction, and the
// gathering of subject and patterns.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "functions/text.h"

namespace {

using decimora::Array;
using decimora::HostError;
using decimora::Value;
using namespace decimora::functions;

// Cut out the first occurrence of each pattern until none is left.
std::string SlowExclude(std::string s, const std::vector<std::string>& patterns) {
  for (const std::string& p : patterns) {
    for (std::size_t at = s.find(p); at != std::string::npos; at = s.find(p)) s.erase(at, p.size());
  }
  return s;
}

// Position by position, the first pattern in list order that matches is
// appended; otherwise the character goes through the scanner.
std::string SlowExtract(const std::string& s, const std::vector<std::string>& patterns, bool scan) {
  std::string out;
  NumberScanner scanner;
  for (std::size_t i = 0; i < s.size(); ++i) {
    bool matched = false;
    for (const std::string& p : patterns) {
      if (s.compare(i, p.size(), p) == 0) {
        out += p;
        matched = true;
        break;
      }
    }
    if (!matched && scan) {
      char two[2];
      out.append(two, scanner.Feed(s[i], two));
    }
  }
  if (scan) scanner.Finish(out);
  return out;
}

std::string RandomText(std::mt19937& rng, std::size_t max_len, std::string_view alphabet) {
  std::string s(std::uniform_int_distribution<std::size_t>(0, max_len)(rng), ' ');
  for (char& c : s) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
  return s;
}

TEST(TextWalks, MatchLiteralTranscriptionsOnRandomTexts) {
  std::mt19937 rng(11);
  for (int round = 0; round < 5000; ++round) {
    // Few letters, so that occurrences overlap and removals join new ones.
    const std::string_view alphabet = round % 2 ? "ab" : "ab1.E+-()";
    const std::string subject = RandomText(rng, 24, alphabet);
    std::vector<std::string> patterns(std::uniform_int_distribution<int>(0, 3)(rng));
    for (std::string& p : patterns) {
      do {
        p = RandomText(rng, 3, alphabet);
      } while (p.empty());
    }
    SCOPED_TRACE(subject);
    EXPECT_EQ(ExcludePatterns(subject, patterns), SlowExclude(subject, patterns));
    EXPECT_EQ(ExtractPatterns(subject, patterns, false), SlowExtract(subject, patterns, false));
    EXPECT_EQ(ExtractPatterns(subject, patterns, true), SlowExtract(subject, patterns, true));
  }
}

TEST(TextWalks, ExclusionOfLongTextsIsOnePass) {
  // Each removal joins the next occurrence: cut one at a time, this is
  // quadratic; in one pass it is all gone.
  const std::string nested = std::string(100000, '(') + std::string(100000, ')');
  EXPECT_EQ(ExcludePatterns(nested, {"()"}), "");
  EXPECT_EQ(ExcludePatterns("x" + std::string(100000, 'a') + "x", {"aaa"}), "xax");
}

TEST(TextWalks, OverlappingExtractionStopsAtTheCellLimit) {
  const std::string cell(32767, 'a');
  // Every position matches: the text would be 32,766 * 2 characters.
  EXPECT_EQ(ExtractPatterns(cell, {"aa"}, false), "#NUM!");
  // A long pattern over a full cell would make about 10^9 characters.
  EXPECT_EQ(ExtractPatterns(cell, {std::string(30000, 'a')}, true), "#NUM!");
  EXPECT_EQ(ExtractPatterns(cell, {"a"}, false), cell);  // a full cell still fits
  const std::vector<Value> list = {Value::Text(cell), Value::Text("aa")};
  EXPECT_EQ(dcmEXTRACT(list), Value::Text("#NUM!"));
  EXPECT_EQ(dcmEXTRACTNUM(list), Value::Text("#NUM!"));
}

TEST(TextGathering, SubjectPatternsDirectivesAndErrorCells) {
  Array range(2, 2);
  range.at(1, 1) = Value::Error(HostError::NA);
  range.at(1, 2) = Value::Empty();
  range.at(2, 1) = Value::Text("format:thousands");
  range.at(2, 2) = Value::Number(2.5);
  const std::vector<Value> list = {
      Value(),           Value::Text("subject"),     Value::FromArray(range), Value::Error(HostError::Div0),
      Value::Bool(true), Value::Text("format:msd=7")};
  const TextArguments a = GatherTextArguments(list);
  EXPECT_EQ(a.subject, "subject");
  EXPECT_EQ(a.patterns, (std::vector<std::string>{"#N/A", "2.5", "#VALUE!", "True"}));
  EXPECT_TRUE(a.options.FormatThousands);
  EXPECT_EQ(a.options.maxSD, 7);
  EXPECT_EQ(a.options.FormatNegative, 1);
  // Without "MSD=" nothing of a text is rounded away.
  EXPECT_EQ(GatherTextArguments(std::vector<Value>{Value::Text("x")}).options.maxSD, 32767);
}

}  // namespace
