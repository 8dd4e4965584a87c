#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/fake_window_host.h"
#include "ui/language_fonts.h"
#include "ui/text_port.h"

namespace q8::test {

// One text a window draws on its face, with the font it asked for.
struct DrawnCaption {
  std::string window;
  DrawnText drawn;
  FontRequest font;
  Rect client;  // the window's: a text is cut at its edge too
};

// The main window in `language` ("EN", "CHS", "CHT") over a fake host, started on the delivered
// files (`dataDir`) and skins (`skinsDir`) with the simulated mouse, then each dialog over it:
// every text they drew, with its font.
std::vector<DrawnCaption> CaptionsOf(const std::string& language,
                                     const std::filesystem::path& dataDir,
                                     const std::filesystem::path& skinsDir);

// The scales users set: 100, 125, 150, 175 and 200 %.
inline constexpr double kDisplayScales[] = {1.0, 1.25, 1.5, 1.75, 2.0};

// The system's painter drawing in `font` at `scale` (its fonts made as the windows make them).
using PainterFor = std::function<TextPainter&(const FontRequest& font, double scale)>;

// Every caption of every window in the three languages at each display scale, drawn by the
// system's painter as the windows draw it (in the size it fits): one line for each whose ink
// leaves the part of its rectangle inside its window, by more than a smoothed edge pixel.
// `measured` counts the captions drawn.
std::vector<std::string> CaptionsThatDoNotFit(const std::filesystem::path& dataDir,
                                              const std::filesystem::path& skinsDir,
                                              const PainterFor& painterFor, int& measured);

}  // namespace q8::test
