#include "MessagePump.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own dispatch step; the library is built without modal loops, so the public
// runDispatchLoopUntil() is not there.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace orvotest
{
void pumpMessages (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;

    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
}
} // namespace orvotest
