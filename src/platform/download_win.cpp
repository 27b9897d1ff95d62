#include <urlmon.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/com_scope_win.h"
#include "platform/download.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace platform {
namespace {

bool isWebUrl(const std::string& url) {
    return equalsNoCase(url.substr(0, 7), "http://") || equalsNoCase(url.substr(0, 8), "https://");
}

// Watches one transfer: aborts it past the byte limit, or when the deadline passes (from
// abortLate, on another thread, since a silent server never calls back), and remembers the
// HTTP status, since an error page must not count as the file. Lives on the caller's stack for
// the length of the synchronous call, so reference counts are not kept.
class TransferWatch : public IBindStatusCallback, public IHttpNegotiate {
public:
    explicit TransferWatch(const DownloadLimits& limits) : limits_(limits) {}
    ~TransferWatch() { releaseBinding(); }
    TransferWatch(const TransferWatch&) = delete;
    TransferWatch& operator=(const TransferWatch&) = delete;

    bool statusOk() const { return status_ < 400; }
    DWORD status() const { return status_; }

    void abortLate() {
        IBinding* binding = nullptr;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            late_ = true;
            binding = binding_;
            if (binding) binding->AddRef();
        }
        // Outside the lock: aborting may call back into this object.
        if (!binding) return;
        binding->Abort();
        binding->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback)) {
            *object = static_cast<IBindStatusCallback*>(this);
        } else if (IsEqualIID(iid, IID_IHttpNegotiate)) {
            *object = static_cast<IHttpNegotiate*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (late_) return E_ABORT;
        binding_ = binding;
        binding_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG, ULONG, LPCWSTR) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        return late_ || static_cast<long long>(progress) > limits_.maxBytes ? E_ABORT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
        releaseBinding();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO*) override {
        // A fresh copy every time: an old one from the cache would hide a new version.
        *flags = BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                   LPWSTR* additionalHeaders) override {
        *additionalHeaders = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR, LPCWSTR,
                                         LPWSTR* additionalHeaders) override {
        if (additionalHeaders) *additionalHeaders = nullptr;
        status_ = status;
        return S_OK;
    }

private:
    void releaseBinding() {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (binding_) binding_->Release();
        binding_ = nullptr;
    }

    const DownloadLimits& limits_;
    DWORD status_ = 0;
    std::mutex mutex_;
    IBinding* binding_ = nullptr;
    bool late_ = false;
};

// Aborts the watched transfer when it outlasts the time limit; stops at destruction.
class Deadline {
public:
    Deadline(TransferWatch& watch, std::chrono::milliseconds limit)
        : thread_([this, &watch, limit] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return ended_; })) watch.abortLate();
          }) {}
    ~Deadline() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ended_ = true;
        }
        done_.notify_one();
        thread_.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool ended_ = false;
    std::thread thread_;  // last, so it starts with everything above in place
};

// One transfer, shared by the caller and the thread that runs it. The deadline aborts a transfer
// that outlasts its time, but Wine was seen now and then never ending an aborted one: the caller
// then gives it up, and the thread, whenever its call returns, removes what it wrote.
struct Transfer {
    Transfer(std::string url, std::string temp, const DownloadLimits& limits)
        : url(std::move(url)), temp(std::move(temp)), limits(limits) {}

    void run() {
        bool fetched = false;
        {
            const ComScope com;
            report([this] { started = true; });
            TransferWatch watch(limits);
            const Deadline deadline(watch, limits.total);
            const HRESULT result =
                ::URLDownloadToFileA(nullptr, url.c_str(), temp.c_str(), 0, &watch);
            fetched = result == S_OK && watch.statusOk();
            if (result != S_OK)
                failure = "URLDownloadToFileA: " +
                          std::system_category().message(static_cast<int>(result));
            else if (!fetched)
                failure = "the server answered HTTP status " + std::to_string(watch.status());
        }
        report([this, fetched] {
            ok = fetched;
            done = true;
            if (givenUp) ::DeleteFileA(temp.c_str());
        });
    }

    // True when the transfer ended whole within its time, counted as the deadline counts it
    // from its start, and a little more for the abort. COM may take seconds to come up in a
    // new process under Wine, before the transfer starts.
    bool awaitWhole(std::string& why) {
        constexpr std::chrono::seconds kComStart{10};
        constexpr std::chrono::seconds kAbortGrace{1};
        std::unique_lock<std::mutex> lock(mutex);
        const bool began = changed.wait_for(lock, kComStart, [this] { return started || done; });
        if (began && changed.wait_for(lock, limits.total + kAbortGrace, [this] { return done; })) {
            why = failure;
            return ok;
        }
        givenUp = true;
        why = began ? "the aborted transfer did not end" : "COM did not start";
        return false;
    }

    const std::string url;
    const std::string temp;
    const DownloadLimits limits;
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool done = false;
    bool ok = false;
    std::string failure;  // why the call failed, once done
    bool givenUp = false;

private:
    template <typename Change>
    void report(Change change) {
        const std::lock_guard<std::mutex> lock(mutex);
        change();
        changed.notify_all();
    }
};

}  // namespace

bool downloadFile(const std::string& url, const std::string& target, const DownloadLimits& limits,
                  std::string* failure) {
    std::string why;
    const auto failed = [&](std::string text) {
        if (failure) *failure = std::move(text);
        return false;
    };
    if (!isWebUrl(url)) return failed("not an http or https address");
    // The system writes the transfer to a path of its own choosing: a name that the next
    // replacement of target cleans up if this one is killed, read back within the bound and
    // put in place by the one replacement rule.
    removeLeftoverTemporaries(target);
    const std::string temp = temporaryName(target);
    const auto transfer = std::make_shared<Transfer>(url, temp, limits);
    std::thread([transfer] { transfer->run(); }).detach();
    bool ok = transfer->awaitWhole(why);
    if (ok) {
        const FileRead fetched = readRegularFile(temp, static_cast<std::uint64_t>(limits.maxBytes));
        std::string written;
        ok = fetched.ok() && replaceFile(target, fetched.bytes, std::nullopt, &written);
        if (!fetched.ok())
            why = "the downloaded copy " + fetched.problem();
        else if (!ok)
            why = target + " could not be written (" + written + ")";
    }
    ::DeleteFileA(temp.c_str());
    return ok || failed(why);
}

}  // namespace platform
