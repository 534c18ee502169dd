#include "plugin/DynamicEqAudioProcessor.h"
#include "tests/TestLibrary.h"

#include <gtest/gtest.h>

using orvotest::TestLibrary;

namespace
{
juce::StringArray presetNames (const kolbrith::PresetManager& manager)
{
    juce::StringArray names;

    for (int i = 0; i < manager.getNumPresets(); ++i)
        names.add (manager.getPresetByIndex (i).name);

    return names;
}

/** The menu as "id:text" items, sub-menus in brackets. */
juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray items;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();

        if (item.isSeparator)
            items.add ("|");
        else if (item.subMenu != nullptr)
            items.add (item.text + "[" + describe (*item.subMenu) + "]");
        else
            items.add (juce::String (item.itemID) + ":" + item.text);
    }

    return items.joinIntoString (" ");
}

float valueOf (DynamicEqAudioProcessor& processor, const char* id)
{
    return processor.parameters.getRawParameterValue (id)->load();
}

const char* const presetWithGain = R"(<?xml version="1.0" encoding="UTF-8"?>
<orvo version="1.5.4" author="Someone" description="Cuts" categories=" Bass , Lead,Bass">
  <PARAM id="gain" value="-7.5"/>
  <PARAM id="type" value="4.0"/>
</orvo>)";
} // namespace

TEST (PresetManagerTest, NumbersTheLibraryDepthFirstWithUpperCaseFirst)
{
    TestLibrary library;
    library.addPreset (true, "B.vpre");
    library.addPreset (true, "a.vpre");
    library.addPreset (true, "Sub/c.vpre");
    library.addPreset (false, "Zed.vpre");
    library.addPreset (false, "Initial Patch.vpre");
    library.factory.getChildFile ("Empty/Deeper").createDirectory();

    DynamicEqAudioProcessor processor;
    auto& manager = processor.presetManager;

    EXPECT_EQ (presetNames (manager).joinIntoString (","), "Initial Patch,B,a,c,Initial Patch,Zed");
    EXPECT_TRUE (manager.hasFactoryPresets());

    const auto c = manager.getPresetByIndex (3);
    EXPECT_EQ (c.index, 3);
    EXPECT_TRUE (c.factory);
    EXPECT_EQ (c.path, library.factory.getChildFile ("Sub/c.vpre").getFullPathName());
    EXPECT_FALSE (manager.getPresetByIndex (5).factory);

    const auto initial = manager.getCurrentPreset();
    EXPECT_EQ (initial.name, "Initial Patch");
    EXPECT_EQ (initial.index, 0);
    EXPECT_EQ (initial.author, "Kolbrith");
    EXPECT_EQ (initial.description, "A blank patch");
    EXPECT_EQ (initial.categories.joinIntoString (","), "Tools");
    EXPECT_TRUE (initial.path.isEmpty());

    // Factory presets at the top, user presets in a sub-menu; empty folders nowhere.
    EXPECT_EQ (describe (manager.getPresetMenu()), "1:Initial Patch 2:B 3:a Sub[4:c] | User[5:Initial Patch 6:Zed]");

    const auto tree = manager.getPresetTree();
    EXPECT_EQ (tree.getType().toString(), "presets");
    EXPECT_EQ (tree.getChild (0).getType().toString(), "f_factory");
    EXPECT_EQ (tree.getChild (0)["folder_name"].toString(), "Factory");
    EXPECT_EQ (tree.getChild (1).getType().toString(), "f_user");
    EXPECT_FALSE (tree.getChild (0).getChildWithName ("f_empty").isValid());
}

TEST (PresetManagerTest, FoldersThatDifferInCaseAndSpacesMerge)
{
    TestLibrary library;
    library.addPreset (false, "My Set/one.vpre");
    library.addPreset (false, "my_set/two.vpre");

    DynamicEqAudioProcessor processor;
    const auto user = processor.presetManager.getPresetTree().getChild (1);

    ASSERT_EQ (user.getNumChildren(), 1);
    EXPECT_EQ (user.getChild (0).getType().toString(), "f_my_set");
    EXPECT_EQ (user.getChild (0).getNumChildren(), 2);
    EXPECT_TRUE (user.getChild (0)["folder_name"].toString() == "My Set"
                 || user.getChild (0)["folder_name"].toString() == "my_set");
}

