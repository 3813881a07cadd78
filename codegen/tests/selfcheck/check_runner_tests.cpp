// The check runner: selection, listing, isolation of failures, report and exit status.
#include "selfcheck/check_runner.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn::selfcheck {
namespace {

void passes() {}
void fails_assertion() {
  VORN_ASSERT(1 + 1 == 3);
}
void throws_other() {
  throw std::runtime_error("boom");
}

constexpr CheckSite site{"test_checks.cpp", 1};

// A table for these tests only: two passing checks around two failing ones.
constexpr CheckDescriptor table[] = {
    {"alpha::tests::passes", &site, false, ShouldFail::No, &passes},
    {"alpha::tests::fails", &site, false, ShouldFail::No, &fails_assertion},
    {"beta::tests::throws", &site, false, ShouldFail::No, &throws_other},
    {"beta::tests::passes_too", &site, false, ShouldFail::No, &passes},
};

struct RunnerRun {
  int status;
  std::string out;
  std::string err;
};

RunnerRun run(std::vector<std::string_view> arguments,
              std::span<const CheckDescriptor> checks = table) {
  std::ostringstream out, err;
  const int status = run_checks(arguments, checks, out, err);
  return {status, out.str(), err.str()};
}

TEST(CheckRunner, RunsEveryCheckAndIsolatesFailures) {
  const RunnerRun result = run({"--test-threads", "2"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("check alpha::tests::passes ... ok\n"), std::string::npos);
  EXPECT_NE(result.out.find("check alpha::tests::fails ... FAILED\n"), std::string::npos);
  EXPECT_NE(result.out.find("check beta::tests::throws ... FAILED\n"), std::string::npos);
  EXPECT_NE(result.out.find("check beta::tests::passes_too ... ok\n"), std::string::npos);
  EXPECT_NE(result.out.find("assertion failed: 1 + 1 == 3"), std::string::npos);
  EXPECT_NE(result.out.find("unexpected exception: boom"), std::string::npos);
  EXPECT_TRUE(result.out.ends_with("\n2 passed, 2 failed\n")) << result.out;
}

TEST(CheckRunner, ReportsInTableOrderWhateverTheThreadCount) {
  for (const char* threads : {"1", "3", "16"}) {
    SCOPED_TRACE(threads);
    const std::string out = run({"--test-threads", threads}).out;
    const auto at = [&](std::string_view name) { return out.find("check " + std::string(name)); };
    EXPECT_LT(at("alpha::tests::passes"), at("alpha::tests::fails"));
    EXPECT_LT(at("alpha::tests::fails"), at("beta::tests::throws"));
    EXPECT_LT(at("beta::tests::throws"), at("beta::tests::passes_too"));
  }
}

TEST(CheckRunner, SelectsByFilter) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string listing;
  };
  const Case cases[] = {
      {{},
       "alpha::tests::passes\nalpha::tests::fails\nbeta::tests::throws\nbeta::tests::passes_too\n"},
      {{"passes"}, "alpha::tests::passes\nbeta::tests::passes_too\n"},
      {{"beta::", "fails"}, "alpha::tests::fails\nbeta::tests::throws\nbeta::tests::passes_too\n"},
      {{"--exact", "alpha::tests::passes"}, "alpha::tests::passes\n"},
      {{"alpha::tests::pass", "--exact"}, ""},
      {{"nothing"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> arguments = c.arguments;
    arguments.push_back("--list");
    const RunnerRun result = run(arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, c.listing);
  }
}

TEST(CheckRunner, ExitsZeroWhenAllSelectedChecksPass) {
  EXPECT_EQ(run({"passes"}).status, 0);
  const RunnerRun none = run({"nothing"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "0 passed, 0 failed\n");
}

TEST(CheckRunner, RejectsAnUnusableCommandLine) {
  for (const std::vector<std::string_view>& arguments : {std::vector<std::string_view>{"--bogus"},
                                                         {"--test-threads"},
                                                         {"--test-threads", "0"},
                                                         {"--test-threads", "x"},
                                                         {"--test-threads=-1"}}) {
    const RunnerRun result = run(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
  EXPECT_EQ(run({"--test-threads=2", "passes"}).status, 0);
  EXPECT_EQ(run({"--help"}).status, 0);
}

TEST(CheckRunner, HonoursIgnoredAndExpectedFailures) {
  constexpr CheckDescriptor special[] = {
      {"ignored", &site, true, ShouldFail::No, &fails_assertion},
      {"should_fail_and_does", &site, false, ShouldFail::Yes, &fails_assertion},
      {"should_fail_but_passes", &site, false, ShouldFail::Yes, &passes},
  };
  const RunnerRun result = run({}, special);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("check ignored ... ignored\n"), std::string::npos);
  EXPECT_NE(result.out.find("check should_fail_and_does ... ok\n"), std::string::npos);
  EXPECT_NE(result.out.find("check should_fail_but_passes ... FAILED\n"), std::string::npos);
  EXPECT_TRUE(result.out.ends_with("1 passed, 1 failed\n"));
}

}  // namespace
}  // namespace vorn::selfcheck
