#pragma once

#include <optional>

#include "settings/device_config.h"
#include "ui/canvas.h"
#include "ui/control_host.h"
#include "ui/rect.h"

namespace q8 {

// The settings page as the main window's dispatcher sees it: building and tearing down, the page
// operations its click areas forward to, and the events of the page's native controls. The main
// window decides which area a press falls in; the page decides what the operation does.
class MainPageOperations {
 public:
  virtual ~MainPageOperations() = default;

  virtual bool IsBuilt() const = 0;
  // BuildMainPage: draws the page into the canvas and creates its controls (nothing when built).
  virtual void Build() = 0;
  // TearDownMainPage: destroys the page's controls and open lists; the page is then not built.
  virtual void TearDown() = 0;
  // Draws the built page into the canvas again as it stands, its controls and lists left as they
  // are: for a canvas made anew, as the window is shown after it let go of it. `overArt`: the
  // canvas is the page art (TakeArt), and the rest of the page is drawn over it.
  virtual void Redraw(bool overArt) = 0;
  // The page art, which its drawing begins with, as the window's whole canvas: when it is opaque
  // and covers the window, hiding the background, which then need not be decoded. Nothing
  // otherwise.
  virtual std::optional<Canvas> TakeArt() = 0;

  // A press on the built page: closes every open list that lies neither under the point nor under
  // the area that opened it.
  virtual void CloseListsOutside(Point point) = 0;

  virtual void SelectKeyConfig(KeyConfigId config) = 0;
  virtual void RestoreDefaultKeys() = 0;
  virtual void ToggleKeyList(int row) = 0;          // 1..7
  virtual void SelectReportRate(int position) = 0;  // 1..4: 125, 250, 500, 1000 Hz
  virtual void ChooseStageColor(int stage) = 0;     // 1..6
  virtual void ToggleDpiLevelList(int stage) = 0;   // 1..6
  virtual void ToggleLightingModeList() = 0;
  virtual void ToggleLightingParamList() = 0;
  virtual void ToggleLightingEffectList() = 0;

  // Every mouse move over the window or its controls while the page is built (client pixels).
  virtual void OnPointerMove(Point point) = 0;
  virtual void OnListNotification(ControlId list, ListEvent event) = 0;
  virtual void OnMouseWheel(int delta) = 0;
  // The colours of one of the page's controls; nothing for a control that is not the page's.
  virtual std::optional<ControlColors> ControlColor(ControlId control) const = 0;
};

}  // namespace q8
