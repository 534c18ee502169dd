#include "ProcessorTestHelpers.h"
#include "tests/TestLibrary.h"

// Every preset Orvo ships must load, set all twenty parameters inside their ranges and
// make a sound.

namespace
{
struct FactoryLibrary
{
    FactoryLibrary() { ::setenv ("ORVO_FACTORY_PRESET_DIR", ORVO_FACTORY_PRESETS_SOURCE, 1); }

    ~FactoryLibrary() { ::setenv ("ORVO_FACTORY_PRESET_DIR", library.factory.getFullPathName().toRawUTF8(), 1); }

    orvotest::TestLibrary library;
};
} // namespace

TEST (FactoryPresetsTest, EveryPresetIsCompleteAndCurrent)
{
    FactoryLibrary factory;
    DynamicEqAudioProcessor processor;
    auto& manager = processor.presetManager;

    ASSERT_TRUE (manager.hasFactoryPresets());
    ASSERT_GE (manager.getNumPresets(), 13) << "the initial patch and at least twelve presets";
    EXPECT_EQ (processor.toastManager.getNumToasts(), 0);

    for (int i = 1; i < manager.getNumPresets(); ++i)
    {
        const auto preset = manager.getPresetByIndex (i);
        SCOPED_TRACE (preset.name.toStdString());

        EXPECT_TRUE (preset.factory);
        EXPECT_EQ (preset.author, "Kolbrith");
        EXPECT_TRUE (preset.description.endsWith ("."));
        EXPECT_GT (preset.description.length(), 40);
        EXPECT_FALSE (preset.categories.isEmpty());
        EXPECT_NE (juce::File (preset.path).getParentDirectory(), juce::File (ORVO_FACTORY_PRESETS_SOURCE))
            << "every preset sits in a folder by use";

        const auto xml = juce::parseXML (juce::File (preset.path));
        ASSERT_NE (xml, nullptr);
        EXPECT_TRUE (xml->hasTagName ("orvo"));
        EXPECT_EQ (xml->getStringAttribute ("version"), "1.5.4");
        EXPECT_FALSE (xml->hasAttribute ("preset_path"));
        EXPECT_EQ (xml->getNumChildElements(), 20);

        manager.loadPreset (i);
        ASSERT_EQ (manager.getCurrentPreset().name, preset.name);

        for (auto* child : xml->getChildIterator())
        {
            const auto id = child->getStringAttribute ("id");
            auto* parameter = processor.parameters.getParameter (id);
            ASSERT_NE (parameter, nullptr) << id;

            const auto stored = (float) child->getDoubleAttribute ("value");
            const auto& range = parameter->getNormalisableRange();
            EXPECT_TRUE (stored >= range.start && stored <= range.end) << id << " = " << stored;
            EXPECT_NEAR (processor.parameters.getRawParameterValue (id)->load(), stored,
                         1e-3f * (1.0f + std::abs (stored)))
                << id;
        }
    }
}

TEST (FactoryPresetsTest, EveryPresetProcessesAudio)
{
    FactoryLibrary factory;
    DynamicEqAudioProcessor probe;
    const auto numPresets = probe.presetManager.getNumPresets();

    for (int i = 1; i < numPresets; ++i)
    {
        auto processor = orvotest::makeProcessor();
        processor->presetManager.loadPreset (i);
        SCOPED_TRACE (processor->presetManager.getCurrentPreset().name.toStdString());

        auto buffer = orvotest::makeBuffer (*processor, 512);
        juce::Random random (i);
        float peak = 0.0f;

        for (int block = 0; block < 94; ++block)
        {
            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
                for (int s = 0; s < 512; ++s)
                    buffer.setSample (ch, s, 0.5f * (random.nextFloat() * 2.0f - 1.0f));

            orvotest::process (*processor, buffer);

            for (int ch = 0; ch < 2; ++ch)
                for (int s = 0; s < 512; ++s)
                    ASSERT_TRUE (std::isfinite (buffer.getSample (ch, s)));

            peak = juce::jmax (peak, buffer.getMagnitude (0, 0, 512), buffer.getMagnitude (1, 0, 512));
        }

        EXPECT_GT (peak, 0.05f);
        EXPECT_LT (peak, 4.0f);
    }
}
