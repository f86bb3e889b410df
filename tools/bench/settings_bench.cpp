// Times the settings file at sizes far beyond normal use: loading it, choosing the last preset,
// saving a preset and writing the file back. Load and write are set against plain reads and
// writes of the same bytes, made in the same run, so the figures hold on any machine.
//   settings_bench [folder for the temporary file]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "base/track_table.h"
#include "settings/presets.h"
#include "settings/settings_store.h"

namespace {

using namespace mirlka;
using Clock = std::chrono::steady_clock;

// The median of a few repetitions, in seconds.
template <typename Fn>
double Median(int repetitions, Fn&& fn) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        fn();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string MakeFile(int presets, int rows) {
    std::vector<SettingsSection> sections;
    sections.push_back({"AppSetting", {}});
    for (const char* line : {"Left=120", "Top=80", "AddCakewalkTool=1"}) {
        sections.back().lines.push_back(line);
    }
    for (int p = 0; p < presets; ++p) {
        SettingsSection section{"Preset " + WriteDecimal(p), {}};
        for (int r = 1; r <= rows; ++r) {
            section.lines.push_back(WriteDecimal(r) + "=" + WriteDecimal(1 + (p + r) % 16));
        }
        sections.push_back(std::move(section));
    }
    return RenderSettings(sections);
}

void Spit(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

std::string Slurp(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) {
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return bytes;
}

void Run(const std::filesystem::path& folder, int presets, int rows) {
    const std::string path = (folder / "mirlka_bench.ini").string();
    const std::string bytes = MakeFile(presets, rows);
    Spit(path, bytes);
    const double mb = static_cast<double>(bytes.size()) / 1e6;

    // Shift_JIS lead bytes, as on the Japanese systems the program is written for.
    SettingsStore store([](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || b >= 0xE0; });
    const double load = Median(3, [&] { store.Load(path); });
    const double read = Median(3, [&] { Slurp(path); });

    ArrayTrackTable table;
    const std::string last = "Preset " + WriteDecimal(presets - 1);
    const double choose = Median(20, [&] { LoadTableFromSection(store, table, last); });
    const double save = Median(20, [&] { SaveTableToSection(store, table, "Saved"); });

    const double write = Median(3, [&] { store.Write(); });
    const double plain = Median(3, [&] { Spit(path, bytes); });

    std::printf(
        "%7d presets x %3d rows, %6.1f MB: load %7.1f MB/s (%.2f x plain read), "
        "choose last %7.3f ms, save %7.3f ms, write %7.1f MB/s (%.2f x plain write)\n",
        presets, rows, mb, mb / load, load / read, choose * 1e3, save * 1e3, mb / write,
        write / plain);
    std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    Run(folder, 1000, 256);
    Run(folder, 10000, 256);
    Run(folder, 100000, 16);
    return 0;
}
