#include "family/log/KolbrithLogger.h"

#include <gtest/gtest.h>

namespace
{
struct TempFolder
{
    TempFolder() { folder.createDirectory(); }
    ~TempFolder() { folder.deleteRecursively(); }

    juce::File folder = juce::File::createTempFile ("orvo-log-test");
};
} // namespace

TEST (KolbrithLoggerTest, CreatesTheFileAndItsFoldersEmpty)
{
    TempFolder temp;
    const auto file = temp.folder.getChildFile ("Kolbrith/Orvo/log.log");

    kolbrith::KolbrithLogger logger (file);

    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (file.getSize(), 0);
}

TEST (KolbrithLoggerTest, AppendsTimeStampedUtf8LinesEndingInCrLf)
{
    TempFolder temp;
    const auto file = temp.folder.getChildFile ("log.log");
    file.replaceWithText ("earlier content\r\n");

    kolbrith::KolbrithLogger logger (file);
    const auto before = juce::Time::getCurrentTime();
    logger.logMessage ("ERROR: first");
    logger.logMessage (juce::String::fromUTF8 ("Gr\xc3\xbc\xc3\x9f"
                                               "e \xe2\x80\x94 line\n"));

    juce::MemoryBlock bytes;
    ASSERT_TRUE (file.loadFileAsData (bytes));
    const auto text = juce::String::fromUTF8 ((const char*) bytes.getData(), (int) bytes.getSize());

    const auto lines = juce::StringArray::fromTokens (text, "\r\n", "");
    ASSERT_TRUE (text.startsWith ("earlier content\r\n"));
    ASSERT_TRUE (text.endsWith ("line\n\r\n")) << "a message's own line break still gets CR LF";

    const auto firstEntry = text.fromFirstOccurrenceOf ("earlier content\r\n", false, false);
    EXPECT_TRUE (firstEntry.startsWith (kolbrith::KolbrithLogger::formatTimeStamp (before))
                 || firstEntry.startsWith (kolbrith::KolbrithLogger::formatTimeStamp (juce::Time::getCurrentTime())));
    EXPECT_TRUE (firstEntry.fromFirstOccurrenceOf ("\r\n", false, false)
                     .contains (juce::String::fromUTF8 ("Gr\xc3\xbc\xc3\x9f"
                                                        "e \xe2\x80\x94 line")));
    EXPECT_TRUE (firstEntry.upToFirstOccurrenceOf ("\r\n", false, false).endsWith (" ERROR: first"));

    // The raw bytes are UTF-8, not UTF-16 or a lossy conversion.
    EXPECT_NE (std::string ((const char*) bytes.getData(), bytes.getSize()).find ("\xe2\x80\x94"), std::string::npos);
}

TEST (KolbrithLoggerTest, TimeStampIsDayMonthYearAndClock)
{
    const auto t = juce::Time (2026, 2, 5, 7, 8, 9, 0, true); // 5 March 2026, months count from 0
    EXPECT_EQ (kolbrith::KolbrithLogger::formatTimeStamp (t), "05/03/2026 07:08:09 ");
}

TEST (KolbrithLoggerTest, WriteToAFolderThatVanishedIsSilentlyLost)
{
    TempFolder temp;
    const auto folder = temp.folder.getChildFile ("gone");
    const auto file = folder.getChildFile ("log.log");

    kolbrith::KolbrithLogger logger (file);
    folder.deleteRecursively();

    logger.logMessage ("nobody reads this");
    EXPECT_FALSE (file.exists());
}
