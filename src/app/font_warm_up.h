// FontWarmUp: loads the system's font configuration on a thread of its own while the window
// system starts. Otherwise the first text the window measures loads it on the interface thread,
// in front of the first frame; the configuration is one per process, so the toolkit later finds
// it loaded (or, if it asks first, the two loads simply race to the same result). Only a start
// that goes on to show a window makes one: the toolkit then releases the configuration at exit.
#pragma once

#include <thread>

namespace velmora::app {

class FontWarmUp {
  public:
    FontWarmUp();  // starts the thread; without one the toolkit loads the fonts itself
    ~FontWarmUp(); // waits for the thread
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

  private:
    std::thread thread_;
};

} // namespace velmora::app
