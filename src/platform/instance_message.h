// What a later start tells the running viewer over the local socket: to come forward, and
// optionally which picture to open. The running viewer takes what arrives as untrusted input:
// anything but one well-formed message is ignored.
//
//   "activate\n"                      come forward
//   "open <n>\n" and then n bytes     come forward and open that picture (an absolute host path
//                                     of 1 to kMaxHandOverPath bytes, no NUL)
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

inline constexpr size_t kMaxHandOverPath = 4096; // the system's longest path
// The longest well-formed message: a longer one is refused unread.
inline constexpr size_t kMaxInstanceMessage = 16 + kMaxHandOverPath;

// The message for a start with picture (an absolute host path; empty: only come forward). A path
// the message cannot carry only brings the running viewer forward.
std::string composeInstanceMessage(std::string_view picture);

struct InstanceRequest {
    std::string picture; // empty: only come forward
};

// The request a message holds; nothing for a malformed or oversized one.
std::optional<InstanceRequest> parseInstanceMessage(std::string_view message);

} // namespace velmora::platform
