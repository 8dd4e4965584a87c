#include "pages/page_frame.h"

#include "pages/main_page_layout.h"
#include "ui/skin_images.h"

namespace q8 {
namespace {

using namespace page_layout;
using Controls = MainWindowControls;

void DrawButtons(const MainPageContext& page, Canvas* target) {
  for (const std::size_t control :
       {Controls::kSkins, Controls::kClose, Controls::kMinimise, Controls::kPreviousPage,
        Controls::kOk, Controls::kApply, Controls::kCancel}) {
    page.controls.DrawControl(target, control,
                              page.controls.IsOver(control) ? Look::kOver : Look::kNormal);
  }
}

void DrawLabel(const MainPageContext& page, Canvas* target, UiTextKey key, Rect rect,
               TextAlign align) {
  page.painter.DrawCaption(target, page.texts.Text(key), rect, align);
}

}  // namespace

std::optional<Canvas> TakePageArt(const MainPageContext& page) {
  return page.painter.TakeIfHiding(skin_image::kBasicSet, page.window.Area(),
                                   page.window.host().PixelRatio());
}

void DrawPageFrame(const MainPageContext& page, Canvas* target, bool overArt) {
  if (!overArt) {
    page.painter.DrawImage(target, skin_image::kBasicSet, {0, 0});
  }
  DrawButtons(page, target);
  if (target != nullptr) {
    // The title is the one text in the title font, in a fixed grey whatever the skin.
    page.text.PaintText(*target, page.texts.Text(UiTextKey::BasicSettings), kTitle,
                        FontRole::kTitle, kTitleColor, TextAlign::kCentre);
  }
  DrawLabel(page, target, UiTextKey::KeySetting, kKeySettingLabel, TextAlign::kCentre);
  DrawLabel(page, target, UiTextKey::ReportRateSetting, kReportRateLabel, TextAlign::kCentre);
  DrawLabel(page, target, UiTextKey::DpiSetting, kDpiSettingLabel, TextAlign::kCentre);
  DrawLabel(page, target, UiTextKey::DpiEffect, kDpiEffectLabel, TextAlign::kCentre);
  DrawLabel(page, target, UiTextKey::Mode, kModeLabel, TextAlign::kRight);
  DrawLabel(page, target, UiTextKey::Parameter, kParameterLabel, TextAlign::kRight);
  DrawLabel(page, target, UiTextKey::Effect, kEffectLabel, TextAlign::kRight);
  DrawLabel(page, target, UiTextKey::WebLink, kWebLink, TextAlign::kCentre);
}

}  // namespace q8
