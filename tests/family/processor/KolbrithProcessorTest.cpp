#include "family/processor/KolbrithProcessor.h"
#include "family/processor/KolbrithPaths.h"
#include "plugin/DynamicEqAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
struct NoMigration : public kolbrith::PresetUpdater
{
    juce::ValueTree update (juce::ValueTree& tree) override { return tree; }
};

/** The family base with nothing of Orvo on top. */
class BareProcessor : public kolbrith::KolbrithProcessor
{
public:
    BareProcessor()
        : kolbrith::KolbrithProcessor (BusesProperties()
                                           .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                           .withOutput ("Output", juce::AudioChannelSet::stereo(), true),
                                       &noMigration)
    {
        addParameterFloat ("level", "Level", -18.0f, 18.0f, 0.0f, " dB", 1);
        addParameterSkew ("freq", "Freq", 20.0f, 20000.0f, 5000.0f, 0.25f, " Hz", 0);
        addParameterSkew ("width", "Width", 0.1f, 15.0f, 0.707f, 0.45f, "", 3);
        addParameterChoice ("switch", "Switch", { "Off", "On" }, 1);
        addParameterFloat ("level", "Duplicate", 0.0f, 1.0f, 0.5f, "", 0);
        parameters.state = juce::ValueTree ("bare");
    }

    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    void processAudioBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override { ++blocks; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }

    void parameterChanged (const juce::String& id, float value) override
    {
        changes.add (id + "=" + juce::String (value));
    }

    juce::String text (const juce::String& id, float value)
    {
        auto* p = parameters.getParameter (id);
        return p->getText (p->convertTo0to1 (value), 100);
    }

    int blocks = 0;
    juce::StringArray changes;
    NoMigration noMigration;
};

juce::AudioProcessor::BusesLayout layoutOf (const juce::AudioChannelSet& in, const juce::AudioChannelSet& out,
                                            const juce::AudioChannelSet& sidechain)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (in);
    layout.inputBuses.add (sidechain);
    layout.outputBuses.add (out);
    return layout;
}
} // namespace

TEST (KolbrithProcessorTest, FixedHostAnswers)
{
    DynamicEqAudioProcessor processor;

    EXPECT_EQ (processor.getName(), "Orvo");
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());

    ASSERT_EQ (processor.getBusCount (true), 2);
    ASSERT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (true, 1)->getName(), "Sidechain");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getBus (true, 0)->getDefaultLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (processor.getBus (false, 0)->getDefaultLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (processor.getBus (true, 1)->getDefaultLayout(), juce::AudioChannelSet::mono());
    EXPECT_TRUE (processor.getBus (true, 1)->isEnabled());
}

TEST (KolbrithProcessorTest, BusLayoutsAcceptedAndRefused)
{
    using Set = juce::AudioChannelSet;

    struct Case
    {
        const char* what;
        Set in, out, sidechain;
        bool family, orvo;
    };

    const Case cases[] = {
        { "stereo with sidechain", Set::stereo(), Set::stereo(), Set::mono(), true, true },
        { "stereo without sidechain", Set::stereo(), Set::stereo(), Set::disabled(), true, true },
        { "stereo with stereo sidechain", Set::stereo(), Set::stereo(), Set::stereo(), true, true },
        { "mono", Set::mono(), Set::mono(), Set::mono(), true, true },
        { "mono in, stereo out", Set::mono(), Set::stereo(), Set::mono(), false, false },
        { "stereo in, mono out", Set::stereo(), Set::mono(), Set::mono(), false, false },
        { "main input disabled", Set::disabled(), Set::disabled(), Set::mono(), false, false },
        { "5.1 surround", Set::create5point1(), Set::create5point1(), Set::mono(), true, false },
    };

    DynamicEqAudioProcessor orvo;
    BareProcessor bare;

    for (const auto& c : cases)
    {
        const auto layout = layoutOf (c.in, c.out, c.sidechain);
        EXPECT_EQ (orvo.isBusesLayoutSupported (layout), c.orvo) << c.what;
        EXPECT_EQ (bare.kolbrith::KolbrithProcessor::isBusesLayoutSupported (layout), c.family) << c.what;
    }
}

TEST (KolbrithProcessorTest, CreationFunctionsFollowTheDisplayConventions)
{
    BareProcessor processor;

    EXPECT_EQ (processor.text ("level", 0.0f), "0.0 dB");
    EXPECT_EQ (processor.text ("freq", 5000.0f), "5000 Hz");
    EXPECT_EQ (processor.text ("freq", 999.6f), "1000 Hz");
    EXPECT_EQ (processor.text ("width", 0.707f), "0.707");
    EXPECT_EQ (processor.text ("switch", 0.4f), "Off");
    EXPECT_EQ (processor.text ("switch", 0.6f), "On");

    // A duplicate ID keeps the first parameter but is still listed.
    EXPECT_EQ (processor.getParameters().size(), 4);
    EXPECT_EQ (processor.parameters.getParameter ("level")->getName (100), "Level");
    EXPECT_EQ (processor.getParameterIDs().joinIntoString (","), "level,freq,width,switch,level");
}

