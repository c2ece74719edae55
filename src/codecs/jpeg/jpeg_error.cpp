#include "codecs/jpeg/jpeg_error.h"

#include <type_traits>

namespace velmora::codecs::jpeg {
namespace {

static_assert(std::is_standard_layout_v<ErrorManager>);

[[noreturn]] void leaveLibrary(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

// Warnings and trace messages stay unshown; the standard manager has already counted them.
void ignoreMessage(j_common_ptr) {}

} // namespace

jpeg_error_mgr* installErrorManager(ErrorManager& manager) {
    jpeg_std_error(&manager.library);
    manager.library.error_exit = leaveLibrary;
    manager.library.output_message = ignoreMessage;
    return &manager.library;
}

} // namespace velmora::codecs::jpeg
