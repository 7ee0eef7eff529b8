// Reading device_config.dat, the same on every platform: only a regular file, never more
// than the record's size. Writing is per platform (SettingsFilePosix.cpp,
// SettingsFileWin32.cpp).
#include "record/SettingsFile.h"
#include "record/RegularFile.h"

namespace tavrel {

std::optional<DeviceSettingsRecord> ReadSettingsFile(const NativePath& path) {
    const RegularFileRead file = ReadRegularFile(path, kRecordSize);
    if (file.status.kind != FileKind::Regular) {
        return std::nullopt;
    }
    return DeviceSettingsRecord::FromImage(file.bytes);
}

}  // namespace tavrel
