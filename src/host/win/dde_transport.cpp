#include "host/win/dde_transport.h"

#include <algorithm>

namespace mirlka {
namespace {

// DDEML callbacks carry no pointer of the caller's; completions reach the transport whose
// instance is open on this thread.
thread_local DdeTransport* activeTransport = nullptr;

constexpr DWORD kInstanceFlags = APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS;
// How long one round of the wait sleeps when nothing arrives: also how late a repaint may be.
constexpr DWORD kWaitSliceMs = 50;
// The last mouse message (WM_MOUSEHWHEEL, the horizontal wheel) and the last keyboard message
// (WM_UNICHAR), which the headers of older Windows versions do not name.
constexpr UINT kLastMouseMessage = 0x020E;
constexpr UINT kLastKeyMessage = 0x0109;

HSZ ToHsz(HostTransport::Handle handle) {
    return reinterpret_cast<HSZ>(handle);
}

HCONV ToHconv(HostTransport::Handle handle) {
    return reinterpret_cast<HCONV>(handle);
}

}  // namespace

DdeTransport::DdeTransport(DWORD quietLimitMs) : quietLimitMs_(quietLimitMs) {}

DdeTransport::~DdeTransport() {
    if (instance_ != 0) {
        Close();
    }
}

bool DdeTransport::Open(TextForm form) {
    DWORD instance = 0;
    const UINT result = form == TextForm::Narrow
                            ? DdeInitializeA(&instance, DdeCallback, kInstanceFlags, 0)
                            : DdeInitializeW(&instance, DdeCallback, kInstanceFlags, 0);
    if (result != DMLERR_NO_ERROR) {
        return false;
    }
    instance_ = instance;
    form_ = form;
    conversation_ = nullptr;
    tally_ = {};
    started_.clear();
    completed_.clear();
    acksSeen_ = 0;
    terminateSeen_ = false;
    outer_ = activeTransport;
    activeTransport = this;
    return true;
}

HostTransport::Handle DdeTransport::MakeName(const HostText& text) {
    HSZ name = nullptr;
    if (form_ == TextForm::Narrow) {
        name = DdeCreateStringHandleA(instance_, text.narrow.c_str(), CP_WINANSI);
    } else {
        name = DdeCreateStringHandleW(
            instance_, reinterpret_cast<const wchar_t*>(text.wide.c_str()), CP_WINUNICODE);
    }
    return reinterpret_cast<Handle>(name);
}

HostTransport::Handle DdeTransport::Connect(Handle service, Handle topic) {
    conversation_ = DdeConnect(instance_, ToHsz(service), ToHsz(topic), nullptr);
    return reinterpret_cast<Handle>(conversation_);
}

std::optional<std::string> DdeTransport::Request(Handle conversation, Handle item) {
    HDDEDATA data = DdeClientTransaction(nullptr, 0, ToHconv(conversation), ToHsz(item), CF_TEXT,
                                         XTYP_REQUEST, kRequestTimeoutMs, nullptr);
    if (data == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> reply;
    DWORD size = 0;
    if (const BYTE* bytes = DdeAccessData(data, &size)) {
        reply.emplace(reinterpret_cast<const char*>(bytes), size);
        DdeUnaccessData(data);
    }
    DdeFreeDataHandle(data);
    return reply;
}

void DdeTransport::FreeName(Handle name) {
    DdeFreeStringHandle(instance_, ToHsz(name));
}

ExecuteResult DdeTransport::ExecuteAsync(Handle conversation, const HostText& text) {
    // The bytes themselves, not a data handle: DDEML copies them, and there is no handle whose
    // release depends on whether the transaction started. The text stays the caller's.
    auto* bytes = static_cast<BYTE*>(const_cast<void*>(text.Data()));
    DWORD transaction = 0;
    if (DdeClientTransaction(bytes, static_cast<DWORD>(text.Size()), ToHconv(conversation), nullptr,
                             0, XTYP_EXECUTE, TIMEOUT_ASYNC, &transaction) == nullptr) {
        return ExecuteResult::Refused;
    }
    ++tally_.sent;
    started_.insert(transaction);
    return ExecuteResult::Sent;
}

namespace {

// Drops the oldest queued mouse message and the oldest queued keyboard message; true when there
// was either.
bool DropOneMouseAndKeyMessage() {
    MSG message;
    const bool mouse = PeekMessageA(&message, nullptr, WM_MOUSEFIRST, kLastMouseMessage, PM_REMOVE);
    const bool key = PeekMessageA(&message, nullptr, WM_KEYFIRST, kLastKeyMessage, PM_REMOVE);
    return mouse || key;
}

}  // namespace

void DdeTransport::DiscardPendingInput() {
    DropOneMouseAndKeyMessage();
}

void DropQueuedInput() {
    while (DropOneMouseAndKeyMessage()) {
    }
}

// Runs inside the Execute command: the queue is pumped only for the conversation's own messages
// and for repaints, so no click or key reaches the window before this run has ended.
void DdeTransport::WaitForPendingExecutes() {
    if (quietLimitMs_ == 0 || conversation_ == nullptr) {
        return;
    }
    CONVINFO info{};
    info.cb = sizeof(info);
    if (DdeQueryConvInfo(conversation_, QID_SYNC, &info) == 0) {
        tally_.hostGone = true;
        return;
    }
    std::size_t answered = tally_.acknowledged;
    DWORD lastProgress = GetTickCount();
    for (;;) {
        PumpConversation(info.hwnd, info.hwndPartner);
        UpdateAcknowledged();
        if (tally_.acknowledged >= tally_.sent) {
            return;
        }
        if (tally_.acknowledged != answered) {
            answered = tally_.acknowledged;
            lastProgress = GetTickCount();
        }
        if (!HostStillThere(info.hwndPartner)) {
            tally_.hostGone = true;
            return;
        }
        const DWORD quiet = GetTickCount() - lastProgress;
        if (quiet >= quietLimitMs_) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(kWaitSliceMs, quietLimitMs_ - quiet),
                                  QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT);
    }
}

void DdeTransport::Disconnect(Handle conversation) {
    DdeDisconnect(ToHconv(conversation));
    conversation_ = nullptr;
}

void DdeTransport::Close() {
    DdeUninitialize(instance_);
    instance_ = 0;
    conversation_ = nullptr;
    if (activeTransport == this) {
        activeTransport = outer_;
    }
    outer_ = nullptr;
}

HDDEDATA CALLBACK DdeTransport::DdeCallback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA,
                                            ULONG_PTR data1, ULONG_PTR) {
    if (type == XTYP_XACT_COMPLETE && activeTransport != nullptr) {
        activeTransport->OnExecuteComplete(conversation, static_cast<DWORD>(data1));
    }
    return nullptr;
}

