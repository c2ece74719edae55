// An operation's cause of failure, for the caller to speak of; true for one of its successes.
#pragma once

namespace velmora::util {

template <typename Cause, Cause... Successes> struct [[nodiscard]] Result {
    Cause cause;
    explicit operator bool() const { return ((cause == Successes) || ...); }
};

} // namespace velmora::util
