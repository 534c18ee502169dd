#include "KolbrithLogger.h"

namespace kolbrith
{
KolbrithLogger::KolbrithLogger (const juce::File& file)
    : logFile (file)
{
    if (! logFile.exists())
        (void) logFile.create();
}

KolbrithLogger::~KolbrithLogger() = default;

juce::String KolbrithLogger::formatTimeStamp (juce::Time time)
{
    return time.formatted ("%d/%m/%Y %H:%M:%S ");
}

void KolbrithLogger::logMessage (const juce::String& message)
{
    const juce::ScopedLock sl (lock);

    juce::FileOutputStream stream (logFile, 256);

    if (stream.failedToOpen())
        return;

    stream.writeText (formatTimeStamp (juce::Time::getCurrentTime()), false, false, nullptr);
    stream.writeText (message, false, false, nullptr);
    stream.writeText (stream.getNewLineString(), false, false, nullptr);
}
} // namespace kolbrith
