// The host simulator as a separate process, driven over DDE the way the tool talks to the host.
#include <windows.h>

#include <ddeml.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "e2e/host_sim.h"
#include "host/cal_batch.h"
#include "win/test_support.h"

namespace mirlka::test {
namespace {

// The bytes the tool hands over: the text with its terminator.
std::string Sent(const HostText& text) {
    return std::string(text.Bytes()) + std::string(text.form == TextForm::Wide ? 2 : 1, '\0');
}

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
        service_ = Name("wincake");
        topic_ = Name("System");
    }
    ~Client() {
        Disconnect();
        DdeFreeStringHandle(id_, service_);
        DdeFreeStringHandle(id_, topic_);
        DdeUninitialize(id_);
    }

    bool Connect() {
        conv_ = DdeConnect(id_, service_, topic_, nullptr);
        return conv_ != nullptr;
    }
    void Disconnect() {
        if (conv_) {
            DdeDisconnect(conv_);
            conv_ = nullptr;
        }
    }
    std::optional<std::string> RequestPlaying(DWORD timeout) {
        HSZ item = Name("Playing");
        HDDEDATA data =
            DdeClientTransaction(nullptr, 0, conv_, item, CF_TEXT, XTYP_REQUEST, timeout, nullptr);
        DdeFreeStringHandle(id_, item);
        if (!data) {
            return std::nullopt;
        }
        std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()),
                   0);
        DdeFreeDataHandle(data);
        return bytes;
    }
    // Waits for the acknowledgement; on a refusal `error` gets the DDE error.
    bool Execute(const std::string& bytes, UINT* error = nullptr) {
        DWORD status = 0;
        const bool ok =
            DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                                 static_cast<DWORD>(bytes.size()), conv_, nullptr, 0, XTYP_EXECUTE,
                                 5000, &status) != nullptr;
        if (error) {
            *error = ok ? 0 : DdeGetLastError(id_);
        }
        EXPECT_EQ((status & DDE_FACK) != 0, ok);
        return ok;
    }

  private:
    HSZ Name(const std::string& text) {
        const std::wstring wide(text.begin(), text.end());
        return wide_ ? DdeCreateStringHandleW(id_, wide.c_str(), CP_WINUNICODE)
                     : DdeCreateStringHandleA(id_, text.c_str(), CP_WINANSI);
    }

    bool wide_;
    DWORD id_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
    HCONV conv_ = nullptr;
};

TEST(HostSimulator, TextsArriveAsSentAndChangeTheSong) {
    // The refused narrow attempt and the answers to Playing are checked through the tool, in the
    // Execute end-to-end tests.
    for (const TextForm form : {TextForm::Narrow, TextForm::Wide}) {
        const bool wide = form == TextForm::Wide;
        SCOPED_TRACE(wide ? "wide" : "narrow");
        HostSim sim("");
        ASSERT_TRUE(sim.WaitReady());
        const std::vector<std::string> before = sim.SongLines();
        ASSERT_EQ(before.size(), 16u);
        const std::string codepage = wide ? "1200" : "1004";

        Client client(form);
        ASSERT_TRUE(client.Connect());
        const std::string track = Sent(BuildTrackExpression(2, 10, form));
        const std::string closing = Sent(ClosingExpression(form));
        const std::string bad = Sent(MakeHostText(form, "(TrackChannel 16 2)"));
        EXPECT_TRUE(client.Execute(track));
        EXPECT_TRUE(client.Execute(closing));
        UINT error = 0;
        EXPECT_FALSE(client.Execute(bad, &error));
        EXPECT_EQ(error, static_cast<UINT>(DMLERR_NOTPROCESSED));
        // Asked last: under Wine the host's DDE layer follows its answer to a request with a
        // stray positive acknowledgement, which a synchronous execute sent next would take for
        // its own.
        const std::string no = Sent(MakeHostText(form, "No"));
        EXPECT_EQ(client.RequestPlaying(5000), no);
        client.Disconnect();

        const auto execute = [&](const std::string& bytes, const char* result) {
            return "execute codepage=" + codepage + " size=" + std::to_string(bytes.size()) +
                   " bytes=" + Hex(bytes) + " result=" + result;
        };
        const std::vector<std::string> expected = {
            "connect codepage=" + codepage + " accepted=1",
            execute(track, "ok"),
            execute(closing, "ok"),
            execute(bad, "rejected"),
            "request item=Playing format=1 reply=" + Hex(no),
            "disconnect",
        };
        EXPECT_TRUE(WaitFor([&] { return sim.LogLines().size() >= expected.size(); }, 5000));
        EXPECT_EQ(sim.LogLines(), expected);

        // Track 2 and every one of its events moved to channel 9; the refused text changed
        // nothing.
        const std::string events = std::to_string(SongTrack::Parse(before[2]).events);
        std::vector<std::string> after = before;
        after[2] = "Track 2: chan 9, " + events + " events, " + events + " on chan";
        EXPECT_NE(before[2], after[2]);
        EXPECT_EQ(sim.SongLines(), after);
    }
}

}  // namespace
}  // namespace mirlka::test
