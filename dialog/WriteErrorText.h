#pragma once
// The words the settings dialog gives a failed write of device_config.dat: the record
// reports what failed and the system's error number, and this says it to the user.

#include <string>

#include "record/SettingsFile.h"

namespace tavrel {

// The reason of a failed write as a short Traditional Chinese sentence: one of its own
// for each reason WriteError names, and for any other failure of the system ("系統錯誤")
// its error number and the system's description of it. Empty for a write that succeeded.
std::u16string DescribeWriteError(const WriteResult& result);

}  // namespace tavrel
