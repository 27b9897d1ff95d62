#include <windows.h>
// After windows.h, which they need.
#include <sddl.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <vector>

#include "platform/admin_win.h"
#include "platform/com_scope_win.h"
#include "platform/files.h"
#include "platform/handle_win.h"
#include "platform/privileged_save.h"
#include "platform/reasons.h"
#include "platform/roots.h"

namespace platform {
namespace {

constexpr const char* kPipePrefix = "\\\\.\\pipe\\Brindle.Tarnwick.Settings.";

std::wstring wide(const std::string& text) {
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          length);
    return result;
}

// A name no other save of this machine uses at the same time; one that is taken all the same
// makes the pipe fail, as it is the first instance or nothing.
std::string freshPipeName() {
    static std::atomic<unsigned> counter{0};
    return kPipePrefix + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(counter++) +
           "." + std::to_string(::GetTickCount64());
}

// Only names freshPipeName makes: nothing the path rules could turn into another file.
bool isRequestPipeName(const std::string& name) {
    const std::string prefix = kPipePrefix;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::string systemText(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

std::optional<int> notSaved(const std::string& why) {
    logReason(ReasonTopic::Settings, why + "; nothing was saved");
    return std::nullopt;
}

// The running user's SID in its text form; empty when the token cannot tell.
std::string currentUserSid() {
    Handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.out())) return {};
    DWORD length = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &length);
    if (length == 0) return {};
    std::vector<std::uintptr_t> buffer(length / sizeof(std::uintptr_t) + 1);
    if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(),
                               static_cast<DWORD>(buffer.size() * sizeof(std::uintptr_t)), &length))
        return {};
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    std::string sid = text;
    ::LocalFree(text);
    return sid;
}

// The pipe's access: the running user, and administrators once elevated (an administrator who
// enters another administrator's account at the prompt). The default would let everyone read.
class PipeSecurity {
public:
    PipeSecurity() {
        const std::string user = currentUserSid();
        const std::string sddl = "D:P(A;;GA;;;" + user + ")(A;;GA;;;BA)";
        if (user.empty() || !::ConvertStringSecurityDescriptorToSecurityDescriptorA(
                                sddl.c_str(), SDDL_REVISION_1, &descriptor_, nullptr))
            descriptor_ = nullptr;
        attributes_ = {sizeof attributes_, descriptor_, FALSE};
    }
    ~PipeSecurity() {
        if (descriptor_) ::LocalFree(descriptor_);
    }
    PipeSecurity(const PipeSecurity&) = delete;
    PipeSecurity& operator=(const PipeSecurity&) = delete;

    SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

// The program started elevated with its one argument, through the system's prompt; none when
// it was not started, with the system's error in error (ERROR_CANCELLED for a cancelled prompt),
// taken before the COM scope ends.
Handle startElevated(const std::string& program, const std::string& argument, DWORD& error) {
    const ComScope com;
    const std::wstring file = wide(program);
    const std::wstring parameters = wide(argument);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;  // a console program, with nothing to show
    if (!::ShellExecuteExW(&info)) {
        error = ::GetLastError();
        return Handle();
    }
    return Handle(info.hProcess);
}

// Waits for an overlapped operation on pipe or the helper's end, whichever comes first. The
// bytes the operation moved; nothing when the helper ended first or the operation failed.
std::optional<DWORD> completed(HANDLE pipe, OVERLAPPED& operation, HANDLE helper) {
    const HANDLE events[] = {operation.hEvent, helper};
    DWORD moved = 0;
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        // The operation must be over before its OVERLAPPED goes.
        ::CancelIoEx(pipe, &operation);
        ::GetOverlappedResult(pipe, &operation, &moved, TRUE);
        return std::nullopt;
    }
    if (!::GetOverlappedResult(pipe, &operation, &moved, FALSE)) return std::nullopt;
    return moved;
}

// Gives request to the helper once it opened the pipe, and waits until it read all of it. False
// when it ended first or the pipe broke; the helper then reads no whole request.
bool handOver(HANDLE pipe, const std::string& request, HANDLE helper) {
    const Handle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event) return false;
    OVERLAPPED connect{};
    connect.hEvent = event.get();
    if (!::ConnectNamedPipe(pipe, &connect)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_PENDING && !completed(pipe, connect, helper)) return false;
        if (error != ERROR_IO_PENDING && error != ERROR_PIPE_CONNECTED) return false;
    }
    ::ResetEvent(event.get());
    OVERLAPPED write{};
    write.hEvent = event.get();
    if (!::WriteFile(pipe, request.data(), static_cast<DWORD>(request.size()), nullptr, &write) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return false;
    const std::optional<DWORD> written = completed(pipe, write, helper);
    // The helper reads up to the pipe's end, which comes when this end closes: only after the
    // helper read everything, so nothing written is dropped.
    return written == request.size() && ::FlushFileBuffers(pipe);
}

// Reads input to its end: the writer closing its end of a pipe ends it too.
std::optional<std::string> readToEnd(HANDLE input, std::size_t maxBytes) {
    std::string text;
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(input, chunk, sizeof chunk, &got, nullptr))
            return ::GetLastError() == ERROR_BROKEN_PIPE ? std::optional(text) : std::nullopt;
        if (got == 0) return text;
        text.append(chunk, got);
        if (text.size() > maxBytes) return std::nullopt;
    }
}

}  // namespace

bool writesSystemStore() { return administratorsEnabled(); }

std::string settingsHelperPath(const std::string& programFolder) {
    return joinPath(programFolder, "tarnwick-settings.exe");
}

std::optional<int> runSettingsHelper(const std::string& helperPath, const std::string& request) {
    // Known before the prompt, which would be for nothing, and before the shell's own box.
    if (!fileExists(helperPath))
        return notSaved("the settings helper " + helperPath + " is missing");
    PipeSecurity security;
    if (!security.get()) return notSaved("the request pipe's access could not be set");
    const std::string pipeName = freshPipeName();
    Handle pipe(::CreateNamedPipeA(
        pipeName.c_str(),
        PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        static_cast<DWORD>(request.size()), 0, 0, security.get()));
    if (!pipe)
        return notSaved("the request pipe could not be made (" + systemText(::GetLastError()) +
                        ")");
    DWORD error = 0;
    const Handle helper = startElevated(helperPath, pipeName, error);
    if (!helper) {
        return notSaved(error == ERROR_CANCELLED
                            ? "the administrator cancelled the elevation prompt"
                            : "the settings helper could not be started elevated (" +
                                  systemText(error) + ")");
    }
    // How the handing over went, the helper's status tells: it refuses a request it did not
    // read whole.
    handOver(pipe.get(), request, helper.get());
    pipe.reset();
    ::WaitForSingleObject(helper.get(), INFINITE);
    DWORD status = 0;
    if (!::GetExitCodeProcess(helper.get(), &status))
        return notSaved("the settings helper's end could not be told");
    noteSettingsHelperStatus(static_cast<int>(status));
    return static_cast<int>(status);
}

std::optional<std::string> settingsHelperRequest(const std::vector<std::string>& args,
                                                 std::size_t maxBytes) {
    if (args.empty()) return readToEnd(::GetStdHandle(STD_INPUT_HANDLE), maxBytes);
    if (args.size() != 1 || !isRequestPipeName(args[0])) return std::nullopt;
    const Handle pipe(
        ::CreateFileA(args[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) return std::nullopt;
    return readToEnd(pipe.get(), maxBytes);
}

void useSharedFileModes() {}

}  // namespace platform
