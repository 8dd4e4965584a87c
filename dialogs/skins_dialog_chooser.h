#pragma once

#include "dialogs/dialog_environment.h"
#include "dialogs/skin_chooser_port.h"
#include "ui/dialog_host.h"

namespace q8 {

// The main window's skin chooser: a new CSkinsDialog for every opening, run modally through the
// window's dialog runner. Only a run that ended with OK over a loaded background returns a choice.
class SkinsDialogChooser final : public SkinChooserPort {
 public:
  SkinsDialogChooser(DialogRunner& runner, const DialogEnvironment& environment)
      : runner_(runner), environment_(environment) {}

  std::optional<SkinChoice> ChooseSkin() override;

 private:
  DialogRunner& runner_;
  const DialogEnvironment& environment_;
};

}  // namespace q8
