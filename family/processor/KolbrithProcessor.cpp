#include "KolbrithProcessor.h"

#include "KolbrithPaths.h"
#include "ParameterState.h"

namespace kolbrith
{
KolbrithProcessor::KolbrithProcessor (const BusesProperties& buses, PresetUpdater* updater)
    : juce::AudioProcessor (buses)
    , parameters (*this, nullptr)
    , presetManager (*this, parameters, toastManager, updater)
    , settingsFile (KolbrithPaths::getSettingsFile(), juce::PropertiesFile::Options())
    , presetUpdater (updater)
    , logger (KolbrithPaths::getLogFile())
{
    juce::Logger::setCurrentLogger (&logger);
}

KolbrithProcessor::~KolbrithProcessor()
{
    // First, so that nothing logs into a logger that is being destroyed.
    juce::Logger::setCurrentLogger (nullptr);

    for (const auto& id : parameterIDs)
        parameters.removeParameterListener (id, this);
}

//==============================================================================
const juce::String KolbrithProcessor::getName() const
{
    return KolbrithPaths::getProductName();
}

void KolbrithProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    processAudioBlock (buffer, midi);
}

double KolbrithProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool KolbrithProcessor::acceptsMidi() const
{
    return false;
}

bool KolbrithProcessor::producesMidi() const
{
    return false;
}

bool KolbrithProcessor::isMidiEffect() const
{
    return false;
}

int KolbrithProcessor::getNumPrograms()
{
    // Hosts expect at least one program; index 0 of an empty library is a nameless no-op.
    return juce::jmax (1, presetManager.getNumPresets());
}

int KolbrithProcessor::getCurrentProgram()
{
    return presetManager.getCurrentPreset().index;
}

void KolbrithProcessor::setCurrentProgram (int index)
{
    // Hosts re-send the program just after restoring a project; that must not
    // overwrite the restored parameters.
    if (juce::Time::getMillisecondCounter() - lastStateRestoreTime.load() < 1000)
        return;

    if (juce::MessageManager::existsAndIsCurrentThread())
        presetManager.loadPreset (index);
    else
        programChange.request (index);
}

const juce::String KolbrithProcessor::getProgramName (int index)
{
    return presetManager.getPresetByIndex (index).name;
}

void KolbrithProcessor::ProgramChange::timerCallback()
{
    const auto index = pendingIndex.exchange (-1, std::memory_order_acquire);

    if (index >= 0)
        presets.loadPreset (index);
}

void KolbrithProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
void KolbrithProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const juce::ScopedLock sl (processLock);

    aboutToSaveState (false, false);
    parameters.state.setProperty ("preset_path", presetManager.getCurrentPreset().path, nullptr);
    parameters.state.setProperty ("version", KolbrithPaths::getVersionString(), nullptr);

    if (const auto xml = parameters.copyState().createXml())
        copyXmlToBinary (*xml, destData);

    stateSaved (false, false);
}

void KolbrithProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const juce::ScopedLock sl (processLock);

    lastStateRestoreTime = juce::Time::getMillisecondCounter();

    const auto xml = data != nullptr ? getXmlFromBinary (data, sizeInBytes) : nullptr;

    if (xml == nullptr)
        return;

    xml->setTagName (xml->getTagName().toLowerCase());

    if (! xml->hasTagName (parameters.state.getType().toString()))
        return;

    aboutToLoadState (false, false);

    auto state = juce::ValueTree::fromXml (*xml);
    presetUpdater->update (state);
    replaceParameterState (parameters, state);

    presetManager.setCurrentPresetFromPath (parameters.state.getProperty ("preset_path").toString());
    parameters.state.removeProperty ("preset_path", nullptr);

    stateLoaded (false, false);
}

void KolbrithProcessor::takeInitialPatchSnapshot()
{
    aboutToSaveState (true, true);
    presetManager.setInitialPatch (parameters.copyState().createXml());
    stateSaved (true, true);

    if (! presetManager.hasFactoryPresets())
        toastManager.addToast ("No factory presets found! Please reinstall the plugin.", ToastLevel::error, true);
}

//==============================================================================
bool KolbrithProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto input = layouts.getMainInputChannelSet();
    return input == layouts.getMainOutputChannelSet() && input.size() >= 1;
}

void KolbrithProcessor::aboutToSaveState (bool, bool) {}
void KolbrithProcessor::aboutToLoadState (bool, bool) {}
void KolbrithProcessor::stateSaved (bool, bool) {}
void KolbrithProcessor::stateLoaded (bool, bool) {}

void KolbrithProcessor::parameterChanged (const juce::String&, float) {}

//==============================================================================
namespace
{
std::function<juce::String (float, int)> numberText (const juce::String& unit, int decimalPlaces)
{
    return [unit, decimalPlaces] (float value, int)
    {
        const auto number
            = decimalPlaces != 0 ? juce::String (value, decimalPlaces) : juce::String (juce::roundToInt (value));
        return number + unit;
    };
}
} // namespace

void KolbrithProcessor::addParameterFloat (const juce::String& parameterID, const juce::String& name, float minimum,
                                           float maximum, float defaultValue, const juce::String& unit,
                                           int decimalPlaces, bool)
{
    addParameter (parameterID, name, { minimum, maximum, 0.0f, 1.0f }, defaultValue, numberText (unit, decimalPlaces));
}

void KolbrithProcessor::addParameterSkew (const juce::String& parameterID, const juce::String& name, float minimum,
                                          float maximum, float defaultValue, float skew, const juce::String& unit,
                                          int decimalPlaces, bool)
{
    addParameter (parameterID, name, { minimum, maximum, 0.0f, skew, false }, defaultValue,
                  numberText (unit, decimalPlaces));
}

void KolbrithProcessor::addParameterChoice (const juce::String& parameterID, const juce::String& name,
                                            const juce::StringArray& choices, int defaultIndex, bool)
{
    addParameter (parameterID, name, { 0.0f, (float) (choices.size() - 1), 0.0f, 1.0f }, (float) defaultIndex,
                  [choices] (float value, int) { return choices[juce::roundToInt (value)]; });
}

void KolbrithProcessor::addParameter (const juce::String& parameterID, const juce::String& name,
                                      juce::NormalisableRange<float> range, float defaultValue,
                                      std::function<juce::String (float, int)> valueToText)
{
    using Parameter = juce::AudioProcessorValueTreeState::Parameter;

    // Every parameter is continuous and automatable; a choice is its value rounded.
    const auto attributes = juce::AudioProcessorValueTreeStateParameterAttributes()
                                .withStringFromValueFunction (std::move (valueToText))
                                .withMeta (false)
                                .withAutomatable (true)
                                .withDiscrete (false)
                                .withCategory (juce::AudioProcessorParameter::genericParameter)
                                .withBoolean (false);

    parameters.createAndAddParameter (
        std::make_unique<Parameter> (juce::ParameterID { parameterID, 1 }, name, range, defaultValue, attributes));

    parameters.addParameterListener (parameterID, this);
    parameterIDs.add (parameterID);
}
} // namespace kolbrith
