#include "win32/operation_mutex.h"

#include <sddl.h>

namespace q8::win32 {
namespace {

// All a holder needs: to wait for the mutex and to release it.
constexpr DWORD kHolderAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;
// Everyone is given exactly that: the tray program runs elevated and q8ctl need not, and a mutex
// made by an elevated program is otherwise closed to the others.
constexpr const wchar_t* kOpenToEveryone = L"D:(A;;0x00100001;;;WD)";
static_assert(kHolderAccess == 0x00100001);

// Makes the mutex, or opens the one another program made, asking for no more than a holder needs.
HANDLE CreateOperationMutex(const wchar_t* name) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const bool described = ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                             kOpenToEveryone, SDDL_REVISION_1, &descriptor, nullptr) != 0;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  const HANDLE mutex = ::CreateMutexExW(described ? &attributes : nullptr, name, 0, kHolderAccess);
  if (described) {
    ::LocalFree(descriptor);
  }
  return mutex;
}

}  // namespace

void OperationMutex::Lock() {
  if (held_) {
    return;
  }
  if (!mutex_.Valid()) {
    mutex_.Reset(CreateOperationMutex(name_));
  }
  if (!mutex_.Valid()) {
    return;
  }
  const DWORD waited = ::WaitForSingleObject(mutex_.Get(), INFINITE);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void OperationMutex::Unlock() {
  if (held_) {
    ::ReleaseMutex(mutex_.Get());
    held_ = false;
  }
}

}  // namespace q8::win32
