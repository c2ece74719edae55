// While alive, a transport's wait keeps the window painting: pending events other than user
// input are handled (input waits, so no second command starts meanwhile).
#pragma once

namespace velmora::platform::qt {

class WaitPumpScope {
  public:
    WaitPumpScope();
    ~WaitPumpScope();
    WaitPumpScope(const WaitPumpScope&) = delete;
    WaitPumpScope& operator=(const WaitPumpScope&) = delete;
};

} // namespace velmora::platform::qt
