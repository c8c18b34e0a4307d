// Handles of the Windows host layer.
#pragma once

#include <string_view>
#include <windows.h>

namespace zarn {

// Closes the handle when it goes, unless it was never opened.
class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~OwnedHandle() { close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE get() const { return handle_; }
    void reset(HANDLE handle) {
        close();
        handle_ = handle;
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Closes it now; false when CloseHandle fails.
    bool close() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle);
    }

  private:
    HANDLE handle_;
};

// Writes every byte to the handle. False, with the last error set, when it does not take them.
bool writeHandle(HANDLE handle, std::string_view bytes);

} // namespace zarn
