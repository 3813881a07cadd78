// Entry of vorn_codegen_selfcheck: hands the command line and the check table to the runner.
#include <iostream>
#include <string_view>
#include <vector>

#include "selfcheck/check_runner.hpp"
#include "selfcheck/check_table.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return vorn::selfcheck::run_checks(arguments, vorn::selfcheck::check_table(), std::cout,
                                     std::cerr);
}
