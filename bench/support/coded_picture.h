// Corpus pictures coded at bench time by a format library's own encoder tool, so that no coded
// copy is kept with the sources.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>

namespace velmora::bench {

// The encoder's command line for an input and an output file.
using EncoderCommand = std::function<std::string(const std::string&, const std::string&)>;

// The host path of the corpus picture coded by encoder into the scratch folder under codedName,
// coding it only when it is not there yet; empty, with the benchmark marked as skipped, when the
// picture is missing or the encoder fails.
std::filesystem::path codedCorpusPicture(benchmark::State& state, const std::string& name,
                                         const std::string& codedName,
                                         const EncoderCommand& encoder);

} // namespace velmora::bench
