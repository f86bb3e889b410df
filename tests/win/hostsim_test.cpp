// The host simulator's answer to a text it cannot apply, over DDE the way the tool talks to it.
// Accepted texts, the answers to Playing and the refused narrow attempt are checked through the
// tool in the Execute end-to-end tests.
#include <windows.h>

#include <ddeml.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/win/host_sim.h"
#include "host/cal_batch.h"
#include "win/test_support.h"

namespace mirlka::test {
namespace {

HDDEDATA CALLBACK IgnoreAll(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A DDEML client of the given form, like the tool's narrow and wide attempts.
class Client {
  public:
    explicit Client(TextForm form) : wide_(form == TextForm::Wide) {
        const DWORD flags = APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS;
        EXPECT_EQ(wide_ ? DdeInitializeW(&id_, IgnoreAll, flags, 0)
                        : DdeInitializeA(&id_, IgnoreAll, flags, 0),
                  static_cast<UINT>(DMLERR_NO_ERROR));
        service_ = wide_ ? DdeCreateStringHandleW(id_, L"wincake", CP_WINUNICODE)
                         : DdeCreateStringHandleA(id_, "wincake", CP_WINANSI);
        topic_ = wide_ ? DdeCreateStringHandleW(id_, L"System", CP_WINUNICODE)
                       : DdeCreateStringHandleA(id_, "System", CP_WINANSI);
        conv_ = DdeConnect(id_, service_, topic_, nullptr);
    }
    ~Client() {
        if (conv_) {
            DdeDisconnect(conv_);
        }
        DdeFreeStringHandle(id_, service_);
        DdeFreeStringHandle(id_, topic_);
        DdeUninitialize(id_);
    }

    bool connected() const { return conv_ != nullptr; }
    // Waits for the acknowledgement: the DDE error of a refusal, 0 when the text was taken.
    UINT Execute(const std::string& bytes) {
        DWORD status = 0;
        const bool ok =
            DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                                 static_cast<DWORD>(bytes.size()), conv_, nullptr, 0, XTYP_EXECUTE,
                                 5000, &status) != nullptr;
        EXPECT_EQ((status & DDE_FACK) != 0, ok);
        return ok ? 0 : DdeGetLastError(id_);
    }

  private:
    bool wide_;
    DWORD id_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
    HCONV conv_ = nullptr;
};

TEST(HostSimulator, ATextItCannotApplyIsRefusedAndChangesNothing) {
    for (const TextForm form : {TextForm::Narrow, TextForm::Wide}) {
        const bool wide = form == TextForm::Wide;
        SCOPED_TRACE(wide ? "wide" : "narrow");
        HostSim sim("");
        ASSERT_TRUE(sim.WaitReady());
        const std::vector<std::string> before = sim.SongLines();
        ASSERT_EQ(before.size(), 16u);
        // Track 16 is one past the song's last: the bytes as sent, terminator included.
        const HostText text = MakeHostText(form, "(TrackChannel 16 2)");
        const std::string bad = std::string(text.Bytes()) + std::string(wide ? 2 : 1, '\0');
        {
            Client client(form);
            ASSERT_TRUE(client.connected());
            EXPECT_EQ(client.Execute(bad), static_cast<UINT>(DMLERR_NOTPROCESSED));
        }
        const std::string codepage = wide ? "1200" : "1004";
        const std::vector<std::string> expected = {
            "connect codepage=" + codepage + " accepted=1",
            "execute codepage=" + codepage + " size=" + std::to_string(bad.size()) +
                " bytes=" + Hex(bad) + " result=rejected",
            "disconnect",
        };
        EXPECT_TRUE(WaitFor([&] { return sim.LogLines().size() >= expected.size(); }, 5000));
        EXPECT_EQ(sim.LogLines(), expected);
        EXPECT_EQ(sim.SongLines(), before);
    }
}

}  // namespace
}  // namespace mirlka::test
