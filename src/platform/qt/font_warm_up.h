// The font configuration read ahead of the toolkit's start.
#pragma once

#include <thread>

namespace velmora::platform::qt {

// Fontconfig reads its configuration and its caches of every installed font when text is first
// measured, which at start-up is the menu bar, well after the toolkit has connected to the
// display. Started here on a thread of its own, that reading, and the look-up of the Japanese
// interface font, overlap the connection instead.
// Without a thread nothing is read early, and the toolkit reads it when it needs it.
class FontWarmUp {
  public:
    FontWarmUp();

    // Waits until the configuration is read, so that the toolkit never reads it a second time.
    void finish();

  private:
    std::jthread reader_;
};

} // namespace velmora::platform::qt
