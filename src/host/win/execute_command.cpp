#include "host/win/execute_command.h"

#include <optional>
#include <string>

#include "host/execute_batch.h"
#include "host/win/dde_transport.h"
#include "ui/string_ids.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"

namespace mirlka {
namespace {

class BoxNotifier final : public HostNotifier {
  public:
    explicit BoxNotifier(HWND owner) : owner_(owner) {}

    void HostBusy() override {
        ShowMessageBoxById(owner_, kIdsHostBusy, MB_OK | MB_ICONEXCLAMATION);
    }
    void NoConversation() override {
        toldNoConversation_ = true;
        std::string text;
        LoadResString(text, kIdsNoConversation, WindowModule(owner_));
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
    // A host that goes away in the middle of a batch takes executes with it that were handed
    // over but never carried out; the run itself saw every one of them start.
    if (transport.Tally().Lost() > 0 && !notifier.toldNoConversation()) {
        notifier.NoConversation();
    }
}

}  // namespace mirlka
