// The platform's network connection and disconnection dialogs. Connecting asks for a host
// folder (an already mounted share, say) and maps it under the request's local name as
// "\Network\<local name>"; disconnecting lists the connections and drops the chosen one.
// Both return 0 on success, kNetDialogCancelled when the user cancels, else an error code.
#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace velmora::platform::qt {

inline constexpr uint32_t kResourceTypeAny = 0;
inline constexpr uint32_t kResourceTypeDisk = 1;
inline constexpr uint32_t kConnectDialogStructSize = 20;

inline constexpr int kNetDialogCancelled = -1;
inline constexpr int kErrorInvalidParameter = 87;
inline constexpr int kErrorBadNetName = 67;
inline constexpr int kErrorBadDevice = 1200;
inline constexpr int kErrorNotConnected = 2250;

struct NetResource {
    uint32_t scope = 0;
    uint32_t type = kResourceTypeDisk;
    uint32_t displayType = 0;
    uint32_t usage = 0;
    std::u16string localName;
    std::u16string remoteName;
    std::u16string comment;
    std::u16string provider;
};

struct ConnectDialogRequest {
    uint32_t structSize = kConnectDialogStructSize;
    QWidget* owner = nullptr;
    NetResource* resource = nullptr;
    uint32_t flags = 0;
    uint32_t deviceNumber = 0;
};

int connectionDialog(const ConnectDialogRequest& request);
// type: the kind of connections listed (kResourceTypeAny: all).
int disconnectionDialog(QWidget* owner, uint32_t type);

} // namespace velmora::platform::qt
