#include "hostsim/win/dde_host.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "hostsim/hex.h"

namespace mirlka::hostsim {
namespace {

constexpr DWORD kServerFlags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES |
                               CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
constexpr std::size_t kRecentLines = 14;
constexpr std::size_t kShownTextLength = 90;

// Opened and closed for every write, so a test can read or delete the file at any moment.
void WriteFileBytes(const std::string& path, std::string_view bytes, bool append) {
    HANDLE file = CreateFileA(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The configured reply text is ANSI; a wide conversation reads replies as UTF-16 unless the
// host is told to answer it in 8-bit text.
std::string ReplyBytes(const std::string& text, bool wide) {
    if (!wide) {
        return std::string(text.c_str(), text.size() + 1);
    }
    const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::string bytes(static_cast<std::size_t>(units) * 2, '\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, reinterpret_cast<LPWSTR>(bytes.data()), units);
    return bytes;
}

// UTF-16 bytes as ANSI text; an odd byte count cannot be UTF-16 and gives nothing.
bool NarrowFromUtf16(const std::string& bytes, std::string& narrow) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    std::wstring wide(bytes.size() / 2, L'\0');
    std::memcpy(wide.data(), bytes.data(), bytes.size());
    const int units = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    narrow.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, narrow.data(), length, nullptr, nullptr);
    return true;
}

}  // namespace

DdeHost* DdeHost::current_ = nullptr;

DdeHost::DdeHost(const Options& options, Listener listener)
    : options_(options), listener_(std::move(listener)), song_(MakeDemoSong(options.tracks)) {
    instances_[1].wide = true;
    current_ = this;
}

DdeHost::~DdeHost() {
    for (Instance& instance : instances_) {
        if (instance.id == 0) {
            continue;
        }
        if (instance.service) {
            DdeNameService(instance.id, instance.service, nullptr, DNS_UNREGISTER);
        }
        for (HSZ name : {instance.service, instance.topic, instance.item}) {
            if (name) {
                DdeFreeStringHandle(instance.id, name);
            }
        }
        DdeUninitialize(instance.id);
    }
    current_ = nullptr;
}

void DdeHost::RunCalFile() {
    std::ifstream file(options_.cal_path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    const CalResult result =
        file ? ExecuteCal(text, song_, cal_) : CalResult{false, "cannot read the file"};
    const std::string head = "run-cal size=" + std::to_string(text.size()) + " result=";
    Record(
        head + (result.ok ? "ok" : "rejected"),
        head + (result.ok ? "ok" : "rejected (" + result.error + ")") + ": " + options_.cal_path);
}

bool DdeHost::Start(std::string& error) {
    if (!options_.cal_path.empty()) {
        RunCalFile();  // as the host's Run CAL command, before any conversation
    }
    WriteSong();
    for (Instance& instance : instances_) {
        const UINT result = instance.wide
                                ? DdeInitializeW(&instance.id, &Callback<1>, kServerFlags, 0)
                                : DdeInitializeA(&instance.id, &Callback<0>, kServerFlags, 0);
        if (result != DMLERR_NO_ERROR) {
            instance.id = 0;
            error = "DdeInitialize failed with DDE error " + std::to_string(result);
            return false;
        }
        instance.service = DdeCreateStringHandleA(instance.id, "wincake", CP_WINANSI);
        instance.topic = DdeCreateStringHandleA(instance.id, "System", CP_WINANSI);
        instance.item = DdeCreateStringHandleA(instance.id, "Playing", CP_WINANSI);
        if (!instance.service || !instance.topic || !instance.item ||
            !DdeNameService(instance.id, instance.service, nullptr, DNS_REGISTER)) {
            error = "registering the service failed with DDE error " +
                    std::to_string(DdeGetLastError(instance.id));
            return false;
        }
    }
    return true;
}

template <int Index>
HDDEDATA CALLBACK DdeHost::Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR) {
    DdeHost* host = current_;
    if (!host) {
        return nullptr;
    }
    Instance& instance = host->instances_[Index];
    switch (type) {
        case XTYP_CONNECT:
            return host->OnConnect(instance, hsz1, reinterpret_cast<const CONVCONTEXT*>(data1));
        case XTYP_CONNECT_CONFIRM:
            host->codepages_[conv] = instance.pending_codepage;
            return nullptr;
        case XTYP_DISCONNECT:
            host->codepages_.erase(conv);
            host->Record("disconnect", "disconnect");
            return nullptr;
        case XTYP_REQUEST:
            return host->OnRequest(instance, conv, format, hsz2);
        case XTYP_EXECUTE:
            return host->OnExecute(conv, data);
        default:
            return nullptr;
    }
}

HDDEDATA DdeHost::OnConnect(Instance& instance, HSZ topic, const CONVCONTEXT* context) {
    if (DdeCmpStringHandles(topic, instance.topic) != 0) {
        return nullptr;
    }
    // A client that is no DDEML application gives no context; it talks ANSI.
    const int codepage = context ? context->iCodePage : 0;
    if ((codepage == CP_WINUNICODE) != instance.wide) {
        return nullptr;  // the other instance answers this client
    }
    const bool accepted = !(options_.refuse_narrow && (codepage == CP_WINANSI || !context));
    if (accepted) {
        instance.pending_codepage = context ? codepage : CP_WINANSI;
    }
    const std::string line =
        "connect codepage=" + std::to_string(codepage) + " accepted=" + (accepted ? "1" : "0");
    Record(line, line);
    return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(accepted));
}

HDDEDATA DdeHost::OnRequest(Instance& instance, HCONV conv, UINT format, HSZ item) {
    char name[256] = "";
    DdeQueryStringA(instance.id, item, name, sizeof name, CP_WINANSI);
    HDDEDATA reply = nullptr;
    std::string reply_bytes;
    if (format == CF_TEXT && DdeCmpStringHandles(item, instance.item) == 0) {
        if (options_.playing_delay_ms > 0) {
            Sleep(static_cast<DWORD>(options_.playing_delay_ms));
        }
        if (!options_.playing_none) {
            reply_bytes = ReplyBytes(options_.playing,
                                     CodePageOf(conv) == CP_WINUNICODE && !options_.playing_narrow);
            reply =
                DdeCreateDataHandle(instance.id, reinterpret_cast<LPBYTE>(reply_bytes.data()),
                                    static_cast<DWORD>(reply_bytes.size()), 0, item, CF_TEXT, 0);
        }
    }
    const std::string head =
        "request item=" + std::string(name) + " format=" + std::to_string(format) + " reply=";
    Record(head + (reply ? Hex(reply_bytes) : "NONE"),
           head + (reply ? "\"" + options_.playing + "\"" : "no data"));
    return reply;
}

HDDEDATA DdeHost::OnExecute(HCONV conv, HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    const int codepage = CodePageOf(conv);
    std::string text = bytes;
    CalResult result{false, "not UTF-16"};
    if (codepage != CP_WINUNICODE || NarrowFromUtf16(bytes, text)) {
        result = ExecuteCal(text, song_, cal_);
    }
    ++executes_;
    rejected_ += result.ok ? 0 : 1;

    const std::string head =
        "execute codepage=" + std::to_string(codepage) + " size=" + std::to_string(size);
    const std::string outcome = result.ok ? "ok" : "rejected";
    std::string shown = text.substr(0, text.find('\0'));
    if (shown.size() > kShownTextLength) {
        shown = shown.substr(0, kShownTextLength) + "...";
    }
    Record(head + " bytes=" + Hex(bytes) + " result=" + outcome,
           head + " " + outcome + (result.ok ? "" : " (" + result.error + ")") + ": " + shown);
    WriteSong();
    if (options_.quit_after > 0 && executes_ == options_.quit_after) {
        // A host that dies in the middle of a batch: no acknowledgement, no clean-up.
        ExitProcess(0);
    }
    // A host working through a big song is busy for a while before it answers.
    Sleep(static_cast<DWORD>(options_.ack_delay_ms));
    return reinterpret_cast<HDDEDATA>(
        static_cast<INT_PTR>(result.ok ? DDE_FACK : DDE_FNOTPROCESSED));
}

int DdeHost::CodePageOf(HCONV conv) const {
    const auto found = codepages_.find(conv);
    return found == codepages_.end() ? CP_WINANSI : found->second;
}

void DdeHost::Record(const std::string& log_line, const std::string& shown) {
    if (!options_.log_path.empty()) {
        WriteFileBytes(options_.log_path, log_line + "\r\n", true);
    }
    recent_.push_back(shown);
    if (recent_.size() > kRecentLines) {
        recent_.pop_front();
    }
    if (listener_) {
        listener_();
    }
}

void DdeHost::WriteSong() const {
    if (!options_.song_path.empty()) {
        WriteFileBytes(options_.song_path, RenderSong(song_), false);
    }
}

}  // namespace mirlka::hostsim
