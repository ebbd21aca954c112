// Modal steps. Every message box, file dialog, modal dialog and property
// sheet run through Ui() is one: its own message loop delivers whatever
// arrives meanwhile (timers, posted requests, a second copy's messages), to
// every window of the thread. A window whose work must not change under an
// open step listens here: it keeps what arrives while a step is open and
// acts on it when the outermost step has ended.
#pragma once

#include <functional>

// True while a modal step runs (nested ones count once).
bool IsModalStepOpen();

class ModalStepListener {
public:
    virtual ~ModalStepListener() = default;
    // The outermost modal step has just ended.
    virtual void ModalStepsEnded() = 0;
};

// A listener is told until it is removed (not owned).
void AddModalStepListener(ModalStepListener* listener);
void RemoveModalStepListener(ModalStepListener* listener);

// Calls back whenever the outermost modal step has ended, for its own life.
class ModalStepWatch : public ModalStepListener {
public:
    explicit ModalStepWatch(std::function<void()> ended);
    ~ModalStepWatch() override;
    ModalStepWatch(const ModalStepWatch&) = delete;
    ModalStepWatch& operator=(const ModalStepWatch&) = delete;
    void ModalStepsEnded() override { ended_(); }

private:
    std::function<void()> ended_;
};

// A modal step for the life of the scope. Ui() opens one around each of
// its modal calls; a loop of one's own that pumps like a dialog may too.
class ModalStepScope {
public:
    ModalStepScope();
    ~ModalStepScope();
    ModalStepScope(const ModalStepScope&) = delete;
    ModalStepScope& operator=(const ModalStepScope&) = delete;
};

// For what cannot wait (the end of the Windows session): ends every modal
// dialog, message box, file dialog and sheet of this thread as Cancel
// would. Their loops return once the caller has returned to them.
void CancelModalSteps();
