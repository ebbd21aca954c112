#include "framework/ModalSteps.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

int depth = 0;
std::vector<ModalStepListener*> listeners;

// A modal window disables its owner: dialogs (message boxes, file dialogs
// and sheets are dialogs too) that are themselves enabled over a disabled
// owner. Each is ended by its own Cancel, as Esc would: a sheet resets its
// pages, a file dialog reports that nothing was chosen (ended with IDCANCEL
// from outside, its caller would see success and an empty name).
BOOL CALLBACK CancelIfModal(HWND window, LPARAM) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    HWND owner = GetWindow(window, GW_OWNER);
    if (lstrcmpA(className, "#32770") != 0 || !owner || IsWindowEnabled(owner) || !IsWindowEnabled(window))
        return TRUE;
    if (SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0) != 0)
        SendMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    else
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
    return TRUE;
}

}  // namespace

bool IsModalStepOpen() { return depth > 0; }

void AddModalStepListener(ModalStepListener* listener) {
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void RemoveModalStepListener(ModalStepListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

ModalStepWatch::ModalStepWatch(std::function<void()> ended) : ended_(std::move(ended)) {
    AddModalStepListener(this);
}

ModalStepWatch::~ModalStepWatch() { RemoveModalStepListener(this); }

ModalStepScope::ModalStepScope() { ++depth; }

ModalStepScope::~ModalStepScope() {
    if (--depth > 0)
        return;
    // A listener may open a step or remove itself while being told.
    const std::vector<ModalStepListener*> told = listeners;
    for (ModalStepListener* listener : told)
        if (std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
            listener->ModalStepsEnded();
}

void CancelModalSteps() {
    if (depth > 0)
        EnumThreadWindows(GetCurrentThreadId(), &CancelIfModal, 0);
}
