#include "hostsim/cal_interpreter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

namespace mirlka::hostsim {
namespace {

// Deep enough for anything the tool sends, shallow enough that hostile nesting cannot exhaust
// the stack of the recursive parser.
constexpr int kMaxDepth = 32;

struct CalError {
    std::string reason;
};

struct Node {
    bool is_list = false;
    bool is_int = false;
    int value = 0;
    std::string atom;  // the token as written, for atoms
    std::vector<Node> items;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Node ParseWhole() {
        SkipBlanks();
        if (pos_ == text_.size()) {
            throw CalError{"empty text"};
        }
        Node root = ParseNode(0);
        SkipBlanks();
        if (pos_ < text_.size()) {
            throw CalError{text_[pos_] == ')' ? "unbalanced parentheses: unexpected ')'"
                                              : "trailing text after the expression"};
        }
        return root;
    }

  private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // Blanks, and comments from ';' to the end of their line, as in a CAL program file.
    void SkipBlanks() {
        while (pos_ < text_.size() && (IsBlank(text_[pos_]) || text_[pos_] == ';')) {
            if (text_[pos_] == ';') {
                pos_ = std::min(text_.find('\n', pos_), text_.size());
            } else {
                ++pos_;
            }
        }
    }

    Node ParseNode(int depth) {
        if (depth > kMaxDepth) {
            throw CalError{"nesting too deep"};
        }
        Node node;
        if (text_[pos_] == ')') {
            throw CalError{"unbalanced parentheses: unexpected ')'"};
        }
        if (text_[pos_] == '(') {
            ++pos_;
            node.is_list = true;
            for (;;) {
                SkipBlanks();
                if (pos_ == text_.size()) {
                    throw CalError{"unbalanced parentheses: missing ')'"};
                }
                if (text_[pos_] == ')') {
                    ++pos_;
                    return node;
                }
                node.items.push_back(ParseNode(depth + 1));
            }
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != '(' &&
               text_[pos_] != ')') {
            const auto byte = static_cast<unsigned char>(text_[pos_]);
            if (byte < 0x21 || byte > 0x7E) {
                char reason[48];
                std::snprintf(reason, sizeof reason, "unexpected byte 0x%02X at offset %zu", byte,
                              pos_);
                throw CalError{reason};
            }
            ++pos_;
        }
        node.atom = std::string(text_.substr(start, pos_ - start));
        if (node.atom[0] == '-' || (node.atom[0] >= '0' && node.atom[0] <= '9')) {
            const char* end = node.atom.data() + node.atom.size();
            const auto [ptr, ec] = std::from_chars(node.atom.data(), end, node.value);
            if (ec != std::errc{} || ptr != end) {
                throw CalError{"bad number '" + node.atom + "'"};
            }
            node.is_int = true;
        }
        return node;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

struct Op {
    enum class Kind { kFromNow, kThruNow, kSelect, kTrackChannel, kForEachEvent };
    Kind kind;
    int value = 0;                 // selection state or channel
    int track = 0;                 // -1 for every track in kSelect
    std::vector<int> event_chans;  // kForEachEvent: the channels given to each event, in order
};

// Turns the parsed expression into operations that cannot fail, checking every argument
// against the song on the way.
class Compiler {
  public:
    explicit Compiler(int track_count) : track_count_(track_count) {}

    std::vector<Op> Compile(const Node& root) {
        Form(root, nullptr);
        return std::move(ops_);
    }

  private:
    // each is the forEachEvent being filled while its body is compiled, null elsewhere.
    void Form(const Node& n, Op* each) {
        if (!n.is_list) {
            throw CalError{"expected a form, found '" + n.atom + "'"};
        }
        if (n.items.empty() || n.items[0].is_list || n.items[0].is_int) {
            throw CalError{"a form must start with a function name"};
        }
        const std::string& name = n.items[0].atom;
        if (name == "do") {
            for (std::size_t i = 1; i < n.items.size(); ++i) {
                Form(n.items[i], each);
            }
        } else if (name == "=") {
            Assign(n, each);
        } else if (each != nullptr &&
                   (name == "TrackSelect" || name == "TrackChannel" || name == "forEachEvent")) {
            throw CalError{name + " is not allowed inside forEachEvent"};
        } else if (name == "TrackSelect") {
            Arity(n, 2);
            const int state = Int(n, 1);
            if (state != 0 && state != 1) {
                throw CalError{"selection state " + std::to_string(state) + " is not 0 or 1"};
            }
            ops_.push_back({Op::Kind::kSelect, state, Track(n, 2, true), {}});
        } else if (name == "TrackChannel") {
            Arity(n, 2);
            ops_.push_back({Op::Kind::kTrackChannel, Channel(n, 1), Track(n, 2, false), {}});
        } else if (name == "forEachEvent") {
            Op op{Op::Kind::kForEachEvent, 0, 0, {}};
            for (std::size_t i = 1; i < n.items.size(); ++i) {
                Form(n.items[i], &op);
            }
            ops_.push_back(std::move(op));
        } else {
            throw CalError{"unknown function '" + name + "'"};
        }
    }

    void Assign(const Node& n, Op* each) {
        Arity(n, 2);
        const Node& target = n.items[1];
        const std::string name = target.is_list || target.is_int ? "" : target.atom;
        if (name == "From" || name == "Thru") {
            const Node& value = n.items[2];
            if (value.is_list || value.is_int || value.atom != "Now") {
                throw CalError{name + " can only be set to Now"};
            }
            ops_.push_back({name == "From" ? Op::Kind::kFromNow : Op::Kind::kThruNow, 0, 0, {}});
        } else if (name == "Event.Chan") {
            if (each == nullptr) {
                throw CalError{"Event.Chan outside forEachEvent"};
            }
            each->event_chans.push_back(Channel(n, 2));
        } else {
            throw CalError{"cannot assign to this target"};
        }
    }

    static void Arity(const Node& n, std::size_t args) {
        if (n.items.size() != args + 1) {
            throw CalError{"wrong number of arguments to " + n.items[0].atom};
        }
    }

    static int Int(const Node& n, std::size_t i) {
        if (!n.items[i].is_int) {
            throw CalError{"argument " + std::to_string(i) + " of " + n.items[0].atom +
                           " is not an integer"};
        }
        return n.items[i].value;
    }

    static int Channel(const Node& n, std::size_t i) {
        const int chan = Int(n, i);
        if (chan < 0 || chan > 15) {
            throw CalError{"channel " + std::to_string(chan) + " outside 0..15"};
        }
        return chan;
    }

    int Track(const Node& n, std::size_t i, bool allow_all) const {
        const int track = Int(n, i);
        if ((track < 0 || track >= track_count_) && !(allow_all && track == -1)) {
            throw CalError{"track " + std::to_string(track) + " outside the song (" +
                           std::to_string(track_count_) + " tracks)"};
        }
        return track;
    }

    int track_count_;
    std::vector<Op> ops_;
};

void Apply(const std::vector<Op>& ops, Song& song, CalState& state) {
    state.selected.resize(song.tracks.size());
    for (const Op& op : ops) {
        switch (op.kind) {
            case Op::Kind::kFromNow:
                state.from = state.now;
                break;
            case Op::Kind::kThruNow:
                state.thru = state.now;
                break;
            case Op::Kind::kSelect:
                if (op.track == -1) {
                    std::fill(state.selected.begin(), state.selected.end(), op.value != 0);
                } else {
                    state.selected[static_cast<std::size_t>(op.track)] = op.value != 0;
                }
                break;
            case Op::Kind::kTrackChannel:
                song.tracks[static_cast<std::size_t>(op.track)].chan = op.value;
                break;
            case Op::Kind::kForEachEvent:
                // The host limits forEachEvent to From..Thru of the selected tracks and reads
                // From = Thru as the whole track, which is all the tool ever sets up. The
                // simulator therefore always visits every event of each selected track.
                for (std::size_t t = 0; t < song.tracks.size(); ++t) {
                    if (!state.selected[t]) {
                        continue;
                    }
                    for (Event& event : song.tracks[t].events) {
                        for (int chan : op.event_chans) {
                            event.chan = chan;
                        }
                    }
                }
                break;
        }
    }
}

}  // namespace

CalResult ExecuteCal(std::string_view text, Song& song, CalState& state) {
    if (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    try {
        const Node root = Parser(text).ParseWhole();
        const std::vector<Op> ops = Compiler(static_cast<int>(song.tracks.size())).Compile(root);
        Apply(ops, song, state);
        return {true, {}};
    } catch (const CalError& e) {
        return {false, e.reason};
    }
}

}  // namespace mirlka::hostsim
