#pragma once

#include "pages/main_page_context.h"

namespace q8 {

// What the settings page draws around its sections: the page art, the window's buttons, the title,
// the section and row labels and the web-site link.
void DrawPageFrame(const MainPageContext& page, Canvas* target);

// Whether the page art, which the frame draws first, hides the whole window's background.
bool PageArtHidesBackground(const MainPageContext& page);

}  // namespace q8
