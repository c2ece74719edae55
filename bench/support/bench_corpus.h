// The pictures the benchmarks read: files of the folder named by VELMORA_BENCH_CORPUS.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace velmora::bench {

// Device path of a host file, with the device root at the host's "/".
std::u16string deviceFor(const std::filesystem::path& hostPath);

// Device path of a corpus picture; empty, with the benchmark marked as skipped, when the corpus
// folder or the picture is missing.
std::u16string corpusPicture(benchmark::State& state, const std::string& name);

// Host path of a corpus picture re-encoded by a format library's tool into the scratch folder
// (made once per run): command holds {in} and {out}. Empty, with the benchmark marked as
// skipped, when the corpus picture is missing or the tool fails.
std::filesystem::path encodedCorpusPicture(benchmark::State& state, const std::string& source,
                                           const std::string& command, const std::string& name);

// A folder for files the benchmarks write: in memory where the machine has /dev/shm, so that
// disk flushes do not swamp what is measured.
std::filesystem::path scratchFolder();

} // namespace velmora::bench
