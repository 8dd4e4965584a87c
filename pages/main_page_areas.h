#pragma once

#include "pages/main_page_operations.h"
#include "ui/rect.h"

namespace q8 {

// A press on the built settings page: forwards it to the page operation of the area it falls in
// (key configurations, key rows, report-rate stops, DPI stages, lighting lists). False when it
// falls in none.
bool DispatchPageClick(MainPageOperations& page, Point point);

}  // namespace q8
