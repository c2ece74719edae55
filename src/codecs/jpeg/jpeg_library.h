// The JPEG library's declarations, with what they need from the C library in front.
#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
