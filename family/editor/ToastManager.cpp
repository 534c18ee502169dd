#include "ToastManager.h"

namespace kolbrith
{
ToastManager::ToastManager()
{
    setWantsKeyboardFocus (false);
    setVisible (false);
}

ToastManager::~ToastManager()
{
    cancelPendingUpdate();

    for (auto* toast : toasts)
        toast->removeChangeListener (this);
}

void ToastManager::addToast (const juce::String& message, int level, bool dismissable)
{
    const Request request { message, level, dismissable };

    // Without any message loop (a command-line tool) there is no other thread to wait for.
    const auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();

    if (messageManager == nullptr || messageManager->isThisTheMessageThread())
    {
        addToastNow (request);
        return;
    }

    const juce::ScopedLock sl (pendingLock);
    pending.push_back (request);
    triggerAsyncUpdate();
}

void ToastManager::handleAsyncUpdate()
{
    std::vector<Request> requests;

    {
        const juce::ScopedLock sl (pendingLock);
        requests.swap (pending);
    }

    for (const auto& request : requests)
        addToastNow (request);
}

void ToastManager::addToastNow (const Request& request)
{
    const auto text = Toast::textForLevel (request.message, request.level);
    juce::Logger::writeToLog (text);

    auto* toast = toasts.add (new Toast (text, request.level, request.dismissable));
    toast->addChangeListener (this);
    addChildComponent (toast);

    layOut();
}

void ToastManager::removeToast (int index)
{
    if (auto* toast = toasts[index])
    {
        toast->removeChangeListener (this);
        removeChildComponent (toast);
        toasts.remove (index);
        layOut();
    }
}

void ToastManager::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    for (int i = 0; i < toasts.size(); ++i)
        if (toasts[i] == source)
            return removeToast (i);
}

void ToastManager::paint (juce::Graphics& g)
{
    toFront (false);
    g.fillAll (juce::Colour (0xcc000000));
}

void ToastManager::resized()
{
    layOut();
}

void ToastManager::parentHierarchyChanged()
{
    layOut();
}

void ToastManager::layOut()
{
    if (getParentComponent() == nullptr)
        return;

    for (int i = 0; i < toasts.size(); ++i)
    {
        auto* toast = toasts[i];
        toast->setBounds (10, 20 + 60 * i, getWidth() - 20, 50);
        toast->setVisible (true);
    }

    setVisible (! toasts.isEmpty());
    toFront (false);
}
} // namespace kolbrith
