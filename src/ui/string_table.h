// The program's string table: every user-visible message text, by identifier.
#pragma once

#include <string>

namespace velmora::ui {

using StringId = int;

// Identifiers used across the program.
namespace str {
inline constexpr int kTitle = 1;
inline constexpr int kWindowClass = 3;
inline constexpr int kMenuFile = 302;
inline constexpr int kMenuHelp = 303;
inline constexpr int kMenuButton = 304;
inline constexpr int kImageCreateFailed = 316;
inline constexpr int kNothingSelected = 317;
inline constexpr int kMenuCreateFailed = 318;
inline constexpr int kLoadFailed = 319;
inline constexpr int kBackToFirst = 320;
inline constexpr int kGoToLast = 321;
inline constexpr int kImageFaulty = 322;
inline constexpr int kNotSupported = 325;
inline constexpr int kNetworkHidden = 329;
inline constexpr int kSoftResetNeeded = 330;
inline constexpr int kNetworkConnectFailed = 331;
inline constexpr int kNetworkDisconnectFailed = 332;
inline constexpr int kOperationFailed = 333;
inline constexpr int kNoTargetFile = 334;
inline constexpr int kFolderMissing = 335;
inline constexpr int kOverwrite = 336;
inline constexpr int kMenuEdit = 40078;
inline constexpr int kWriteFailed = 40079;
inline constexpr int kNothingToSave = 40080;
inline constexpr int kBadSaveLocation = 40081;
inline constexpr int kInvalidNumber = 40082;
inline constexpr int kSaveEdited = 40083;
inline constexpr int kUnknownError = 40084;
inline constexpr int kBadFileName = 40085;
inline constexpr int kReallyDelete = 40086;
inline constexpr int kReadFailed = 40087;
inline constexpr int kFileMissing = 40088;
inline constexpr int kTrashUnavailable = 40091;
inline constexpr int kMailNotSent = 40092;
inline constexpr int kNoRecipient = 40095;
} // namespace str

// The text of a string-table entry, cut to 1023 code units; empty for an unknown id.
std::u16string loadResourceString(int stringId);

} // namespace velmora::ui
