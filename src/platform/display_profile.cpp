#include "platform/display_profile.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace velmora::platform {
namespace {

// Profiles are a few kilobytes; a lookup table profile stays well below this.
constexpr uint32_t kMaxProfileWords = (uint32_t{16} << 20) / 4;

struct ConnectionClose {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
struct ReplyFree {
    void operator()(void* reply) const { std::free(reply); }
};

} // namespace

std::vector<uint8_t> readDisplayProfile() {
    if (std::getenv("DISPLAY") == nullptr) {
        return {};
    }
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, ConnectionClose> connection(
        xcb_connect(nullptr, &screenNumber));
    if (!connection || xcb_connection_has_error(connection.get()) != 0) {
        return {};
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        return {};
    }
    static constexpr char kName[] = "_ICC_PROFILE";
    const std::unique_ptr<xcb_intern_atom_reply_t, ReplyFree> atom(xcb_intern_atom_reply(
        connection.get(), xcb_intern_atom(connection.get(), 1, sizeof kName - 1, kName), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return {};
    }
    const std::unique_ptr<xcb_get_property_reply_t, ReplyFree> property(
        xcb_get_property_reply(connection.get(),
                               xcb_get_property(connection.get(), 0, screens.data->root, atom->atom,
                                                XCB_ATOM_ANY, 0, kMaxProfileWords),
                               nullptr));
    if (!property || property->format != 8) {
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(xcb_get_property_value(property.get()));
    const int length = xcb_get_property_value_length(property.get());
    if (bytes == nullptr || length <= 0) {
        return {};
    }
    return {bytes, bytes + length};
}

} // namespace velmora::platform
