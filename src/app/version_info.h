// The --version text: the program's version, what it can read and write, and the versions of
// the libraries it was built with and runs with.
#pragma once

#include <QString>

namespace velmora::app {

QString versionText();

} // namespace velmora::app
