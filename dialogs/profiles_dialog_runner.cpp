#include "dialogs/profiles_dialog_runner.h"

#include "dialogs/profiles_dialog.h"

namespace q8 {

void ProfilesDialogRunner::RunProfilesDialog(ProfilesPort& profiles) {
  CProfilesDialog dialog(environment_, profiles, programs_);
  runner_.RunDialog(dialog);
}

}  // namespace q8