TEST (PresetManagerTest, RecordsCarryTheFileAttributes)
{
    TestLibrary library;
    library.addPreset (true, "Cut.vpre", presetWithGain);
    library.addPreset (true, "Broken.vpre", "this is not XML");

    DynamicEqAudioProcessor processor;
    const auto cut = processor.presetManager.getPresetByIndex (2);

    EXPECT_EQ (cut.name, "Cut");
    EXPECT_EQ (cut.author, "Someone");
    EXPECT_EQ (cut.description, "Cuts");
    EXPECT_EQ (cut.categories.joinIntoString ("|"), "Bass|Bass|Lead");

    const auto broken = processor.presetManager.getPresetByIndex (1);
    EXPECT_EQ (broken.name, "Broken");
    EXPECT_TRUE (broken.author.isEmpty());
    EXPECT_FALSE (processor.presetManager.getPresetTree().getChild (0).getChild (1).hasProperty ("author"));
}

TEST (PresetManagerTest, LoadingAppliesThePresetAndKeepsParametersItLacks)
{
    struct Observer : kolbrith::PresetManager::Listener
    {
        void presetLoaded (const kolbrith::Preset& p) override { loaded.add (p.name); }
        juce::StringArray loaded;
    };

    TestLibrary library;
    const auto file = library.addPreset (true, "Cut.vpre", presetWithGain);
    const auto fileBefore = file.loadFileAsString();

    DynamicEqAudioProcessor processor;
    Observer observer;
    processor.presetManager.addListener (&observer);

    processor.parameters.getParameter ("output")->setValueNotifyingHost (0.9f);
    const auto output = valueOf (processor, "output");

    processor.presetManager.loadPreset (1);

    EXPECT_FLOAT_EQ (valueOf (processor, "gain"), -7.5f);
    EXPECT_FLOAT_EQ (valueOf (processor, "type"), 4.0f);
    EXPECT_FLOAT_EQ (valueOf (processor, "output"), output) << "missing from the preset: kept";
    EXPECT_EQ (processor.displayBand.getType(), FilterType::notch) << "the engine follows";
    EXPECT_EQ (processor.presetManager.getCurrentPreset().name, "Cut");
    EXPECT_EQ (processor.parameters.state["author"].toString(), "Someone");
    EXPECT_EQ (observer.loaded.joinIntoString (","), "Cut");
    EXPECT_EQ (file.loadFileAsString(), fileBefore) << "loading never touches the file";

    // The initial patch brings the defaults back.
    processor.presetManager.loadPreset (0);
    EXPECT_FLOAT_EQ (valueOf (processor, "gain"), 0.0f);
    EXPECT_FLOAT_EQ (valueOf (processor, "output"), 0.0f);
    EXPECT_EQ (observer.loaded.joinIntoString (","), "Cut,Initial Patch");

    processor.presetManager.removeListener (&observer);
}

TEST (PresetManagerTest, IndicesOutsideTheListAndUnreadableFilesChangeNoParameter)
{
    TestLibrary library;
    library.addPreset (true, "Broken.vpre", "<orvo><PARAM id=\"gain\"");
    library.addPreset (true, "Cut.vpre", presetWithGain);

    DynamicEqAudioProcessor processor;
    auto& manager = processor.presetManager;
    manager.loadPreset (2);
    ASSERT_EQ (manager.getCurrentPreset().name, "Cut");

    for (const auto index : { manager.getNumPresets(), -1, 1000 })
    {
        manager.loadPreset (index);
        EXPECT_EQ (manager.getCurrentPreset().name, "Cut") << index;
        EXPECT_FLOAT_EQ (valueOf (processor, "gain"), -7.5f) << index;
    }

    // The unreadable preset becomes current, silently, and the sound stays.
    manager.loadPreset (1);
    EXPECT_EQ (manager.getCurrentPreset().name, "Broken");
    EXPECT_FLOAT_EQ (valueOf (processor, "gain"), -7.5f);
    EXPECT_EQ (processor.toastManager.getNumToasts(), 0);
}

