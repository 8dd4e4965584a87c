#include "cli/tray_program.h"

namespace q8 {

void TellTrayProgram(std::uintptr_t type, std::intptr_t value, std::ostream& err) {
  std::string error;
  // A tray program that does not run needs no telling: it reads everything at its start.
  if (NotifyTrayProgram(type, value, error) == TrayNotice::kNotTold) {
    err << "q8ctl: warning: the running tray program was not told of this (" << error << ")\n";
  }
}

}  // namespace q8
