#pragma once

#include "AnalyserFeed.h"
#include "OrvoParameters.h"
#include "OrvoPresetUpdater.h"
#include "family/processor/KolbrithProcessor.h"
#include "plugin/dsp/EnvelopeFollower.h"
#include "plugin/dsp/FilterBand.h"

#include <array>
#include <atomic>

/**
    Orvo's processor: one equaliser band whose frequency, Q or gain follows an
    envelope of the input or the sidechain, sample by sample.
*/
class DynamicEqAudioProcessor : public kolbrith::KolbrithProcessor
{
public:
    DynamicEqAudioProcessor();
    ~DynamicEqAudioProcessor() override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;

    void parameterChanged (const juce::String& parameterID, float value) override;
    void processAudioBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    //==============================================================================
    // Read by the editor without the lock: the bands through getMagnitude(),
    // isStereo, the choice lists and the analyser feed.

    /** The band on the first channel, or on the mid or side signal; modulated. */
    FilterBand liveBand;
    /** The band on the second channel; modulated. */
    FilterBand rightBand;
    /** The band at its parameter settings, never on audio: the modulator's reference. */
    FilterBand displayBand;
    /** The modulator EQ on the detector signal. */
    FilterBand modEqBand;
    /** The modulator EQ on the two channels of the preview. */
    FilterBand previewBandLeft, previewBandRight;

    float makeupGainDb = 0.0f;
    bool modEqOn = false;
    bool sidechainOn = false;
    int destination = 0;
    int midSideMode = 2;

    juce::StringArray typeNames, destinationNames, midSideNames;

    EnvelopeFollower envelope;

    /** The main bus of the last processed block had two channels. */
    std::atomic<bool> isStereo { true };

    AnalyserFeed analyserFeed;

    double currentSampleRate = 44100.0;

    /** Held by every editor for its lifetime: the analyser is fed only while one is
        open. A counter of our own, because reading the base class's editor pointer on
        the audio thread would race with the editor's destruction. */
    class EditorPresence
    {
    public:
        explicit EditorPresence (DynamicEqAudioProcessor& p) noexcept
            : processor (p)
        {
            ++processor.openEditors;
        }
        ~EditorPresence() { --processor.openEditors; }

    private:
        DynamicEqAudioProcessor& processor;
        JUCE_DECLARE_NON_COPYABLE (EditorPresence)
    };

private:
    enum MidSideMode
    {
        modeMid,
        modeSide,
        modeAll,
        modeLeft,
        modeRight
    };

    static BusesProperties createBuses();
    void createParameters();

    /** The filter type a `type` or `modtype` value selects. */
    FilterType typeForChoice (float value) const noexcept;

    /** What a block reads once from the parameters and settings. */
    struct BlockSettings
    {
        float minimum;
        bool inverse;
        float outputGain;
        bool preview;
        float makeupGain;
    };

    /** One modulator step: follows the detector and moves the live bands' setting. */
    void modulateSample (const float* mainLeft, const float* mainRight, const float* sidechain, int sampleIndex,
                         int numMainChannels, const BlockSettings& settings) noexcept;

    /** Plays the modulator signal instead of the processed one. */
    void previewSample (float* left, float* right, const float* sidechain, int sampleIndex, float makeupGain) noexcept;

    /** Runs one sample through the band in the channel mode; right is null on a mono bus. */
    void routeSample (float* left, float* right, int sampleIndex, float outputGain) noexcept;

    /** A frequency, Q or gain change from its parameter. */
    void applyBandSetting (BandSetting setting, float value) noexcept;

    /** Returns the live bands to the display band's settings. */
    void resyncBands() noexcept;

    float parameterValue (OrvoParameter parameter) const noexcept;

    std::array<FilterType, 7> choiceTypes {};
    std::array<std::atomic<float>*, (size_t) OrvoParameter::count> parameterValues {};

    std::atomic<int> openEditors { 0 };

    /** The live band was modulated in this block and the right band has not caught up. */
    bool rightBandBehind = false;

    /** Its address goes to the base before it is constructed; the base calls it only
        when a stored tree is applied, long after. */
    OrvoPresetUpdater orvoPresetUpdater;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DynamicEqAudioProcessor)
};
