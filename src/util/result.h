// The result of an operation that can fail for several causes: the cause, which the caller turns
// into its own message (or none), and true when it is one of the successes.
#pragma once

namespace velmora::util {

template <typename Cause, Cause... Successes>
struct [[nodiscard]] Result {
    Cause cause;
    explicit operator bool() const { return ((cause == Successes) || ...); }
};

} // namespace velmora::util
