#pragma once

#include "dialogs/dialog_environment.h"
#include "dialogs/profiles_port.h"
#include "ui/dialog_host.h"

namespace q8 {

// Opens the profiles dialog modally over the main window.
class ProfilesDialogPort {
 public:
  virtual ~ProfilesDialogPort() = default;
  virtual void RunProfilesDialog(ProfilesPort& profiles) = 0;
};

// The main window's profiles dialog: a new CProfilesDialog for every opening, run through the
// window's dialog runner, with the programs that have windows from the system's source.
class ProfilesDialogRunner final : public ProfilesDialogPort {
 public:
  ProfilesDialogRunner(DialogRunner& runner, const DialogEnvironment& environment,
                       RunningProgramsPort& programs)
      : runner_(runner), environment_(environment), programs_(programs) {}

  void RunProfilesDialog(ProfilesPort& profiles) override;

 private:
  DialogRunner& runner_;
  const DialogEnvironment& environment_;
  RunningProgramsPort& programs_;
};

}  // namespace q8
