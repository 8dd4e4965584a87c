#pragma once

#include <array>
#include <string_view>

namespace q8 {

// The image files every skin holds. Names are exact, case included, and begin with "/".
namespace skin_image {
inline constexpr std::string_view kMain = "/main.png";
inline constexpr std::string_view kBasicSet = "/BasicSet2.png";
inline constexpr std::string_view kButtonNormal = "/button-normal.png";
inline constexpr std::string_view kButtonOver = "/button-over.png";
inline constexpr std::string_view kCloseNormal = "/button-close-normal.png";
inline constexpr std::string_view kCloseOver = "/button-close-over.png";
inline constexpr std::string_view kMinNormal = "/button-min-normal.png";
inline constexpr std::string_view kMinOver = "/button-min-over.png";
inline constexpr std::string_view kSkinsNormal = "/button-Skins-normal.png";
inline constexpr std::string_view kSkinsOver = "/button-Skins-over.png";
inline constexpr std::string_view kPrePageNormal = "/button-PrePage-normal.png";
inline constexpr std::string_view kPrePageOver = "/button-PrePage-over.png";
inline constexpr std::string_view kDropdownNormal = "/DropdownBox-normal.png";
inline constexpr std::string_view kDropdownOver = "/DropdownBox-over.png";
inline constexpr std::string_view kSliderDark = "/slider-RP-dark.png";
inline constexpr std::string_view kSliderLight = "/slider-RP-light.png";
inline constexpr std::string_view kFireKey = "/fire-key.png";
inline constexpr std::string_view kHotKey = "/hot-key.png";
inline constexpr std::string_view kSingleKey = "/single-key.png";
inline constexpr std::string_view kMediaKey = "/media-key.png";
inline constexpr std::string_view kWindowsKey = "/windows-key.png";
inline constexpr std::string_view kSnipeKey = "/snipe-key.png";
inline constexpr std::string_view kSkins = "/skins.png";
inline constexpr std::string_view kProfiles = "/profiles.png";
}  // namespace skin_image

// The size an image must have so that it fills exactly the rectangle that draws it, or, for a
// background, the smallest size that holds every control of its window.
struct SkinImageSize {
  std::string_view name;
  int width;
  int height;
  // True for a control face (exact size); false for a background (at least this size).
  bool exact;
};

// Main window: the bottom buttons end at 875, the web link at 647. Dialogs: the close button ends
// at 370, the launch-key list at 306. The profiles dialog: its close buttons end at 548 and 409.
inline constexpr std::array<SkinImageSize, 24> kSkinImageSizes = {{
    {skin_image::kMain, 876, 648, false},         {skin_image::kBasicSet, 876, 648, false},
    {skin_image::kButtonNormal, 105, 21, true},   {skin_image::kButtonOver, 105, 21, true},
    {skin_image::kCloseNormal, 18, 18, true},     {skin_image::kCloseOver, 18, 18, true},
    {skin_image::kMinNormal, 18, 18, true},       {skin_image::kMinOver, 18, 18, true},
    {skin_image::kSkinsNormal, 18, 18, true},     {skin_image::kSkinsOver, 18, 18, true},
    {skin_image::kPrePageNormal, 40, 40, true},   {skin_image::kPrePageOver, 40, 40, true},
    {skin_image::kDropdownNormal, 211, 21, true}, {skin_image::kDropdownOver, 211, 21, true},
    {skin_image::kSliderDark, 70, 11, true},      {skin_image::kSliderLight, 70, 11, true},
    {skin_image::kFireKey, 371, 307, false},      {skin_image::kHotKey, 371, 307, false},
    {skin_image::kSingleKey, 371, 307, false},    {skin_image::kMediaKey, 371, 307, false},
    {skin_image::kWindowsKey, 371, 307, false},   {skin_image::kSnipeKey, 371, 307, false},
    {skin_image::kSkins, 371, 307, false},        {skin_image::kProfiles, 560, 420, false},
}};

}  // namespace q8
