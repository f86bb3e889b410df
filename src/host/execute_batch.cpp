#include "host/execute_batch.h"

namespace mirlka {
namespace {

using Handle = HostTransport::Handle;

enum class Attempt { OpenFailed, NoConversation, Connected };

struct Link {
    Handle service = 0;
    Handle topic = 0;
    Handle conversation = 0;
};

void FreeNames(HostTransport& transport, const Link& link) {
    if (link.service != 0) {
        transport.FreeName(link.service);
    }
    if (link.topic != 0) {
        transport.FreeName(link.topic);
    }
}

// Leaves the instance open only when it returns Connected.
Attempt OpenConversation(HostTransport& transport, TextForm form, Link& link) {
    if (!transport.Open(form)) {
        return Attempt::OpenFailed;
    }
    link.service = transport.MakeName(MakeHostText(form, "wincake"));
    link.topic = transport.MakeName(MakeHostText(form, "System"));
    if (link.service != 0 && link.topic != 0) {
        link.conversation = transport.Connect(link.service, link.topic);
    }
    if (link.conversation == 0) {
        FreeNames(transport, link);
        transport.Close();
        link = {};
        return Attempt::NoConversation;
    }
    return Attempt::Connected;
}

// The host answers "Playing" with "Yes" while it plays or records; anything after those three
// characters does not matter. The reply is asked for as CF_TEXT, which the system does not
// convert between the forms of conversation, so in the wide one a host may answer in either form.
bool HostIsPlaying(HostTransport& transport, TextForm form, Handle conversation) {
    const Handle item = transport.MakeName(MakeHostText(form, "Playing"));
    if (item == 0) {
        return false;
    }
    const std::optional<std::string> reply = transport.Request(conversation, item);
    transport.FreeName(item);
    if (!reply) {
        return false;
    }
    for (const TextForm answer : {form, TextForm::Narrow}) {
        if (reply->starts_with(MakeHostText(answer, "Yes").Bytes())) {
            return true;
        }
    }
    return false;
}

// False when an expression could not be handed over; later rows and the closing expression
// are then not sent.
bool SendBatch(HostTransport& transport, const TrackTable& table, TextForm form,
               Handle conversation) {
    bool sent_any = false;
    auto send = [&](const HostText& text) {
        const bool sent = transport.ExecuteAsync(conversation, text) == ExecuteResult::Sent;
        sent_any = sent_any || sent;
        return sent;
    };
    bool ok = true;
    for (int row = 0; row < kTrackCount && ok; ++row) {
        const std::int32_t entry = table.Entry(row);
        if (entry == 0) {
            continue;
        }
        ok = send(BuildTrackExpression(row, entry, form));
        if (ok) {
            transport.DiscardPendingInput();
        }
    }
    if (ok) {
        ok = send(ClosingExpression(form));
    }
    // Disconnecting with executes in flight could drop them unacknowledged.
    if (sent_any) {
        transport.WaitForPendingExecutes();
    }
    return ok;
}

}  // namespace

void ExecuteBatch(HostTransport& transport, const TrackTable& table, HostNotifier& notifier) {
    Link link;
    TextForm form = TextForm::Narrow;
    Attempt attempt = OpenConversation(transport, form, link);
    if (attempt == Attempt::NoConversation) {
        form = TextForm::Wide;
        attempt = OpenConversation(transport, form, link);
    }
    if (attempt != Attempt::Connected) {
        notifier.NoConversation();
        return;
    }

    bool ok = true;
    if (HostIsPlaying(transport, form, link.conversation)) {
        notifier.HostBusy();
    } else {
        ok = SendBatch(transport, table, form, link.conversation);
    }

    transport.Disconnect(link.conversation);
    FreeNames(transport, link);
    transport.Close();
    if (!ok) {
        notifier.NoConversation();
    }
}

}  // namespace mirlka
