#include "plugin/DynamicEqAudioProcessor.h"
#include "tests/AllocationCounter.h"
#include "tests/MessagePump.h"
#include "tests/TestLibrary.h"

#include <gtest/gtest.h>

#include <thread>

using orvotest::TestLibrary;

namespace
{
/** Lets a test move the last restore into the past instead of sleeping. */
struct Processor : public DynamicEqAudioProcessor
{
    void pretendLastRestoreWas (juce::uint32 millisecondsAgo)
    {
        lastStateRestoreTime = juce::Time::getMillisecondCounter() - millisecondsAgo;
    }

    juce::uint32 getLastRestoreTime() const { return lastStateRestoreTime; }
};

juce::MemoryBlock saveState (juce::AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void restore (juce::AudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
}

juce::MemoryBlock blockFromXml (const juce::String& xmlText)
{
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (xmlText), block);
    return block;
}

/** A block with a valid header around any text. */
juce::MemoryBlock rawBlock (const juce::String& text)
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8());
    out.write (text.toRawUTF8(), text.getNumBytesAsUTF8());
    out.writeByte (0);
    return out.getMemoryBlock();
}

std::vector<float> parameterValues (juce::AudioProcessor& processor)
{
    std::vector<float> values;

    for (auto* p : processor.getParameters())
        values.push_back (p->getValue());

    return values;
}

void scrambleParameters (juce::AudioProcessor& processor)
{
    const auto& params = processor.getParameters();

    for (int i = 0; i < params.size(); ++i)
        params[i]->setValueNotifyingHost ((float) ((i * 37) % 101) / 100.0f);
}
} // namespace

TEST (PluginStateTest, BlockIsXmlInJucesBinaryWrapper)
{
    TestLibrary library;
    Processor processor;
    const auto block = saveState (processor);

    ASSERT_GT (block.getSize(), 9u);
    const auto* bytes = static_cast<const juce::uint8*> (block.getData());
    EXPECT_EQ (bytes[0], 0x56);
    EXPECT_EQ (bytes[1], 0x43);
    EXPECT_EQ (bytes[2], 0x32);
    EXPECT_EQ (bytes[3], 0x21);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), block.getSize() - 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 ((const char*) bytes + 8), block.getSize() - 9);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (text.containsChar ('\n'));

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasTagName ("orvo"));
    EXPECT_EQ (xml->getStringAttribute ("version"), "1.5.4");
    EXPECT_TRUE (xml->hasAttribute ("preset_path"));
    EXPECT_EQ (xml->getNumChildElements(), 20);

    EXPECT_EQ (saveState (processor), block) << "two saves in a row are identical";
}

TEST (PluginStateTest, RoundTripRestoresEveryParameterExactly)
{
    TestLibrary library;
    Processor source;
    scrambleParameters (source);
    const auto block = saveState (source);

    Processor restored;
    restore (restored, block);

    EXPECT_EQ (parameterValues (restored), parameterValues (source));
    EXPECT_EQ (saveState (restored), block) << "restoring and saving again gives the same bytes";
}

TEST (PluginStateTest, RootNameIsComparedWithoutCase)
{
    TestLibrary library;
    Processor processor;

    restore (processor, blockFromXml ("<ORVO version=\"1.5.4\"><PARAM id=\"gain\" value=\"4.5\"/></ORVO>"));
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("gain")->load(), 4.5f);
}

TEST (PluginStateTest, BadBlocksChangeNothing)
{
    TestLibrary library;
    Processor processor;
    scrambleParameters (processor);
    const auto good = saveState (processor);
    const auto before = parameterValues (processor);
    const auto stateBefore = processor.parameters.copyState().createXml()->toString();

    const auto withLength = [&good] (juce::uint32 length)
    {
        auto block = good;
        const auto littleEndian = juce::ByteOrder::swapIfBigEndian (length);
        block.copyFrom (&littleEndian, 4, 4);
        return block;
    };

    const auto zeroLength = withLength (0);
    const auto negativeLength = withLength (0x80000000u);
    auto badMagic = good;
    badMagic[0] = 'X';

    const std::vector<std::pair<const char*, juce::MemoryBlock>> blocks {
        { "empty", juce::MemoryBlock() },
        { "eight bytes", juce::MemoryBlock (good.getData(), 8) },
        { "bad magic", badMagic },
        { "zero length", zeroLength },
        { "negative length", negativeLength },
        { "not XML", rawBlock ("hello, world") },
        { "another plug-in's root", blockFromXml ("<other><PARAM id=\"gain\" value=\"1\"/></other>") },
        { "truncated", juce::MemoryBlock (good.getData(), good.getSize() / 2) },
    };

    for (const auto& [what, block] : blocks)
    {
        processor.pretendLastRestoreWas (5000);
        restore (processor, block);

        EXPECT_EQ (parameterValues (processor), before) << what;
        EXPECT_EQ (processor.parameters.copyState().createXml()->toString(), stateBefore) << what;
        EXPECT_LT (juce::Time::getMillisecondCounter() - processor.getLastRestoreTime(), 1000u)
            << what << ": even a rejected block counts as a restore";
    }

    processor.setStateInformation (nullptr, 0);
    EXPECT_EQ (parameterValues (processor), before);
}

