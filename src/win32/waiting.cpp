#include "win32/waiting.h"

#include <windows.h>

#include <exception>
#include <optional>
#include <thread>

namespace twk::win32 {

void runWhileWaiting(const std::function<void()>& work) {
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        ::SetEvent(done);
    });
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    // Paint, timer, posted and sent messages only: input stays in the queue.
    constexpr DWORD kServed = QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER;
    constexpr UINT kRemoved = PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    std::optional<WPARAM> quit;
    while (::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, kServed) != WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, kRemoved)) {
            if (message.message == WM_QUIT) {
                quit = message.wParam;
            } else {
                ::DispatchMessageA(&message);
            }
        }
    }
    worker.join();
    // For the main loop, once the call has returned.
    if (quit) ::PostQuitMessage(static_cast<int>(*quit));
    ::CloseHandle(done);
    ::SetCursor(previous);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace twk::win32