TEST (PresetManagerTest, DamagedValuesKeepTheCurrentSetting)
{
    TestLibrary library;
    library.addPreset (true, "Damaged.vpre",
                       "<orvo version=\"1.5.4\"><PARAM id=\"gain\" value=\"1e999\"/><PARAM id=\"q\" value=\"nan\"/>"
                       "<PARAM id=\"frequency\" value=\"-1e999\"/><PARAM id=\"output\" value=\"-3\"/>"
                       "<PARAM id=\"release\" value=\""
                           + juce::String::repeatedString ("9", 100000) + "\"/></orvo>");

    auto processor = std::make_unique<DynamicEqAudioProcessor>();
    processor->prepareToPlay (48000.0, 512);
    processor->presetManager.loadPreset (1);

    EXPECT_FLOAT_EQ (valueOf (*processor, "gain"), 0.0f);
    EXPECT_FLOAT_EQ (valueOf (*processor, "q"), 0.707f);
    EXPECT_FLOAT_EQ (valueOf (*processor, "frequency"), 5000.0f);
    EXPECT_FLOAT_EQ (valueOf (*processor, "output"), -3.0f) << "the sound entries still apply";
    EXPECT_TRUE (std::isfinite (valueOf (*processor, "release")));

    juce::AudioBuffer<float> buffer (3, 256);
    for (int i = 0; i < 256; ++i)
        buffer.setSample (0, i, std::sin ((float) i * 0.1f));

    juce::MidiBuffer midi;
    processor->processBlock (buffer, midi);
    EXPECT_TRUE (std::isfinite (buffer.getMagnitude (0, 0, 256)));
    EXPECT_GT (buffer.getMagnitude (0, 0, 256), 0.1f);
}

TEST (PresetManagerTest, OldPresetsAreMigratedWhenLoaded)
{
    TestLibrary library;
    library.addPreset (true, "Old.vpre",
                       "<Orvo version=\"0.8.0\"><PARAM id=\"modminimum\" value=\"0.25\"/>"
                       "<PARAM id=\"enable\" value=\"0\"/><PARAM id=\"modpreview\" value=\"1\"/></Orvo>");

    DynamicEqAudioProcessor processor;
    processor.presetManager.loadPreset (1);

    EXPECT_NEAR (valueOf (processor, "modminimum"), 25.0f, 1e-4f);
    EXPECT_EQ (valueOf (processor, "enable"), 1.0f);
    EXPECT_EQ (valueOf (processor, "modpreview"), 0.0f);
    EXPECT_EQ (processor.parameters.state["version"].toString(), "0.9.1");
}

TEST (PresetManagerTest, InvalidIndexRaisesOneLoggedErrorToast)
{
    TestLibrary library;
    library.addPreset (true, "One.vpre");

    DynamicEqAudioProcessor processor;
    EXPECT_TRUE (processor.presetManager.getPresetByIndex (7).name.isEmpty());

    ASSERT_EQ (processor.toastManager.getNumToasts(), 1);
    EXPECT_EQ (processor.toastManager.getToast (0)->getMessage(), "ERROR: Invalid preset index: 7");

    const auto log = library.logFile.loadFileAsString();
    EXPECT_EQ (log.indexOf ("Invalid preset index: 7"), log.lastIndexOf ("Invalid preset index: 7"));
    EXPECT_TRUE (log.contains ("ERROR: Invalid preset index: 7\r\n"));
}

TEST (PresetManagerTest, MissingFactoryLibraryLeavesAnEmptyListAndAWaitingToast)
{
    TestLibrary library;
    library.factory.deleteRecursively();

    DynamicEqAudioProcessor processor;
    auto& manager = processor.presetManager;

    EXPECT_FALSE (manager.hasFactoryPresets());
    EXPECT_EQ (manager.getNumPresets(), 0);
    EXPECT_TRUE (manager.getCurrentPreset().name.isEmpty());
    EXPECT_TRUE (manager.getPresetByIndex (0).name.isEmpty());

    ASSERT_EQ (processor.toastManager.getNumToasts(), 1) << "index 0 of an empty library is no error";
    EXPECT_EQ (processor.toastManager.getToast (0)->getMessage(),
               "ERROR: No factory presets found! Please reinstall the plugin.");
    EXPECT_FALSE (processor.toastManager.isVisible()) << "it waits for an editor";

    const auto log = library.logFile.loadFileAsString();
    EXPECT_EQ (log.indexOf ("No factory presets found!"), log.lastIndexOf ("No factory presets found!"));
    EXPECT_TRUE (log.contains ("ERROR: No factory presets found! Please reinstall the plugin.\r\n"));

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_TRUE (processor.getProgramName (0).isEmpty());
    processor.setCurrentProgram (0);
}

TEST (PresetManagerTest, FactoryFolderWithPresetsRaisesNoToast)
{
    TestLibrary library;
    library.addPreset (true, "One.vpre");

    DynamicEqAudioProcessor processor;
    EXPECT_EQ (processor.toastManager.getNumToasts(), 0);

    const auto snapshot = processor.parameters.copyState();
    EXPECT_EQ (snapshot["version"].toString(), "1.5.4");
}
