#pragma once

#include "PresetUpdater.h"
#include "family/editor/ToastManager.h"
#include "family/log/KolbrithLogger.h"
#include "family/presets/PresetManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace kolbrith
{
/**
    The product family's processor: the parameter tree and its creation functions,
    the settings file, the log, the lock that serialises processing with parameter
    changes and state calls, and the host answers every product gives alike.

    A product derives from it, creates its parameters in its constructor, calls
    takeInitialPatchSnapshot() at the end of it and does its audio work in
    processAudioBlock(). The host's program list is the preset library.
*/
class KolbrithProcessor : public juce::AudioProcessor, public juce::AudioProcessorValueTreeState::Listener
{
public:
    /** The updater migrates every stored tree before it is applied; it must outlive
        nothing but be alive whenever a state or preset is loaded. */
    KolbrithProcessor (const BusesProperties& buses, PresetUpdater* presetUpdater);
    ~KolbrithProcessor() override;

    //==============================================================================
    const juce::String getName() const override;

    using juce::AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    //==============================================================================
    /** Hooks around saving and loading a state or preset; empty by default. */
    virtual void aboutToSaveState (bool isPreset, bool isInitialPatch);
    virtual void aboutToLoadState (bool isPreset, bool isInitialPatch);
    virtual void stateSaved (bool isPreset, bool isInitialPatch);
    virtual void stateLoaded (bool isPreset, bool isInitialPatch);

    /** The product's audio processing; processBlock() hands every block here. */
    virtual void processAudioBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) = 0;

    /** Called synchronously, on the changing thread, with the value in its own units. */
    void parameterChanged (const juce::String& parameterID, float newValue) override;

    //==============================================================================
    juce::AudioProcessorValueTreeState parameters;

    /** Messages for the user; an open editor shows them. */
    ToastManager toastManager;

    PresetManager presetManager;

    /** Serialises block processing with parameter changes, preparation and state calls. */
    juce::CriticalSection processLock;

    juce::PropertiesFile settingsFile;

    const juce::StringArray& getParameterIDs() const noexcept { return parameterIDs; }

protected:
    /** A linear parameter shown with decimalPlaces decimals (rounded when 0) and a unit. */
    void addParameterFloat (const juce::String& parameterID, const juce::String& name, float minimum, float maximum,
                            float defaultValue, const juce::String& unit, int decimalPlaces, bool automatable = true);

    /** As addParameterFloat, with a range skewed by the given factor. */
    void addParameterSkew (const juce::String& parameterID, const juce::String& name, float minimum, float maximum,
                           float defaultValue, float skew, const juce::String& unit, int decimalPlaces,
                           bool automatable = true);

    /** A continuous parameter from 0 to the number of choices − 1, shown as the nearest choice. */
    void addParameterChoice (const juce::String& parameterID, const juce::String& name,
                             const juce::StringArray& choices, int defaultIndex, bool automatable = true);

    /** Stores the current parameter state as the library's initial patch and warns
        when no factory preset was found. Called once, after every parameter exists. */
    void takeInitialPatchSnapshot();

    PresetUpdater* presetUpdater;

    /** Millisecond counter at the start of the last setStateInformation(); 0 before. */
    std::atomic<juce::uint32> lastStateRestoreTime { 0 };

    KolbrithLogger logger;

private:
    void addParameter (const juce::String& parameterID, const juce::String& name, juce::NormalisableRange<float> range,
                       float defaultValue, std::function<juce::String (float, int)> valueToText);

    juce::StringArray parameterIDs;

    /** Loads a program the host chose on another thread, on the message thread. Hosts
        may ask from their audio callback, so asking only stores the index; a timer on
        the message thread picks it up (posting a message would lock and allocate). */
    class ProgramChange : private juce::Timer
    {
    public:
        explicit ProgramChange (PresetManager& manager)
            : presets (manager)
        {
            startTimer (40);
        }

        ~ProgramChange() override { stopTimer(); }

        void request (int index) noexcept { pendingIndex.store (index, std::memory_order_release); }

    private:
        void timerCallback() override;

        PresetManager& presets;
        std::atomic<int> pendingIndex { -1 };
    };

    ProgramChange programChange { presetManager };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KolbrithProcessor)
};
} // namespace kolbrith
