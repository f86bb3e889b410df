// Times Execute of every track row against the host simulator, next to a bare DDEML client that
// makes only the same calls, so that what the tool adds on top of DDE can be seen.
//   execute_bench [repetitions] [simulator tracks]
#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/track_table.h"
#include "driver/win/host_sim.h"
#include "host/cal_batch.h"
#include "host/execute_batch.h"
#include "host/win/dde_transport.h"

namespace {

using namespace mirlka;

class CountingNotifier final : public HostNotifier {
  public:
    void HostBusy() override { ++messages; }
    void NoConversation() override { ++messages; }
    int messages = 0;
};

HDDEDATA CALLBACK IgnoreAll(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The calls of one narrow run and nothing else: no interface, no texts built per row, no wait.
bool BareRun(const std::vector<std::string>& texts) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreAll, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
        DMLERR_NO_ERROR) {
        return false;
    }
    HSZ service = DdeCreateStringHandleA(instance, "wincake", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    bool ok = conversation != nullptr;
    if (ok) {
        HSZ item = DdeCreateStringHandleA(instance, "Playing", CP_WINANSI);
        if (HDDEDATA reply = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT,
                                                  XTYP_REQUEST, 10000, nullptr)) {
            DWORD size = 0;
            if (DdeAccessData(reply, &size)) {
                DdeUnaccessData(reply);
            }
            DdeFreeDataHandle(reply);
        }
        DdeFreeStringHandle(instance, item);
        for (const std::string& text : texts) {
            auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(text.c_str()));
            HDDEDATA data = DdeCreateDataHandle(
                instance, bytes, static_cast<DWORD>(text.size() + 1), 0, nullptr, CF_TEXT, 0);
            DWORD transaction = 0;
            if (DdeClientTransaction(reinterpret_cast<BYTE*>(data), 0xFFFFFFFF, conversation,
                                     nullptr, 0, XTYP_EXECUTE, TIMEOUT_ASYNC,
                                     &transaction) == nullptr) {
                DdeFreeDataHandle(data);
                ok = false;
            }
            DropQueuedInput();
        }
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return ok;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Executes that the host has logged so far; waits until `expected` have come or 60 s pass.
std::size_t ExecutesLogged(const driver::HostSim& host, std::size_t expected) {
    driver::WaitFor([&] { return host.Executes().size() >= expected; }, 60000);
    return host.Executes().size();
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string tracks = argc > 2 ? argv[2] : "256";

    driver::HostSim host("--tracks " + tracks);
    if (!host.WaitReady()) {
        std::fprintf(stderr, "the host simulator did not start\n");
        return 1;
    }
    ArrayTrackTable table;
    std::vector<std::string> texts;
    for (int t = 0; t < kTrackCount; ++t) {
        table.SetEntry(t, t % 16 + 1);
        texts.push_back(BuildTrackExpression(t, t % 16 + 1, TextForm::Narrow).narrow);
    }
    texts.push_back(ClosingExpression(TextForm::Narrow).narrow);

    // Per side: how long the call took, and how long until the host had logged every execute.
    std::vector<double> toolCall, toolDone, quickCall, quickDone, bareCall, bareDone;
    std::size_t logged = 0;
    bool complete = true;
    auto measure = [&](auto run, std::vector<double>& call, std::vector<double>& done) {
        LARGE_INTEGER start, returned, finished;
        QueryPerformanceCounter(&start);
        run();
        QueryPerformanceCounter(&returned);
        const std::size_t expected = logged + texts.size();
        logged = ExecutesLogged(host, expected);
        QueryPerformanceCounter(&finished);
        complete = complete && logged == expected;
        call.push_back(Seconds(start, returned));
        done.push_back(Seconds(start, finished));
    };
    std::printf("run   call / done (s): Execute      without the wait     bare DDEML\n");
    for (int r = 0; r < repetitions; ++r) {
        CountingNotifier notifier;
        DdeTransport transport;
        DdeTransport quick(0);
        auto runTool = [&] { ExecuteBatch(transport, table, notifier); };
        auto runQuick = [&] { ExecuteBatch(quick, table, notifier); };
        auto runBare = [&] { complete = BareRun(texts) && complete; };
        // Rotate the order so that no side always follows the same other one.
        for (int k = 0; k < 3; ++k) {
            switch ((r + k) % 3) {
                case 0:
                    measure(runTool, toolCall, toolDone);
                    break;
                case 1:
                    measure(runQuick, quickCall, quickDone);
                    break;
                default:
                    measure(runBare, bareCall, bareDone);
                    break;
            }
        }
        complete = complete && notifier.messages == 0 && transport.Tally().Unconfirmed() == 0;
        std::printf("%3d   %7.3f / %7.3f   %7.3f / %7.3f   %7.3f / %7.3f\n", r + 1, toolCall.back(),
                    toolDone.back(), quickCall.back(), quickDone.back(), bareCall.back(),
                    bareDone.back());
    }
    std::printf("median of %d runs, %zu executes each:\n", repetitions, texts.size());
    std::printf(
        "  call:  Execute %.3f s, without the wait %.3f s, bare DDEML %.3f s, "
        "Execute / bare %.3f\n",
        Median(toolCall), Median(quickCall), Median(bareCall), Median(toolCall) / Median(bareCall));
    std::printf(
        "  done:  Execute %.3f s, without the wait %.3f s, bare DDEML %.3f s, "
        "Execute / bare %.3f\n",
        Median(toolDone), Median(quickDone), Median(bareDone), Median(toolDone) / Median(bareDone));
    // The window takes no input while Execute runs; the host's own work is what the bare loop
    // waits for until the host has logged every execute.
    std::printf(
        "  the window unresponsive %.3f s against the host's own processing %.3f s: %.2f x\n",
        Median(toolCall), Median(bareDone), Median(toolCall) / Median(bareDone));

    // A slow host: 16 rows, each execute acknowledged 100 ms late, 1.7 s of host work in all.
    driver::HostSim slow("--tracks 16 --ack-delay 100");
    ArrayTrackTable sixteen;
    for (int t = 0; t < 16; ++t) {
        sixteen.SetEntry(t, 16 - t);
    }
    std::vector<double> slowCall;
    for (int r = 0; r < repetitions && slow.WaitReady(); ++r) {
        CountingNotifier notifier;
        DdeTransport transport;
        LARGE_INTEGER start, returned;
        QueryPerformanceCounter(&start);
        ExecuteBatch(transport, sixteen, notifier);
        QueryPerformanceCounter(&returned);
        slowCall.push_back(Seconds(start, returned));
        complete = complete && notifier.messages == 0 && transport.Tally().Unconfirmed() == 0;
    }
    if (!slowCall.empty()) {
        std::printf(
            "  slow host (17 executes, 100 ms each): the window unresponsive %.3f s against "
            "1.700 s of host work: %.2f x\n",
            Median(slowCall), Median(slowCall) / 1.7);
    }
    if (!complete) {
        std::printf("executes were lost or reported: the figures are not comparable\n");
        return 1;
    }
    return 0;
}
