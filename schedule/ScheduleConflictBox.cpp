// Kept apart from the conflict text so that code using only the text does not
// need the user-interaction service linked in.
#include "framework/UserInteraction.h"
#include "schedule/ScheduleConflicts.h"

void CheckScheduleConflicts(HWND owner) {
    const std::string text = ScheduleConflictText(PageEvents);
    if (text.empty()) return;
    Ui().MessageBox(owner, text, "Schedule conflict", MB_OK);
}
