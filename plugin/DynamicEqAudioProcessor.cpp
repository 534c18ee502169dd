#include "DynamicEqAudioProcessor.h"

#include "family/processor/KolbrithPaths.h"
#include "plugin/dsp/ModulationMapping.h"

namespace
{
bool isOn (float choiceValue) noexcept
{
    return juce::roundToInt (choiceValue) != 0;
}
} // namespace

juce::AudioProcessor::BusesProperties DynamicEqAudioProcessor::createBuses()
{
    return BusesProperties()
        .withInput ("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput ("Output", juce::AudioChannelSet::stereo(), true)
        .withInput ("Sidechain", juce::AudioChannelSet::mono(), true);
}

DynamicEqAudioProcessor::DynamicEqAudioProcessor()
    : kolbrith::KolbrithProcessor (createBuses(), &orvoPresetUpdater)
{
    using Choices = OrvoParameterInfo::ChoiceList;

    typeNames = OrvoParameterInfo::getChoiceTexts (Choices::filterTypes);
    destinationNames = OrvoParameterInfo::getChoiceTexts (Choices::destinations);
    midSideNames = OrvoParameterInfo::getChoiceTexts (Choices::midSide);

    for (size_t i = 0; i < choiceTypes.size(); ++i)
        choiceTypes[i] = FilterBand::typeFromName (typeNames[(int) i].toStdString());

    makeupGainDb = 0.0f;
    sidechainOn = false;

    createParameters();

    // The tree's PARAM children are laid out in creation order before the tree is
    // handed over; left to itself the parameter tree would add them sorted by ID.
    juce::ValueTree state (juce::Identifier (getName().toLowerCase().removeCharacters (" ")));

    for (const auto& id : getParameterIDs())
        state.appendChild (
            juce::ValueTree ("PARAM", { { "id", id }, { "value", parameters.getRawParameterValue (id)->load() } }),
            nullptr);

    parameters.state = state;
    parameters.state.setProperty ("version", kolbrith::KolbrithPaths::getVersionString(), nullptr);

    takeInitialPatchSnapshot();

    for (const auto& id : getParameterIDs())
        parameterChanged (id, parameters.getRawParameterValue (id)->load());

    isStereo = true;
    midSideMode = modeAll;
}

DynamicEqAudioProcessor::~DynamicEqAudioProcessor() = default;

void DynamicEqAudioProcessor::createParameters()
{
    using Kind = OrvoParameterInfo::Kind;

    for (size_t i = 0; i < OrvoParameterInfo::all().size(); ++i)
    {
        const auto& p = OrvoParameterInfo::all()[i];

        switch (p.kind)
        {
            case Kind::linear:
                addParameterFloat (p.id, p.name, p.minimum, p.maximum, p.defaultValue, p.unit, p.decimalPlaces);
                break;

            case Kind::skewed:
                addParameterSkew (p.id, p.name, p.minimum, p.maximum, p.defaultValue, p.skew, p.unit, p.decimalPlaces);
                break;

            case Kind::choice:
                addParameterChoice (p.id, p.name, OrvoParameterInfo::getChoiceTexts (p.choices),
                                    juce::roundToInt (p.defaultValue));
                break;
        }

        parameterValues[i] = parameters.getRawParameterValue (p.id);
    }
}

float DynamicEqAudioProcessor::parameterValue (OrvoParameter parameter) const noexcept
{
    return parameterValues[(size_t) parameter]->load (std::memory_order_relaxed);
}

FilterType DynamicEqAudioProcessor::typeForChoice (float value) const noexcept
{
    const auto index = juce::roundToInt (value);
    return juce::isPositiveAndBelow (index, (int) choiceTypes.size()) ? choiceTypes[(size_t) index]
                                                                      : FilterType::lowPass;
}

//==============================================================================
bool DynamicEqAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto input = layouts.getMainInputChannelSet();
    return input == layouts.getMainOutputChannelSet() && input.size() >= 1 && input.size() <= 2;
}

void DynamicEqAudioProcessor::prepareToPlay (double sampleRate, int)
{
    const juce::ScopedLock sl (processLock);

    currentSampleRate = sampleRate;

    using P = OrvoParameter;
    destination = juce::roundToInt (parameterValue (P::modDestination));

    for (auto* band : { &liveBand, &rightBand, &displayBand })
        band->configure (typeForChoice (parameterValue (P::type)), sampleRate, parameterValue (P::frequency),
                         parameterValue (P::q), parameterValue (P::gain));

    for (auto* band : { &modEqBand, &previewBandLeft, &previewBandRight })
        band->configure (typeForChoice (parameterValue (P::modType)), sampleRate, parameterValue (P::modFrequency),
                         parameterValue (P::modQ), parameterValue (P::modGain));

    envelope.setAttack (parameterValue (P::attack));
    envelope.setRelease (parameterValue (P::release));
    envelope.prepare (sampleRate);

    analyserFeed.sampleRate = sampleRate;
}

