#include "support/coded_picture.h"

#include "support/bench_corpus.h"

#include <cstdlib>

namespace velmora::bench {

std::filesystem::path codedCorpusPicture(benchmark::State& state, const std::string& name,
                                         const std::string& codedName,
                                         const EncoderCommand& encoder) {
    if (corpusPicture(state, name).empty()) {
        return {};
    }
    const std::filesystem::path source =
        std::filesystem::path(std::getenv("VELMORA_BENCH_CORPUS")) / name;
    const std::filesystem::path coded = scratchFolder() / codedName;
    std::error_code error;
    if (std::filesystem::is_regular_file(coded, error)) {
        return coded;
    }
    const std::string command = encoder(source.string(), coded.string()) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::filesystem::remove(coded, error);
        state.SkipWithError(("could not make " + codedName).c_str());
        return {};
    }
    return coded;
}

} // namespace velmora::bench
