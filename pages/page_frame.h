#pragma once

#include <optional>

#include "pages/main_page_context.h"

namespace q8 {

// What the settings page draws around its sections: the page art, the window's buttons, the title,
// the section and row labels and the web-site link.
// `overArt`: the canvas holds the page art already.
void DrawPageFrame(const MainPageContext& page, Canvas* target, bool overArt = false);

// The page art, which the frame draws first, as the window's whole canvas when it hides all of
// the window's background (see SkinPainter::TakeIfHiding).
std::optional<Canvas> TakePageArt(const MainPageContext& page);

}  // namespace q8
