#include "host/win/execute_command.h"

#include <optional>
#include <string>

#include "base/win/window_module.h"
#include "host/execute_batch.h"
#include "host/win/dde_transport.h"
#include "res/resource.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"

namespace mirlka {
namespace {

class BoxNotifier final : public HostNotifier {
  public:
    explicit BoxNotifier(HWND owner) : owner_(owner) {}

    void HostBusy() override {
        ShowMessageBoxById(owner_, IDS_HOST_BUSY, MB_OK | MB_ICONEXCLAMATION);
    }
    void NoConversation() override {
        toldNoConversation_ = true;
        std::string text;
        LoadResString(text, IDS_NO_CONVERSATION, WindowModule(owner_));
        ShowMessageBox(owner_, text, std::nullopt, MB_OK | MB_ICONHAND);
    }

    bool toldNoConversation() const { return toldNoConversation_; }

  private:
    HWND owner_;
    bool toldNoConversation_ = false;
};

}  // namespace

void RunExecute(HWND owner, const TrackTable& table) {
    DdeTransport transport;
    BoxNotifier notifier(owner);
    ExecuteBatch(transport, table, notifier);
    const ExecuteTally& tally = transport.Tally();
    // A host that went away in the middle of a batch took executes with it that were handed over
    // but never carried out. One that is still there but silent may yet carry them out.
    if (tally.Unconfirmed() > 0 && !notifier.toldNoConversation()) {
        if (tally.hostGone) {
            notifier.NoConversation();
        } else {
            ShowMessageBoxById(owner, IDS_HOST_NOT_CONFIRMED, MB_OK | MB_ICONEXCLAMATION);
        }
    }
    DropQueuedInput();
}

}  // namespace mirlka
