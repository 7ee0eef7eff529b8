// The string resources by id: the form's words under the ids the dialogs ask for.
#include "dialog/Strings.h"

#include "dialog/resource.h"
#include "form/Words.h"

namespace tavrel {

namespace words = form::words;

std::u16string_view LoadResourceString(int id) {
    switch (id) {
        case IDS_ABOUT_MENU:
            return words::kAboutMenu;
        case IDS_GUARD_OFF:
            return words::kGuardEntries[0];
        case IDS_GUARD_ON:
            return words::kGuardEntries[1];
        case IDS_SETTINGS_CAPTION:
            return words::kMessageCaption;
        case IDS_FILE_CREATED:
            return words::kFileCreated;
        case IDS_CHOOSE_FOLDER:
            return words::kChooseFolder;
        case IDS_WRITE_FAILED:  // followed by the path and the reason, one per line
            return words::kWriteFailed;
        default:
            return {};
    }
}

}  // namespace tavrel