TEST (PluginStateTest, PresetPathSelectsTheCurrentPresetAndIsRemovedAfterRestore)
{
    TestLibrary library;
    library.addPreset (true, "A.vpre");
    const auto b = library.addPreset (true, "B.vpre");

    Processor processor;
    processor.presetManager.loadPreset (2);
    const auto block = saveState (processor);
    EXPECT_EQ (processor.parameters.state["preset_path"].toString(), b.getFullPathName());

    Processor restored;
    ASSERT_EQ (restored.presetManager.getCurrentPreset().index, 0);
    restore (restored, block);

    EXPECT_EQ (restored.presetManager.getCurrentPreset().name, "B");
    EXPECT_EQ (restored.getCurrentProgram(), 2);
    EXPECT_FALSE (restored.parameters.state.hasProperty ("preset_path"));
    const auto resaved = saveState (restored);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (resaved.getData(), (int) resaved.getSize());
    EXPECT_EQ (xml->getStringAttribute ("preset_path"), b.getFullPathName()) << "the next save writes it again";

    // A preset deleted since the project was saved: the initial patch becomes current.
    b.deleteFile();
    Processor afterDeletion;
    afterDeletion.presetManager.loadPreset (1);
    restore (afterDeletion, block);
    EXPECT_EQ (afterDeletion.presetManager.getCurrentPreset().index, 0);
}

TEST (PluginStateTest, StatesOlderThanTheMigrationAreMigrated)
{
    TestLibrary library;
    Processor processor;

    restore (processor, blockFromXml ("<orvo version=\"0.8.2\"><PARAM id=\"modminimum\" value=\"0.5\"/>"
                                      "<PARAM id=\"enable\" value=\"0\"/></orvo>"));

    EXPECT_NEAR (processor.parameters.getRawParameterValue ("modminimum")->load(), 50.0f, 1e-4f);
    EXPECT_EQ (processor.parameters.getRawParameterValue ("enable")->load(), 1.0f);
}

TEST (PluginStateTest, ProgramsAreTheLibraryAndIgnoreChangesRightAfterARestore)
{
    TestLibrary library;
    library.addPreset (true, "Cut.vpre", "<orvo version=\"1.5.4\"><PARAM id=\"gain\" value=\"-6\"/></orvo>");

    Processor processor;
    EXPECT_EQ (processor.getNumPrograms(), 2);
    EXPECT_EQ (processor.getProgramName (0), "Initial Patch");
    EXPECT_EQ (processor.getProgramName (1), "Cut");
    EXPECT_EQ (processor.getCurrentProgram(), 0);

    restore (processor, saveState (processor));
    processor.pretendLastRestoreWas (200);
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 0) << "200 ms after a restore: ignored";

    processor.pretendLastRestoreWas (1000);
    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("gain")->load(), -6.0f);

    processor.changeProgramName (1, "Renamed");
    EXPECT_EQ (processor.getProgramName (1), "Cut");
}

TEST (PluginStateTest, ProgramCallsFromAnotherThreadReachTheMessageThread)
{
    TestLibrary library;
    library.addPreset (true, "Cut.vpre", "<orvo version=\"1.5.4\"><PARAM id=\"gain\" value=\"-6\"/></orvo>");

    struct Observer : kolbrith::PresetManager::Listener
    {
        void presetLoaded (const kolbrith::Preset&) override
        {
            onMessageThread = juce::MessageManager::existsAndIsCurrentThread();
        }

        bool onMessageThread = false;
    };

    Processor processor;
    Observer observer;
    processor.presetManager.addListener (&observer);
    processor.pretendLastRestoreWas (5000);

    std::thread host (
        [&]
        {
            processor.setCurrentProgram (1);
            processor.getProgramName (9);
        });
    host.join();

    EXPECT_EQ (processor.getCurrentProgram(), 0) << "nothing happens on the host's thread";
    EXPECT_EQ (processor.toastManager.getNumToasts(), 0);

    orvotest::pumpMessages (200);

    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_TRUE (observer.onMessageThread);
    ASSERT_EQ (processor.toastManager.getNumToasts(), 1);
    EXPECT_EQ (processor.toastManager.getToast (0)->getMessage(), "ERROR: Invalid preset index: 9");

    processor.presetManager.removeListener (&observer);
}

TEST (PluginStateTest, RestoreOnAnotherThreadDoesNotWaitForTheMessageThread)
{
    TestLibrary library;
    Processor source;
    scrambleParameters (source);
    const auto block = saveState (source);

    Processor processor;
    std::thread host ([&] { restore (processor, block); });
    host.join(); // would hang if the restore needed the (idle) message thread

    EXPECT_EQ (parameterValues (processor), parameterValues (source));
}
