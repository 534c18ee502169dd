#pragma once

#include "Toast.h"

namespace kolbrith
{
/**
    Collects the messages the user must see. It belongs to the processor, so toasts
    raised while no editor is open wait; an editor adopts the manager as a child
    covering its whole area, and the toasts stack down from the top until dismissed.

    Every toast is written to the log when it is added. Toasts requested on another
    thread are handed to the message thread first.
*/
class ToastManager : public juce::Component, public juce::ChangeListener, private juce::AsyncUpdater
{
public:
    ToastManager();
    ~ToastManager() override;

    /** Logs the message and shows it as a toast; safe to call from any thread. */
    void addToast (const juce::String& message, int level, bool dismissable);

    /** Removes and deletes one toast. */
    void removeToast (int index);

    int getNumToasts() const noexcept { return toasts.size(); }
    Toast* getToast (int index) const noexcept { return toasts[index]; }

    void paint (juce::Graphics& g) override;
    void resized() override;
    void parentHierarchyChanged() override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

private:
    struct Request
    {
        juce::String message;
        int level;
        bool dismissable;
    };

    void handleAsyncUpdate() override;
    void addToastNow (const Request& request);
    void layOut();

    juce::OwnedArray<Toast> toasts;

    juce::CriticalSection pendingLock;
    std::vector<Request> pending;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToastManager)
};
} // namespace kolbrith
