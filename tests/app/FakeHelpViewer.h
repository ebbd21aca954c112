// Records every call into the HTML Help viewer; installed for one scope.
#pragma once

#include <htmlhelp.h>

#include <string>
#include <vector>

#include "core/HtmlHelp.h"

class FakeHelpViewer : public HelpViewer {
public:
    struct Call {
        HWND caller;
        std::string file;
        UINT command;
        DWORD_PTR data;        // the context id, or 0
        std::string topic;     // kHelpDisplayTopic's text
        DWORD popupId = 0;     // kHelpDisplayTextPopup's string id
    };
    std::vector<Call> calls;

    FakeHelpViewer() : previous_(SetHelp(this)) {}
    ~FakeHelpViewer() override { SetHelp(previous_); }
    FakeHelpViewer(const FakeHelpViewer&) = delete;
    FakeHelpViewer& operator=(const FakeHelpViewer&) = delete;

    HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override {
        struct Call call{caller, file, command, data, {}, 0};
        if (command == kHelpDisplayTopic && data) call.topic = reinterpret_cast<const char*>(data);
        if (command == kHelpDisplayTextPopup && data) call.popupId = reinterpret_cast<const HH_POPUP*>(data)->idString;
        if (command != kHelpContext) call.data = 0;
        calls.push_back(call);
        return nullptr;
    }

private:
    HelpViewer* previous_;
};