TEST (KolbrithProcessorTest, ParameterChangesReachTheProcessorInTheirOwnUnits)
{
    BareProcessor processor;
    auto* freq = processor.parameters.getParameter ("freq");

    freq->setValueNotifyingHost (freq->convertTo0to1 (1000.0f));

    ASSERT_EQ (processor.changes.size(), 1);
    EXPECT_TRUE (processor.changes[0].startsWith ("freq=")) << processor.changes[0];
    EXPECT_NEAR (processor.changes[0].fromFirstOccurrenceOf ("=", false, false).getFloatValue(), 1000.0f, 0.1f);
}

TEST (KolbrithProcessorTest, ProcessBlockHandsTheBlockToTheProduct)
{
    BareProcessor processor;
    juce::AudioBuffer<float> buffer (2, 16);
    juce::MidiBuffer midi;

    processor.processBlock (buffer, midi);
    EXPECT_EQ (processor.blocks, 1);
}

TEST (KolbrithProcessorTest, InstallsItsLoggerForItsLifetime)
{
    const auto logFile = kolbrith::KolbrithPaths::getLogFile();
    logFile.deleteFile();

    {
        DynamicEqAudioProcessor processor;
        EXPECT_NE (juce::Logger::getCurrentLogger(), nullptr);
        EXPECT_TRUE (logFile.existsAsFile()) << logFile.getFullPathName();

        juce::Logger::writeToLog ("written while the plug-in lives");
    }

    EXPECT_EQ (juce::Logger::getCurrentLogger(), nullptr);
    EXPECT_TRUE (logFile.loadFileAsString().contains ("written while the plug-in lives"));

    // With no instance left, log text goes elsewhere and the file stays as it was.
    const auto sizeBefore = logFile.getSize();
    juce::Logger::writeToLog ("nobody is listening");
    EXPECT_EQ (logFile.getSize(), sizeBefore);
}

TEST (KolbrithProcessorTest, PathsLiveUnderTheUserConfigurationFolder)
{
    const auto config = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    ASSERT_TRUE (config.isNotEmpty());

    EXPECT_EQ (kolbrith::KolbrithPaths::getLogFile().getFullPathName(), config + "/Kolbrith/Orvo/log.log");
    EXPECT_EQ (kolbrith::KolbrithPaths::getSettingsFile().getFullPathName(),
               config + "/Kolbrith/Orvo/settings.settings");
    EXPECT_EQ (kolbrith::KolbrithPaths::getUserPresetFolder().getFullPathName(),
               config + "/Audio/Presets/Kolbrith/Orvo");

    // The factory library is the shared folder unless the environment names another.
    const auto overridden = juce::SystemStats::getEnvironmentVariable ("ORVO_FACTORY_PRESET_DIR", {});
    EXPECT_EQ (kolbrith::KolbrithPaths::getFactoryPresetFolder().getFullPathName(), overridden);

    ::unsetenv ("ORVO_FACTORY_PRESET_DIR");
    EXPECT_EQ (kolbrith::KolbrithPaths::getFactoryPresetFolder().getFullPathName(),
               juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory).getFullPathName()
                   + "/Audio/Presets/Kolbrith/Orvo");
    ::setenv ("ORVO_FACTORY_PRESET_DIR", overridden.toRawUTF8(), 1);
}

TEST (KolbrithProcessorTest, StateRoundTripRestoresEveryParameter)
{
    DynamicEqAudioProcessor source;
    const auto& params = source.getParameters();

    for (int i = 0; i < params.size(); ++i)
        params[i]->setValueNotifyingHost ((float) ((i * 7) % 10) / 9.0f);

    juce::MemoryBlock block;
    source.getStateInformation (block);

    DynamicEqAudioProcessor restored;
    restored.setStateInformation (block.getData(), (int) block.getSize());

    for (int i = 0; i < params.size(); ++i)
        EXPECT_FLOAT_EQ (restored.getParameters()[i]->getValue(), params[i]->getValue()) << i;

    // Garbage changes nothing.
    const char garbage[] = "not a state block at all";
    restored.setStateInformation (garbage, (int) sizeof (garbage));
    restored.setStateInformation (nullptr, 0);

    for (int i = 0; i < params.size(); ++i)
        EXPECT_FLOAT_EQ (restored.getParameters()[i]->getValue(), params[i]->getValue()) << i;
}
