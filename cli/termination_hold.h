#pragma once

#include <functional>

namespace q8 {

// Runs `work` with the requests to end the tool held (Ctrl-C, a termination request, a closed
// terminal): the tool must never end by such a request halfway through writing the mouse and
// config.bin. A request that arrives meanwhile takes effect as soon as `work` is done, as it would
// have without the hold.
//
// Implemented once per operating system (termination_hold_posix.cpp, termination_hold_win.cpp).
void RunHoldingTermination(const std::function<void()>& work);

}  // namespace q8
