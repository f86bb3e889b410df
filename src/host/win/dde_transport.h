// The host conversation over DDEML, client side only.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "host/execute_batch.h"

namespace mirlka {

// What became of the executes of the last conversation.
struct ExecuteTally {
    std::size_t sent = 0;          // transactions started
    std::size_t acknowledged = 0;  // answered by the host, positively or not
    bool hostGone = false;         // the host ended the conversation or its window vanished

    // Executes the host had not answered when the conversation was given up.
    std::size_t Unconfirmed() const { return sent - acknowledged; }
};

// Removes every mouse and keyboard message waiting in the thread's queue: what the user clicked
// and typed while a run held the window is not carried out afterwards.
void DropQueuedInput();

class DdeTransport final : public HostTransport {
  public:
    // Before disconnecting, executes are waited for as long as the host stays connected and
    // answers, until `quietLimitMs` pass without a new acknowledgement; 0 does not wait at all.
    explicit DdeTransport(DWORD quietLimitMs = kDefaultQuietLimitMs);
    ~DdeTransport() override;
    DdeTransport(const DdeTransport&) = delete;
    DdeTransport& operator=(const DdeTransport&) = delete;

    // A host interpreting CAL over a big song may take many seconds per expression.
    static constexpr DWORD kDefaultQuietLimitMs = 60000;
    static constexpr DWORD kRequestTimeoutMs = 10000;

    bool Open(TextForm form) override;
    Handle MakeName(const HostText& text) override;
    Handle Connect(Handle service, Handle topic) override;
    std::optional<std::string> Request(Handle conversation, Handle item) override;
    void FreeName(Handle name) override;
    ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) override;
    void DiscardPendingInput() override;
    void WaitForPendingExecutes() override;
    void Disconnect(Handle conversation) override;
    void Close() override;

    // Kept after Close; cleared by the next Open.
    const ExecuteTally& Tally() const { return tally_; }

  private:
    static HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    void OnExecuteComplete(HCONV conversation, DWORD transaction);
    void PumpConversation(HWND client, HWND partner);
    bool HostStillThere(HWND partner) const;
    void UpdateAcknowledged();

    DWORD quietLimitMs_;
    DWORD instance_ = 0;
    TextForm form_ = TextForm::Narrow;
    HCONV conversation_ = nullptr;
    DdeTransport* outer_ = nullptr;  // the transport that was active on this thread before Open

    ExecuteTally tally_;
    // DDEML reports the completion of asynchronous transactions through the callback, but some
    // implementations report only the first one; the host's acknowledgement messages, counted
    // while they pass through the wait, cover the rest. Whichever sees more is right.
    std::set<DWORD> started_;
    std::set<DWORD> completed_;
    std::size_t acksSeen_ = 0;
    bool terminateSeen_ = false;
};

}  // namespace mirlka
