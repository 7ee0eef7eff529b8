#pragma once
// Why a write of device_config.dat failed, in the form's two languages: the record reports
// what failed and the system's error number, and this says it to the user.

#include "form/Result.h"
#include "record/SettingsFile.h"

namespace tavrel::form {

// The reason of a failed write, one sentence of its own for each reason WriteError names.
// In Chinese, any other failure of the system is "系統錯誤" with its error number and the
// system's description of it; in English, every reason is followed by the system's
// description in parentheses when there is an error number. Empty for a write that
// succeeded.
Message WriteFailureReason(const WriteResult& result);

}  // namespace tavrel::form
