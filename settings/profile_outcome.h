#pragma once

#include <string>

namespace q8 {

// How an action on profiles or their rules ended, as q8ctl and the profiles dialog tell it.
struct ProfileOutcome {
  enum class Status {
    kDone,
    kClash,    // a profile of that name exists: the user may choose to replace it
    kRefused,  // a name, file or value that cannot be used; nothing changed
    kFailed,   // a file could not be read or written
  };
  Status status = Status::kDone;
  // Done: what was done ("saved profile 'Racing' in ..."); otherwise why not, in one line.
  std::string message;

  bool Done() const { return status == Status::kDone; }
};

}  // namespace q8
