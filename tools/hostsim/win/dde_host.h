// The simulator's DDE server: service "wincake", topic "System", the item "Playing" and execute
// transactions carrying CAL texts, applied to the simulator's song.
//
// DDEML converts execute texts between ANSI and Unicode instances, so one instance of each kind
// is registered under the same service name. A connect is answered by the instance whose kind
// matches the client's (the code page of the connect context): a narrow client's executes then
// arrive as the narrow bytes it sent, a wide client's as the UTF-16 bytes it sent.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <deque>
#include <functional>
#include <map>
#include <string>

#include "hostsim/cal_interpreter.h"
#include "hostsim/song.h"
#include "hostsim/win/options.h"

namespace mirlka::hostsim {

class DdeHost {
  public:
    // Called after every event that changed the log, on the thread that pumps messages.
    using Listener = std::function<void()>;

    DdeHost(const Options& options, Listener listener);
    ~DdeHost();
    DdeHost(const DdeHost&) = delete;
    DdeHost& operator=(const DdeHost&) = delete;

    // Runs the CAL program file of the options, if any, writes the song file, then registers
    // the service; `error` says what failed.
    bool Start(std::string& error);

    const Song& song() const { return song_; }
    // The last events in a form for people: execute texts shown as text, not as hex.
    const std::deque<std::string>& recent() const { return recent_; }
    int executes() const { return executes_; }
    int rejected() const { return rejected_; }

  private:
    struct Instance {
        DWORD id = 0;
        bool wide = false;
        HSZ service = nullptr;
        HSZ topic = nullptr;
        HSZ item = nullptr;
        int pending_codepage = 0;  // of the connect being confirmed
    };

    template <int Index>
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    HDDEDATA OnConnect(Instance& instance, HSZ topic, const CONVCONTEXT* context);
    HDDEDATA OnRequest(Instance& instance, HCONV conv, UINT format, HSZ item);
    HDDEDATA OnExecute(HCONV conv, HDDEDATA data);
    void RunCalFile();
    int CodePageOf(HCONV conv) const;
    void Record(const std::string& log_line, const std::string& shown);
    void WriteSong() const;

    static DdeHost* current_;

    Options options_;
    Listener listener_;
    Instance instances_[2];  // narrow, wide
    std::map<HCONV, int> codepages_;
    Song song_;
    CalState cal_;
    std::deque<std::string> recent_;
    int executes_ = 0;
    int rejected_ = 0;
};

}  // namespace mirlka::hostsim
