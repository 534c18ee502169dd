#pragma once

#include "Preset.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace kolbrith
{
class KolbrithProcessor;
class PresetUpdater;
class ToastManager;

/**
    The preset library: the factory and user folders scanned into one tree of folders
    and presets, numbered depth-first, with the initial patch (a snapshot of the
    defaults) first. It applies presets to the parameters and builds the preset menu.

    The tree, the menu and loading belong to the message thread. The flat list and the
    current preset are also read by the host's program and state calls on other
    threads, so they sit behind a short lock of their own.
*/
class PresetManager
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        virtual void presetSaved (const Preset& current) { juce::ignoreUnused (current); }
        virtual void presetLoaded (const Preset& current) { juce::ignoreUnused (current); }
    };

    PresetManager (KolbrithProcessor& processor, juce::AudioProcessorValueTreeState& parameters, ToastManager& toasts,
                   PresetUpdater* updater);

    /** Rescans both libraries; the current preset stays and nobody is told. */
    void loadPresets();

    /** Applies the preset with this index; an index outside the list is ignored. */
    void loadPreset (int index);

    /** Applies a preset file, which need not be in the library, exactly as loadPreset()
        would (migration included). A library file becomes the current preset. Returns
        false, changing nothing, when the file cannot be read as XML. */
    bool loadPresetFile (const juce::File& file);

    /** The entry with this index; an empty Preset (and an error toast for indices other
        than 0) when there is none. */
    Preset getPresetByIndex (int index) const;

    Preset getCurrentPreset() const;
    int getNumPresets() const;

    /** Makes the first entry whose path equals this one current, else the first entry,
        else an empty Preset. */
    void setCurrentPresetFromPath (const juce::String& path);

    juce::ValueTree getPresetTree() const { return tree; }
    juce::PopupMenu getPresetMenu() const;

    /** Takes the initial-patch snapshot from the current parameter state. */
    void setInitialPatch (std::unique_ptr<juce::XmlElement> state);

    bool hasFactoryPresets() const noexcept { return factoryPresetsFound; }

    const juce::String& getFactoryFolderPath() const noexcept { return factoryFolderPath; }
    const juce::String& getUserFolderPath() const noexcept { return userFolderPath; }

    void addListener (Listener* listener) { listeners.add (listener); }
    void removeListener (Listener* listener) { listeners.remove (listener); }

    /** The name of the snapshot entry. */
    static constexpr const char* initialPatchName = "Initial Patch";

private:
    juce::ValueTree scanLibrary (const juce::String& folderPath, const juce::String& folderName);
    static void sortFolder (juce::ValueTree& folder);
    void applyPreset (juce::XmlElement& xml, const Preset& loaded, bool isInitialPatch);
    static juce::PopupMenu buildMenu (const juce::ValueTree& folder);

    bool factoryPresetsFound = false;
    juce::String factoryFolderPath;
    juce::String userFolderPath;
    KolbrithProcessor& processor;
    juce::AudioProcessorValueTreeState& parameters;
    std::shared_ptr<juce::XmlElement> initialPatchState;
    Preset currentPreset;
    ToastManager& toasts;
    PresetUpdater* updater;
    juce::ValueTree tree;
    juce::Array<Preset> presets;
    juce::ListenerList<Listener> listeners;

    mutable juce::CriticalSection listLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetManager)
};
} // namespace kolbrith
