#include "tests/recorder/ButtonHost.h"

namespace {
DialogTemplate MakeTemplate() {
    DialogTemplate t("buttons", WS_POPUP | WS_CAPTION, 0, 0, 280, 40);
    const char* captions[] = {"&Rec", "&Play", "Re&w", "Forw&ard", "&Stop"};
    for (WORD i = 0; i < 5; ++i)
        t.AddControl("Button", captions[i], static_cast<WORD>(150 + i), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                     static_cast<short>(4 + 54 * i), 4, 50, 18);
    return t;
}
}  // namespace

ButtonHost::ButtonHost() : template_(MakeTemplate()), dialog_(std::make_unique<TDialog>(nullptr, template_)) {}

ButtonHost::~ButtonHost() { dialog_.reset(); }

int ButtonHost::TakePosted(UINT message) const {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, Handle(), message, message, PM_REMOVE)) ++count;
    return count;
}
