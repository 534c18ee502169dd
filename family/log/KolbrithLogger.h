#pragma once

#include <juce_core/juce_core.h>

namespace kolbrith
{
/**
    Appends time-stamped UTF-8 lines to the product's log file. Every entry opens,
    writes and closes the file, so several instances can share it.
*/
class KolbrithLogger : public juce::Logger
{
public:
    /** Creates the file and its folders if they are missing; a failure is silent. */
    explicit KolbrithLogger (const juce::File& file);
    ~KolbrithLogger() override;

    void logMessage (const juce::String& message) override;

    const juce::File& getLogFile() const noexcept { return logFile; }

    /** The time stamp that starts each line: "%d/%m/%Y %H:%M:%S ". */
    static juce::String formatTimeStamp (juce::Time time);

private:
    const juce::File logFile;
    juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KolbrithLogger)
};
} // namespace kolbrith
