#include "support/bench_corpus.h"

#include "platform/device_fs.h"

#include <cstdlib>

namespace velmora::bench {

std::u16string deviceFor(const std::filesystem::path& hostPath) {
    platform::setDeviceRoot("/");
    std::u16string device;
    for (const auto& part : std::filesystem::absolute(hostPath).relative_path()) {
        const std::string text = part.string();
        device += u'\\';
        device.append(text.begin(), text.end());
    }
    return device;
}

std::u16string corpusPicture(benchmark::State& state, const std::string& name) {
    const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
    if (corpus == nullptr ||
        !std::filesystem::is_regular_file(std::filesystem::path(corpus) / name)) {
        state.SkipWithError(("VELMORA_BENCH_CORPUS must name a folder holding " + name).c_str());
        return {};
    }
    return deviceFor(std::filesystem::path(corpus) / name);
}

std::filesystem::path encodedCorpusPicture(benchmark::State& state, const std::string& source,
                                           const std::string& command, const std::string& name) {
    const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
    const std::filesystem::path in =
        std::filesystem::path(corpus != nullptr ? corpus : "") / source;
    const std::filesystem::path out = scratchFolder() / name;
    if (std::filesystem::is_regular_file(out)) {
        return out;
    }
    std::string line = command;
    line.replace(line.find("{in}"), 4, in.string());
    line.replace(line.find("{out}"), 5, out.string());
    if (corpus == nullptr || !std::filesystem::is_regular_file(in) ||
        std::system((line + " >/dev/null 2>&1").c_str()) != 0) {
        state.SkipWithError(
            ("could not make " + name + " from VELMORA_BENCH_CORPUS/" + source).c_str());
        return {};
    }
    return out;
}

std::filesystem::path scratchFolder() {
    std::error_code error;
    const std::filesystem::path shm = "/dev/shm";
    return std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
}

} // namespace velmora::bench
