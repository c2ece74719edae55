// The program's string table: every user-visible message text, by identifier.
#pragma once

#include <string>

namespace velmora::ui {

// A string-table identifier: a type of its own, so that a command number cannot be passed for one.
enum class StringId : int {};

// Identifiers used across the program.
namespace str {
inline constexpr StringId kTitle{1};
inline constexpr StringId kWindowClass{3};
inline constexpr StringId kMenuFile{302};
inline constexpr StringId kMenuHelp{303};
inline constexpr StringId kMenuButton{304};
inline constexpr StringId kImageCreateFailed{316};
inline constexpr StringId kNothingSelected{317};
inline constexpr StringId kMenuCreateFailed{318};
inline constexpr StringId kLoadFailed{319};
inline constexpr StringId kBackToFirst{320};
inline constexpr StringId kGoToLast{321};
inline constexpr StringId kImageFaulty{322};
inline constexpr StringId kNotSupported{325};
inline constexpr StringId kNetworkHidden{329};
inline constexpr StringId kSoftResetNeeded{330};
inline constexpr StringId kNetworkConnectFailed{331};
inline constexpr StringId kNetworkDisconnectFailed{332};
inline constexpr StringId kOperationFailed{333};
inline constexpr StringId kNoTargetFile{334};
inline constexpr StringId kFolderMissing{335};
inline constexpr StringId kOverwrite{336};
inline constexpr StringId kMenuEdit{40078};
inline constexpr StringId kWriteFailed{40079};
inline constexpr StringId kNothingToSave{40080};
inline constexpr StringId kBadSaveLocation{40081};
inline constexpr StringId kInvalidNumber{40082};
inline constexpr StringId kSaveEdited{40083};
inline constexpr StringId kUnknownError{40084};
inline constexpr StringId kBadFileName{40085};
inline constexpr StringId kReallyDelete{40086};
inline constexpr StringId kReadFailed{40087};
inline constexpr StringId kFileMissing{40088};
inline constexpr StringId kTrashUnavailable{40091};
inline constexpr StringId kMailNotSent{40092};
inline constexpr StringId kNoRecipient{40095};
} // namespace str

// The text of a string-table entry, cut to 1023 code units; empty for an unknown id.
std::u16string loadResourceString(StringId stringId);

} // namespace velmora::ui
