// The progress callback of the long edits: called with a percentage 0..100 as the work goes on.
#pragma once

#include "image/resample.h"

namespace velmora::edit {

using Progress = image::ResampleProgress;

} // namespace velmora::edit
