// Golden tests of the built `decimora` program: exact standard output,
// diagnostics and exit status, as scripts calling it see them.
#include <fcntl.h>
#include <poll.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "api/registry.h"

#ifndef DECIMORA_BIN
#error "DECIMORA_BIN must name the built decimora program"
#endif

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class CliEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "decimora-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    // A fixed locale and an empty settings store, whatever the caller has.
    setenv("LC_ALL", "C", 1);
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  static fs::path dir_;
};
fs::path CliEnvironment::dir_;
[[maybe_unused]] testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new CliEnvironment);

// Runs the program with args; stdin is `input` (a file, so never a terminal).
Outcome RunDecimora(const std::vector<std::string>& args, const std::string& input = "") {
  const fs::path in = CliEnvironment::dir_ / "stdin";
  const fs::path out = CliEnvironment::dir_ / "stdout";
  const fs::path err = CliEnvironment::dir_ / "stderr";
  std::ofstream(in, std::ios::binary) << input;

  std::vector<char*> argv;
  std::string program = DECIMORA_BIN;
  argv.push_back(program.data());
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int fin = open(in.c_str(), O_RDONLY);
    const int fout = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int ferr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fin < 0 || fout < 0 || ferr < 0) _exit(126);
    dup2(fin, 0);
    dup2(fout, 1);
    dup2(ferr, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  Outcome o;
  int wstatus = 0;
  if (pid > 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) o.status = WEXITSTATUS(wstatus);
  o.out = ReadFile(out);
  o.err = ReadFile(err);
  return o;
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

const std::vector<std::string> kKinds = {
    R"(dcmADD("0.1","0.2"))", "dcmSUBTRACT(3,12.5,2)", R"({1,,3;"a",TRUE,#N/A})", R"(VALUE("1.5"))",
    "BLANK()",                "#DIV/0!",               R"("say ""hi""")",        "dcmISEQUAL(1.10,1.1)",
    "FALSE",
};

TEST(Cli, PlainOutputOfEveryKind) {
  const Outcome o = RunDecimora(kKinds);
  EXPECT_EQ(o.out, "0.3\n(9.5)\n1\t\t3\na\tTRUE\t#N/A\n1.5\n\n#DIV/0!\nsay \"hi\"\nTrue\nFALSE\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.status, 0);
}

TEST(Cli, JsonOutputOfEveryKind) {
  std::vector<std::string> args = {"--json"};
  args.insert(args.end(), kKinds.begin(), kKinds.end());
  args.push_back("VALUE(1E+20)");
  args.push_back("VALUE(-0.1)");
  // Quote, backslash, TAB and another control character are escaped, UTF-8
  // passes through, and a byte that is not UTF-8 cannot break the JSON line.
  args.push_back("\"q\"\" b\\ t\t c\x01 \xc3\xa9 bad\xff\"");
  const Outcome o = RunDecimora(args);
  EXPECT_EQ(o.out,
            "\"0.3\"\n\"(9.5)\"\n[[\"1\",null,\"3\"],[\"a\",true,{\"error\":\"#N/A\"}]]\n1.5\nnull\n"
            "{\"error\":\"#DIV/0!\"}\n\"say \\\"hi\\\"\"\n\"True\"\nfalse\n1e+20\n-0.1\n"
            "\"q\\\" b\\\\ t\\t c\\u0001 \xc3\xa9 bad\\ufffd\"\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.status, 0);
}

TEST(Cli, NegativeNumberIsAFormulaNotAnOption) {
  const Outcome o = RunDecimora({"-12.5", "--", "-x"});
  EXPECT_EQ(o.out, "-12.5\n\n");
  EXPECT_TRUE(StartsWith(o.err, "decimora: error: -x: column 1: ")) << o.err;
  EXPECT_EQ(o.status, 2);
}

TEST(Cli, BatchModeKeepsLinesAlignedAndGoesOnAfterASyntaxError) {
  const Outcome o = RunDecimora({}, "dcmADD(1,2)\ndcmADD(1,\n\n#N/A\r\n{1,2;3}\ndcmADD(2,2)");
  EXPECT_EQ(o.out, "3\n\n\n#N/A\n\n4\n");
  EXPECT_EQ(o.err,
            "decimora: error: line 2: column 10: missing ')' to close the call of dcmADD opened at column 7\n"
            "decimora: error: line 5: column 7: row 2 of the array has 1 value, row 1 has 2\n");
  EXPECT_EQ(o.status, 2);

  const Outcome json = RunDecimora({"--json"}, "BLANK()\n\n1\n");
  EXPECT_EQ(json.out, "null\n\n\"1\"\n");
  EXPECT_EQ(json.status, 0);
}

// Input is read in blocks: lines that straddle a block boundary, a line
// longer than a block and a last line without a newline must all come out
// whole and in order.
TEST(Cli, BatchModeReadsLinesAcrossBlocks) {
  std::string input;
  std::string expected;
  for (int i = 0; i < 60000; ++i) {  // about 1.3 MB of short lines
    input += "dcmADD(" + std::to_string(i) + ",1)\n";
    expected += std::to_string(i + 1) + "\n";
  }
  const std::string longText(3'000'000, 'x');
  input += "\"" + longText + "\"\r\n";
  expected += longText + "\n";
  input += "dcmSUBTRACT(1,3)";
  expected += "-2\n";
  const Outcome o = RunDecimora({}, input);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "");
  EXPECT_TRUE(o.out == expected) << "output differs, " << o.out.size() << " bytes for " << expected.size();
}

// Batch output is buffered, but a program that writes one formula into a
// pipe and waits for its answer must get it before it writes the next.
TEST(Cli, BatchModeAnswersEachLineOfAPipeBeforeTheNextArrives) {
  int to_child[2];
  int from_child[2];
  ASSERT_EQ(pipe(to_child), 0);
  ASSERT_EQ(pipe(from_child), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close(to_child[1]);
    close(from_child[0]);
    std::string program = DECIMORA_BIN;
    char* argv[] = {program.data(), nullptr};
    execv(argv[0], argv);
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  auto answer = [&](const std::string& line) {
    EXPECT_EQ(write(to_child[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
    std::string got;
    pollfd p{from_child[0], POLLIN, 0};
    while (got.find('\n') == std::string::npos && poll(&p, 1, 10000) == 1) {
      char buf[256];
      const ssize_t n = read(from_child[0], buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
  };
  EXPECT_EQ(answer("dcmADD(1,2)\n"), "3\n");
  EXPECT_EQ(answer("\n"), "\n");
  EXPECT_EQ(answer("dcmMULTIPLY(4,5)\n"), "20\n");
  close(to_child[1]);
  int wstatus = 0;
  EXPECT_EQ(waitpid(pid, &wstatus, 0), pid);
  close(from_child[0]);
  EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0);
}

TEST(Cli, BatchModePrintsAnArrayOnOneLine) {
  // In the formula notation, so each result is one line and can be read back.
  const Outcome o = RunDecimora({}, "{1;2;3}\ndcmADD(1,1)\n{1,,3;\"a\",TRUE,#N/A}\n"
                                    "{\"1,5\",\"(2)\",\"say \"\"hi\"\"\",\"\",-.5,\"#NUM!\",VALUE(2)}\n");
  EXPECT_EQ(o.out, "{1;2;3}\n2\n{1,,3;\"a\",TRUE,#N/A}\n{\"1,5\",\"(2)\",\"say \"\"hi\"\"\",\"\",-.5,\"#NUM!\",2}\n");
  EXPECT_EQ(o.status, 0);
  // Formulas given as arguments keep one line per row.
  EXPECT_EQ(RunDecimora({"{1;2}", "dcmADD(1,1)"}).out, "1\n2\n2\n");
}

TEST(Cli, UnknownFunctionIsAResultWithAHint) {
  const Outcome o = RunDecimora({"dcmADDD(1,2)", "add(1,2)", "zzzzzzzz()"});
  EXPECT_EQ(o.out, "#NAME?\n#NAME?\n#NAME?\n");
  EXPECT_EQ(o.err,
            "decimora: warning: unknown function 'dcmADDD'; did you mean 'dcmADD'?\n"
            "decimora: warning: unknown function 'add'; did you mean 'dcmADD'?\n");
  EXPECT_EQ(o.status, 0);
}

TEST(Cli, NestingIsBounded) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "dcmADD(";
  const Outcome o = RunDecimora({}, deep + "\n");
  EXPECT_EQ(o.out, "\n");
  EXPECT_NE(o.err.find("line 1: column 1407: formula nests deeper than 200 levels"), std::string::npos) << o.err;
  EXPECT_EQ(o.status, 2);
}

TEST(Cli, ListShowsEveryRegisteredFunction) {
  const Outcome o = RunDecimora({"--list"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("High-Precision Operators:\n  dcmADD(number1, number2, [format_negative], "),
            std::string::npos);
  for (const decimora::FunctionRow& row : decimora::FunctionTable()) {
    const std::size_t at = o.out.find("\n  " + std::string(row.name) + "(");
    ASSERT_NE(at, std::string::npos) << row.name;
    const std::string line = o.out.substr(at + 1, o.out.find('\n', at + 1) - at - 1);
    EXPECT_EQ(line.find("...)") != std::string::npos, row.openEnded) << line;
    EXPECT_EQ(line.find("(not available yet)") != std::string::npos, row.entry == nullptr) << line;
  }
}

TEST(Cli, HelpVersionAndFunctionHelp) {
  const Outcome help = RunDecimora({"--help"});
  EXPECT_TRUE(StartsWith(help.out, "usage: decimora [OPTIONS] [FORMULA ...]\n")) << help.out;
  EXPECT_NE(help.out.find("--currency-position=before|after"), std::string::npos);
  EXPECT_EQ(help.status, 0);

  const Outcome version = RunDecimora({"--version"});
  EXPECT_EQ(version.out, "decimora 0.1.0\n");
  EXPECT_EQ(version.status, 0);

  for (const std::vector<std::string>& args : {std::vector<std::string>{"--help", "dcmadd"},
                                               std::vector<std::string>{"--help=dcmADD"}}) {
    const Outcome fn = RunDecimora(args);
    EXPECT_TRUE(StartsWith(fn.out, "dcmADD(number1, number2, [format_negative], [format_thousands], ")) << fn.out;
    EXPECT_NE(fn.out.find("\nCategory: High-Precision Operators\nAdds two numbers, with up to 32,767 "),
              std::string::npos)
        << fn.out;
    // Each argument with its description, then the row's example.
    EXPECT_NE(fn.out.find("\nArguments:\n  number1 "), std::string::npos) << fn.out;
    EXPECT_NE(fn.out.find("\n  [format_negative]  "), std::string::npos) << fn.out;
    EXPECT_NE(fn.out.find("\nExample: =dcmADD(\"0.1\", \"0.2\") gives 0.3\n"), std::string::npos) << fn.out;
    EXPECT_EQ(fn.status, 0);
  }

  const Outcome unknown = RunDecimora({"--help=dcmAD"});
  EXPECT_EQ(unknown.err, "decimora: error: unknown function 'dcmAD'; did you mean 'dcmADD'?\n");
  EXPECT_EQ(unknown.status, 2);
}

// The reference the build writes beside the program is the one the program
// writes now, and it is where dcmHelpfilePath says it is.
TEST(Cli, HelpfilePathNamesTheReferenceTheBuildWrote) {
  const Outcome html = RunDecimora({"--help-html"});
  EXPECT_EQ(html.status, 0);
  EXPECT_TRUE(StartsWith(html.out, "<!DOCTYPE html>\n")) << html.out.substr(0, 100);
  const Outcome path = RunDecimora({"dcmHelpfilePath()"});
  ASSERT_EQ(path.status, 0);
  ASSERT_FALSE(path.out.empty());
  const fs::path reference = path.out.substr(0, path.out.size() - 1);
  EXPECT_EQ(reference, fs::weakly_canonical(fs::path(DECIMORA_BIN)).parent_path() / "Decimora.html");
  ASSERT_TRUE(fs::exists(reference)) << reference;
  EXPECT_EQ(ReadFile(reference), html.out) << "the built reference is out of date";
  EXPECT_EQ(RunDecimora({"--help-html", "dcmADD(1,2)"}).status, 2);
}

TEST(Cli, BadCommandLinesAreUsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"},
      {"-x"},
      {"--json=yes", "1"},
      {"--decimal-separator=ab", "1"},
      {"--decimal-separator=5", "1"},
      {"--decimal-separator=-", "1"},
      {"--thousands-separator=#", "1"},
      {"--decimal-separator="},
      {"--decimal-separator=;", "--thousands-separator=;", "1"},
      {"--thousands-separator=.", "1"},  // same as the C locale's decimal separator
      {"--currency=", "1"},
      {"--currency=1", "1"},
      // Number syntax in the symbol would be removed from inside numbers.
      {"--currency=.", "1"},
      {"--currency=,", "1"},
      {"--currency=-", "1"},
      {"--currency=(", "1"},
      {"--currency=+", "1"},
      {"--currency=E", "1"},
      {"--currency=kr.", "1"},
      {"--decimal-separator=,", "--thousands-separator=.", "--currency=Fr.", "1"},
      {"--thousands-separator=\t", "1"},
      {"--thousands-separator=\xC2\xA0\xC2\xA0", "1"},
      {"--currency-position=middle", "1"},
      {"--currency"},
      {"--version", "1"},
  };
  for (const auto& args : bad) {
    const Outcome o = RunDecimora(args);
    EXPECT_EQ(o.status, 2) << args[0];
    EXPECT_EQ(o.out, "") << args[0];
    EXPECT_TRUE(StartsWith(o.err, "decimora: error: ")) << o.err;
    EXPECT_NE(o.err.find("\nusage: decimora [OPTIONS] [FORMULA ...]\n"), std::string::npos) << o.err;
  }
}

TEST(Cli, LocaleOverrides) {
  EXPECT_EQ(RunDecimora({"--decimal-separator=,", "--thousands-separator=.", R"(dcmADD("1.234,50",0))", R"(VALUE("0,5"))", "VALUE(0.5)"}).out,
            "1234,5\n0,5\n5\n");  // a bare 0.5 is text: '.' groups thousands here
  // Separate values work as well as "=".
  EXPECT_EQ(RunDecimora({"--currency", " €", "--currency-position", "after", "dcmFORMAT(-1234.5,2,TRUE,TRUE)"}).out,
            "(1,234.5 €)\n");
  EXPECT_EQ(RunDecimora({"--currency=EUR ", "dcmFORMAT(1234.5,,,TRUE)"}).out, "EUR 1234.5\n");
  // A space groups thousands, as in many locales; then '.' may be in a symbol.
  const Outcome spaced = RunDecimora({"--decimal-separator=,", "--thousands-separator= ", "--currency= kr.",
                                      "--currency-position=after", R"(dcmADD("1 234,50 kr.","1 000"))",
                                      R"(dcmFORMAT("-1234567,5",,TRUE,TRUE))"});
  EXPECT_EQ(spaced.out, "2234,5\n-1 234 567,5 kr.\n");
  EXPECT_EQ(spaced.err, "");
  // So does a no-break space, as UTF-8 (here U+202F, as in French).
  const Outcome nnbsp = RunDecimora({"--decimal-separator=,", "--thousands-separator=\xE2\x80\xAF",
                                     "dcmFORMAT(\"1234567,5\",,TRUE)", "dcmADD(\"1\xE2\x80\xAF" "234,5\",\"0,5\")"});
  EXPECT_EQ(nnbsp.out, "1\xE2\x80\xAF" "234\xE2\x80\xAF" "567,5\n1235\n");
  EXPECT_EQ(nnbsp.status, 0);
}

}  // namespace
