// The whole program: headless modes (help, version, convert) without a display, otherwise the
// viewer with its single-instance check.
#pragma once

namespace velmora::app {

int runApplication(int argc, char** argv);

} // namespace velmora::app
