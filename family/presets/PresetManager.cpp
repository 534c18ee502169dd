#include "PresetManager.h"

#include "family/editor/ToastManager.h"
#include "family/processor/KolbrithPaths.h"
#include "family/processor/KolbrithProcessor.h"
#include "family/processor/ParameterState.h"
#include "family/processor/PresetUpdater.h"

namespace kolbrith
{
namespace
{
const juce::Identifier presetType ("preset");
const juce::Identifier presetsType ("presets");
const juce::Identifier nameProperty ("name");
const juce::Identifier pathProperty ("path");
const juce::Identifier factoryProperty ("factory");
const juce::Identifier authorProperty ("author");
const juce::Identifier descriptionProperty ("description");
const juce::Identifier categoriesProperty ("categories");
const juce::Identifier folderNameProperty ("folder_name");
const juce::Identifier presetIndexProperty ("preset_index");

const juce::String presetExtension (".vpre");

juce::Identifier folderType (const juce::String& folderName)
{
    return "f_" + folderName.toLowerCase().replaceCharacter (' ', '_');
}

bool isPreset (const juce::ValueTree& node)
{
    return node.hasType (presetType);
}

struct LibraryOrder
{
    static int compareElements (const juce::ValueTree& a, const juce::ValueTree& b)
    {
        const auto aName = a[nameProperty].toString();
        const auto bName = b[nameProperty].toString();

        if (aName == PresetManager::initialPatchName)
            return -1;

        if (bName == PresetManager::initialPatchName)
            return 1;

        if (isPreset (a) && isPreset (b))
            return aName.compare (bName);

        if (isPreset (a) != isPreset (b))
            return isPreset (a) ? -1 : 1;

        return a[folderNameProperty].toString().compare (b[folderNameProperty].toString());
    }
};

Preset presetFromNode (const juce::ValueTree& node)
{
    Preset preset;
    preset.name = node[nameProperty].toString();
    preset.index = node[presetIndexProperty];
    preset.path = node[pathProperty].toString();
    preset.factory = node[factoryProperty];
    preset.author = node[authorProperty].toString();
    preset.description = node[descriptionProperty].toString();
    preset.categories = Preset::parseCategories (node[categoriesProperty].toString());
    return preset;
}

void numberPresets (juce::ValueTree node, int& counter, juce::Array<Preset>& list)
{
    for (auto child : node)
    {
        if (isPreset (child))
        {
            child.setProperty (presetIndexProperty, counter++, nullptr);
            list.add (presetFromNode (child));
        }
        else
        {
            numberPresets (child, counter, list);
        }
    }
}
} // namespace

PresetManager::PresetManager (KolbrithProcessor& owner, juce::AudioProcessorValueTreeState& parameterState,
                              ToastManager& toastManager, PresetUpdater* presetUpdater)
    : factoryFolderPath (KolbrithPaths::getFactoryPresetFolder().getFullPathName())
    , userFolderPath (KolbrithPaths::getUserPresetFolder().getFullPathName())
    , processor (owner)
    , parameters (parameterState)
    , toasts (toastManager)
    , updater (presetUpdater)
{
    loadPresets();

    const juce::ScopedLock sl (listLock);
    currentPreset = presets.isEmpty() ? Preset() : presets.getFirst();
}

//==============================================================================
juce::ValueTree PresetManager::scanLibrary (const juce::String& folderPath, const juce::String& folderName)
{
    juce::ValueTree folderNode (folderType (folderName));
    folderNode.setProperty (folderNameProperty, folderName, nullptr);

    const juce::File folder (folderPath);

    if (folderPath.isEmpty() || ! folder.isDirectory())
        return folderNode;

    const auto isFactory = folderName == "Factory";
    const auto files = folder.findChildFiles (juce::File::findFiles, true, "*" + presetExtension);

    if (folderPath == factoryFolderPath)
    {
        juce::ValueTree initialPatch (presetType);
        initialPatch.setProperty (nameProperty, initialPatchName, nullptr);
        initialPatch.setProperty (authorProperty, "Kolbrith", nullptr);
        initialPatch.setProperty (factoryProperty, true, nullptr);
        initialPatch.setProperty (descriptionProperty, "A blank patch", nullptr);
        initialPatch.setProperty (categoriesProperty, "Tools", nullptr);
        folderNode.appendChild (initialPatch, nullptr);
    }

    for (const auto& file : files)
    {
        auto node = folderNode;
        const auto parts = juce::StringArray::fromTokens (file.getRelativePathFrom (folder), "/", "");

        for (const auto& part : parts)
        {
            if (! part.endsWith (presetExtension))
            {
                auto subfolder = node.getChildWithName (folderType (part));

                if (! subfolder.isValid())
                {
                    subfolder = juce::ValueTree (folderType (part));
                    node.appendChild (subfolder, nullptr);
                }

                subfolder.setProperty (folderNameProperty, part, nullptr);
                node = subfolder;
                continue;
            }

            juce::ValueTree presetNode (presetType);
            presetNode.setProperty (pathProperty, file.getFullPathName(), nullptr);
            presetNode.setProperty (nameProperty, part.dropLastCharacters (presetExtension.length()), nullptr);
            presetNode.setProperty (factoryProperty, isFactory, nullptr);

            if (isFactory)
                factoryPresetsFound = true;

            if (const auto xml = juce::parseXML (file))
                for (const auto& attribute : { authorProperty, categoriesProperty, descriptionProperty })
                    presetNode.setProperty (attribute, xml->getStringAttribute (attribute), nullptr);

            node.appendChild (presetNode, nullptr);
        }
    }

    sortFolder (folderNode);
    return folderNode;
}

void PresetManager::sortFolder (juce::ValueTree& folder)
{
    LibraryOrder order;
    folder.sort (order, nullptr, false);

    for (auto child : folder)
        if (! isPreset (child))
            sortFolder (child);
}

void PresetManager::loadPresets()
{
    juce::ValueTree root (presetsType);
    root.appendChild (scanLibrary (factoryFolderPath, "Factory"), nullptr);
    root.appendChild (scanLibrary (userFolderPath, "User"), nullptr);

    juce::Array<Preset> list;
    int counter = 0;
    numberPresets (root, counter, list);

    tree = root;

    const juce::ScopedLock sl (listLock);
    presets.swapWith (list);
}

//==============================================================================
void PresetManager::setInitialPatch (std::unique_ptr<juce::XmlElement> state)
{
    initialPatchState = std::move (state);
}

void PresetManager::loadPreset (int index)
{
    processor.aboutToLoadState (true, index == 0);

    std::unique_ptr<juce::XmlElement> xml;
    juce::String path;
    Preset loaded;

    {
        const juce::ScopedLock sl (listLock);

        if (index >= presets.size())
            return;

        if (index == 0 && initialPatchState != nullptr)
        {
            currentPreset = presets.getFirst();
            xml = std::make_unique<juce::XmlElement> (*initialPatchState);
        }
        else
        {
            for (const auto& preset : presets)
            {
                if (preset.index == index)
                {
                    currentPreset = preset;
                    path = preset.path;
                }
            }
        }

        loaded = currentPreset;
    }

    // Read outside the lock: host threads asking for program names never wait on a disk.
    if (xml == nullptr && path.isNotEmpty())
        xml = juce::parseXML (juce::File (path));

    if (xml != nullptr)
        applyPreset (*xml, loaded, index == 0);
}

void PresetManager::applyPreset (juce::XmlElement& xml, const Preset& loaded, bool isInitialPatch)
{
    xml.setTagName (xml.getTagName().toLowerCase());

    auto state = juce::ValueTree::fromXml (xml);
    updater->update (state);
    replaceParameterState (parameters, state);

    listeners.call ([&loaded] (Listener& l) { l.presetLoaded (loaded); });
    processor.stateLoaded (true, isInitialPatch);
}

bool PresetManager::loadPresetFile (const juce::File& file)
{
    auto xml = juce::parseXML (file);

    if (xml == nullptr)
        return false;

    int libraryIndex = -1;

    {
        const juce::ScopedLock sl (listLock);

        for (const auto& preset : presets)
            if (preset.path == file.getFullPathName())
                libraryIndex = preset.index;
    }

    if (libraryIndex >= 0)
    {
        loadPreset (libraryIndex);
        return true;
    }

    processor.aboutToLoadState (true, false);

    Preset loaded;
    loaded.name = file.getFileNameWithoutExtension();
    loaded.path = file.getFullPathName();
    loaded.author = xml->getStringAttribute ("author");
    loaded.description = xml->getStringAttribute ("description");
    loaded.categories = Preset::parseCategories (xml->getStringAttribute ("categories"));

    applyPreset (*xml, loaded, false);
    return true;
}

//==============================================================================
Preset PresetManager::getPresetByIndex (int index) const
{
    {
        const juce::ScopedLock sl (listLock);

        if (index == 0)
            return presets.isEmpty() ? Preset() : presets.getFirst();

        for (const auto& preset : presets)
            if (preset.index == index)
                return preset;
    }

    toasts.addToast ("Invalid preset index: " + juce::String (index), ToastLevel::error, true);
    return {};
}

Preset PresetManager::getCurrentPreset() const
{
    const juce::ScopedLock sl (listLock);
    return currentPreset;
}

int PresetManager::getNumPresets() const
{
    const juce::ScopedLock sl (listLock);
    return presets.size();
}

void PresetManager::setCurrentPresetFromPath (const juce::String& path)
{
    const juce::ScopedLock sl (listLock);

    for (const auto& preset : presets)
    {
        if (preset.path == path)
        {
            currentPreset = preset;
            return;
        }
    }

    currentPreset = presets.isEmpty() ? Preset() : presets.getFirst();
}

//==============================================================================
juce::PopupMenu PresetManager::buildMenu (const juce::ValueTree& folder)
{
    juce::PopupMenu menu;

    for (const auto& child : folder)
    {
        if (isPreset (child))
            menu.addItem ((int) child[presetIndexProperty] + 1, child[nameProperty].toString(), true, false);
        else
            menu.addSubMenu (child[folderNameProperty].toString(), buildMenu (child));
    }

    return menu;
}

juce::PopupMenu PresetManager::getPresetMenu() const
{
    auto menu = buildMenu (tree.getChild (0));
    menu.addSeparator();
    menu.addSubMenu ("User", buildMenu (tree.getChild (1)));
    return menu;
}
} // namespace kolbrith
