// An error manager under which the JPEG library never ends the process or prints: a fatal error
// jumps back to the point the adapter saved with setjmp, and warnings are only counted.
//
// Only frames whose locals are trivially destructible may lie between that setjmp and the
// library call: the adapters keep every library call in small functions of that kind and own
// the library objects from the frame above.
#pragma once

#include "codecs/jpeg/jpeg_library.h"

#include <csetjmp>

namespace velmora::codecs::jpeg {

struct ErrorManager {
    jpeg_error_mgr library; // first member: the library hands back its address
    std::jmp_buf jump;
};

// Fills the manager and returns the record to store in the library object's err field.
jpeg_error_mgr* installErrorManager(ErrorManager& manager);

} // namespace velmora::codecs::jpeg
