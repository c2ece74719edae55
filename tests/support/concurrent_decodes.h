// Decodes several pictures on threads of their own at the same time, as the look-ahead worker
// and the interface thread do; ThreadSanitizer builds see any state the decoders share.
#pragma once

#include "image/dib_image.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

using DecodeFromBytes = std::function<bool(image::DibImage&, const std::string&)>;

// Decodes files[i] into images[i] `rounds` times on thread i; returns the successes per file.
inline std::vector<int> decodeConcurrently(std::vector<image::DibImage>& images,
                                           const std::vector<std::string>& files,
                                           const DecodeFromBytes& decode, int rounds) {
    std::vector<int> successes(files.size(), 0);
    std::vector<std::jthread> threads;
    for (size_t i = 0; i < files.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < rounds; ++round) {
                successes[i] += decode(images[i], files[i]) ? 1 : 0;
            }
        });
    }
    threads.clear(); // joins
    return successes;
}

} // namespace velmora::test