void DdeTransport::OnExecuteComplete(HCONV conversation, DWORD transaction) {
    if (conversation != conversation_ || !started_.contains(transaction)) {
        return;
    }
    completed_.insert(transaction);
}

void DdeTransport::PumpConversation(HWND client, HWND partner) {
    MSG message;
    // DDE messages of any window, then whatever else DDEML posts to its conversation window.
    while (PeekMessageA(&message, nullptr, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE) ||
           PeekMessageA(&message, client, 0, 0, PM_REMOVE)) {
        if (message.hwnd == client && reinterpret_cast<HWND>(message.wParam) == partner) {
            if (message.message == WM_DDE_ACK) {
                ++acksSeen_;
            } else if (message.message == WM_DDE_TERMINATE) {
                terminateSeen_ = true;
            }
        }
        DispatchMessageA(&message);
    }
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

bool DdeTransport::HostStillThere(HWND partner) const {
    CONVINFO info{};
    info.cb = sizeof(info);
    return !terminateSeen_ && IsWindow(partner) &&
           DdeQueryConvInfo(conversation_, QID_SYNC, &info) != 0 &&
           (info.wStatus & ST_CONNECTED) != 0;
}

void DdeTransport::UpdateAcknowledged() {
    tally_.acknowledged = std::min(tally_.sent, std::max(completed_.size(), acksSeen_));
}

}  // namespace mirlka
