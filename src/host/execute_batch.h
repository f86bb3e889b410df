// Execute: tells the running host sequencer, over a DDE client conversation, to set the channel
// of every track that has one assigned in the track table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/track_table.h"
#include "host/cal_batch.h"

namespace mirlka {

// What became of one execute transaction.
enum class ExecuteResult {
    Sent,     // handed to the DDE layer; the host acknowledges it later
    Refused,  // the transaction was not started
};

// The DDE client operations one run needs. One instance is open at a time, between a successful
// Open and the matching Close; every text passed in is in the form given to Open.
class HostTransport {
  public:
    using Handle = std::uintptr_t;  // 0 means "none"

    virtual ~HostTransport() = default;

    virtual bool Open(TextForm form) = 0;
    virtual Handle MakeName(const HostText& text) = 0;
    virtual Handle Connect(Handle service, Handle topic) = 0;
    // A synchronous request with a 10 s time-out. The reply's bytes as the host sent them (UTF-16
    // in machine order for a wide instance), or nothing when no data came or it can't be read.
    virtual std::optional<std::string> Request(Handle conversation, Handle item) = 0;
    virtual void FreeName(Handle name) = 0;
    // Starts an asynchronous execute of the terminated text (text.Data(), text.Size() bytes);
    // nothing is left to release whatever the result.
    virtual ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) = 0;
    // Drops at most one queued mouse message and then at most one queued keyboard message, so
    // that clicks and keys piling up while the host works do not all land on the window later.
    virtual void DiscardPendingInput() = 0;
    // Returns once every execute that was Sent on the open conversation has been acknowledged,
    // or once a bounded wait has run out; meanwhile it handles the DDE messages that carry the
    // acknowledgements. It never fails and leaves the conversation connected.
    virtual void WaitForPendingExecutes() = 0;
    virtual void Disconnect(Handle conversation) = 0;
    virtual void Close() = 0;
};

// How a run tells the user about its outcome.
class HostNotifier {
  public:
    virtual ~HostNotifier() = default;
    virtual void HostBusy() = 0;        // the host is playing or recording; nothing was sent
    virtual void NoConversation() = 0;  // no conversation came about, or a send failed
};

// Connects narrow, or wide when the narrow conversation is refused, checks that the host is not
// playing, sends one expression per assigned row (rows read at the moment they are sent) and
// the closing expression, and releases everything before it reports.
void ExecuteBatch(HostTransport& transport, const TrackTable& table, HostNotifier& notifier);

}  // namespace mirlka
