// q8docs: writes one of the documents made from q8ctl's --help table (cli/manual.h) to standard
// output, for the build.
#include <iostream>
#include <string_view>

#include "cli/manual.h"

int main(int argc, char** argv) {
  const std::string_view what = argc == 2 ? argv[1] : "";
  if (what == "q8ctl.1") {
    std::cout << q8::Q8ctlManPage();
  } else if (what == "tarnix-q8.1") {
    std::cout << q8::TrayProgramManPage();
  } else if (what == "bash") {
    std::cout << q8::BashCompletion();
  } else if (what == "zsh") {
    std::cout << q8::ZshCompletion();
  } else if (what == "fish") {
    std::cout << q8::FishCompletion();
  } else {
    std::cerr << "usage: q8docs q8ctl.1 | tarnix-q8.1 | bash | zsh | fish\n";
    return 2;
  }
  return std::cout.flush() ? 0 : 1;
}