void DynamicEqAudioProcessor::releaseResources() {}

//==============================================================================
void DynamicEqAudioProcessor::parameterChanged (const juce::String& parameterID, float value)
{
    const juce::ScopedLock sl (processLock);

    using P = OrvoParameter;

    switch (OrvoParameterInfo::find (parameterID))
    {
        case P::frequency: applyBandSetting (BandSetting::frequency, value); break;
        case P::q: applyBandSetting (BandSetting::q, value); break;
        case P::gain: applyBandSetting (BandSetting::gain, value); break;

        case P::type:
            resyncBands();

            for (auto* band : { &liveBand, &rightBand, &displayBand })
                band->setType (typeForChoice (value));
            break;

        case P::midSide:
            resyncBands();
            midSideMode = juce::roundToInt (value);
            break;

        case P::attack: envelope.setAttack (value); break;
        case P::release: envelope.setRelease (value); break;
        case P::modMakeupGain: makeupGainDb = value; break;
        case P::sidechain: sidechainOn = isOn (value); break;
        case P::modEq: modEqOn = isOn (value); break;

        case P::modFrequency:
            for (auto* band : { &modEqBand, &previewBandLeft, &previewBandRight })
                band->setFrequency (value);
            break;

        case P::modQ:
            for (auto* band : { &modEqBand, &previewBandLeft, &previewBandRight })
                band->setQ (value);
            break;

        case P::modGain:
            for (auto* band : { &modEqBand, &previewBandLeft, &previewBandRight })
                band->setGain (value);
            break;

        case P::modType:
            for (auto* band : { &modEqBand, &previewBandLeft, &previewBandRight })
                band->setType (typeForChoice (value));
            break;

        case P::modDestination:
            resyncBands();
            destination = juce::roundToInt (value);
            break;

        // Read at the start of every block.
        case P::modMinimum:
        case P::inverse:
        case P::output:
        case P::modPreview:
        case P::enable:
        case P::count: break;
    }
}

void DynamicEqAudioProcessor::applyBandSetting (BandSetting setting, float value) noexcept
{
    displayBand.setSetting (setting, value);

    // The modulated setting reaches the live bands through the next modulator step.
    if (static_cast<BandSetting> (destination) != setting)
    {
        liveBand.setSetting (setting, value);
        rightBand.setSetting (setting, value);
    }
}

void DynamicEqAudioProcessor::resyncBands() noexcept
{
    for (auto* band : { &liveBand, &rightBand })
    {
        band->setFrequency (displayBand.getFrequency());
        band->setGain (displayBand.getGain());
        band->setQ (displayBand.getQ());
    }
}

//==============================================================================
void DynamicEqAudioProcessor::modulateSample (const float* mainLeft, const float* mainRight, const float* sidechain,
                                              int i, int numMainChannels, const BlockSettings& settings) noexcept
{
    float x = 0.0f;

    if (sidechainOn)
        x = sidechain != nullptr ? sidechain[i] : 0.0f;
    else if (numMainChannels == 1)
        x = mainLeft[i];
    else if (numMainChannels == 2)
        x = std::abs (mainRight[i]) < std::abs (mainLeft[i]) ? mainLeft[i] : mainRight[i];

    // A bad host sample counts as silence instead of poisoning the envelope for good.
    if (! std::isfinite (x))
        x = 0.0f;

    if (modEqOn)
        x = (float) modEqBand.processSample (x);

    x *= settings.makeupGain;

    const auto level = envelope.process (ModulationMapping::detectorLevel (x));
    const auto e = ModulationMapping::shapeEnvelope (level, settings.inverse);

    const auto modulated = static_cast<BandSetting> (destination);
    const auto v = ModulationMapping::map (modulated, (float) displayBand.getSetting (modulated), e, settings.minimum);

    // The right band always has the live band's settings, so it filters with the live
    // band's design and takes a copy of it only once per block.
    rightBandBehind |= liveBand.modulate (modulated, v);
}

void DynamicEqAudioProcessor::previewSample (float* left, float* right, const float* sidechain, int i,
                                             float makeupGain) noexcept
{
    const auto fromSidechain = sidechainOn && sidechain != nullptr;
    const auto leftSource = fromSidechain ? sidechain[i] : left[i];

    left[i] = (modEqOn ? (float) previewBandLeft.processSample (leftSource) : leftSource) * makeupGain;

    if (right != nullptr)
    {
        const auto rightSource = fromSidechain ? sidechain[i] : right[i];
        right[i] = (modEqOn ? (float) previewBandRight.processSample (rightSource) : rightSource) * makeupGain;
    }
}

