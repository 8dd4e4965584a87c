#include "dialogs/profiles_port.h"

#include <algorithm>

namespace q8 {

std::vector<std::string> MergedRunningPrograms::ProgramsWithWindows() {
  std::vector<std::string> programs;
  for (RunningProgramsPort* source : sources_) {
    std::vector<std::string> more = source->ProgramsWithWindows();
    programs.insert(programs.end(), more.begin(), more.end());
  }
  std::sort(programs.begin(), programs.end());
  programs.erase(std::unique(programs.begin(), programs.end()), programs.end());
  return programs;
}

}  // namespace q8
