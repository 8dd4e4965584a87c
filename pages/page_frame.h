#pragma once

#include "pages/main_page_context.h"

namespace q8 {

// What the settings page draws around its sections: the page art, the window's buttons, the title,
// the section and row labels and the web-site link.
void DrawPageFrame(const MainPageContext& page, Canvas* target);

}  // namespace q8
