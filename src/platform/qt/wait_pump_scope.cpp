#include "platform/qt/wait_pump_scope.h"

#include "platform/mail/wait_pump.h"

#include <QCoreApplication>

namespace velmora::platform::qt {

WaitPumpScope::WaitPumpScope() {
    setWaitPump([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

WaitPumpScope::~WaitPumpScope() {
    setWaitPump({});
}

} // namespace velmora::platform::qt