void DynamicEqAudioProcessor::routeSample (float* left, float* right, int i, float outputGain) noexcept
{
    const auto filtered
        = [outputGain] (FilterBand& band, float x) { return (float) band.processSample (x) * outputGain; };
    const auto filteredRight
        = [this, outputGain] (float x) { return (float) rightBand.processSampleUsing (liveBand, x) * outputGain; };

    if (right == nullptr)
    {
        left[i] = filtered (liveBand, left[i]);
        return;
    }

    const auto l = left[i];
    const auto r = right[i];

    switch (midSideMode)
    {
        case modeMid:
        case modeSide:
        {
            // Encoding halves, decoding sums: a flat band gives the input back.
            auto mid = (l + r) * 0.5f;
            auto side = (l - r) * 0.5f;

            if (midSideMode == modeMid)
                mid = filtered (liveBand, mid);
            else
                side = filtered (liveBand, side);

            left[i] = mid + side;
            right[i] = mid - side;
            break;
        }

        case modeLeft: left[i] = filtered (liveBand, l); break;

        case modeRight: right[i] = filteredRight (r); break;

        case modeAll:
        default:
            left[i] = filtered (liveBand, l);
            right[i] = filteredRight (r);
            break;
    }
}

void DynamicEqAudioProcessor::processAudioBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    using P = OrvoParameter;

    if (! isOn (parameterValue (P::enable)))
        return;

    const juce::ScopedLock sl (processLock);

    auto main = getBusBuffer (buffer, true, 0);
    const auto side = getBusCount (true) > 1 ? getBusBuffer (buffer, true, 1) : juce::AudioBuffer<float>();

    const auto numMain = main.getNumChannels();
    const auto numSamples = buffer.getNumSamples();
    isStereo.store (numMain >= 2, std::memory_order_relaxed);

    if (numMain > 0)
    {
        const juce::ScopedNoDenormals noDenormals;

        auto* left = main.getWritePointer (0);
        auto* right = numMain == 2 ? main.getWritePointer (1) : nullptr;
        const auto* sidechain = side.getNumChannels() > 0 ? side.getReadPointer (0) : nullptr;

        const BlockSettings settings { parameterValue (P::modMinimum) / 100.0f, isOn (parameterValue (P::inverse)),
                                       juce::Decibels::decibelsToGain (parameterValue (P::output)),
                                       isOn (parameterValue (P::modPreview)),
                                       juce::Decibels::decibelsToGain (makeupGainDb) };

        for (int i = 0; i < numSamples; ++i)
        {
            if (settings.preview)
            {
                previewSample (left, right, sidechain, i, settings.makeupGain);
            }
            else
            {
                modulateSample (left, right, sidechain, i, numMain, settings);
                routeSample (left, right, i, settings.outputGain);
            }
        }
    }

    if (rightBandBehind)
    {
        rightBand.copyDesignFrom (liveBand);
        rightBandBehind = false;
    }

    // The editor's curve follows the band once per block.
    liveBand.publishIfChanged();
    rightBand.publishIfChanged();

    if (openEditors.load (std::memory_order_acquire) > 0 && buffer.getNumChannels() > 0)
    {
        const auto* processed = buffer.getReadPointer (0);

        for (int i = 0; i < numSamples; ++i)
            analyserFeed.pushSample (processed[i]);
    }
}

//==============================================================================
namespace
{
/** Stands in until Orvo's own editor exists; shows the processor's toasts. */
class GenericEditor : public juce::GenericAudioProcessorEditor
{
public:
    explicit GenericEditor (DynamicEqAudioProcessor& p)
        : juce::GenericAudioProcessorEditor (p)
        , presence (p)
        , toasts (p.toastManager)
    {
        addChildComponent (toasts);
        resized();
    }

    ~GenericEditor() override { removeChildComponent (&toasts); }

    void resized() override
    {
        juce::GenericAudioProcessorEditor::resized();
        toasts.setBounds (getLocalBounds());
    }

private:
    DynamicEqAudioProcessor::EditorPresence presence;
    kolbrith::ToastManager& toasts;
};
} // namespace

juce::AudioProcessorEditor* DynamicEqAudioProcessor::createEditor()
{
    return new GenericEditor (*this);
}

bool DynamicEqAudioProcessor::hasEditor() const
{
    return true;
}
