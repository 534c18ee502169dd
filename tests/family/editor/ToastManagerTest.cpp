#include "family/editor/ToastManager.h"
#include "family/log/KolbrithLogger.h"
#include "tests/MessagePump.h"
#include "tests/TestLibrary.h"

#include <gtest/gtest.h>

namespace
{
struct Editor : juce::Component
{
    explicit Editor (kolbrith::ToastManager& m)
        : manager (m)
    {
        setSize (600, 630);
    }

    ~Editor() override { removeChildComponent (&manager); }

    void adopt()
    {
        addChildComponent (manager);
        manager.setBounds (getLocalBounds());
    }

    kolbrith::ToastManager& manager;
};

void click (kolbrith::Toast& toast, float x)
{
    const auto position = juce::Point<float> (x, 25.0f);
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    toast.mouseDown (juce::MouseEvent (source, position, juce::ModifierKeys(), 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &toast,
                                       &toast, juce::Time::getCurrentTime(), position, juce::Time::getCurrentTime(), 1,
                                       false));
}
} // namespace

TEST (ToastManagerTest, ToastsWaitForAnEditorThenStackDownFromTheTop)
{
    kolbrith::ToastManager manager;
    manager.addToast ("first", kolbrith::ToastLevel::error, true);
    manager.addToast ("second", kolbrith::ToastLevel::success, true);
    manager.addToast ("third", kolbrith::ToastLevel::critical, true);

    EXPECT_FALSE (manager.isVisible());
    EXPECT_EQ (manager.getToast (0)->getMessage(), "ERROR: first");
    EXPECT_EQ (manager.getToast (1)->getMessage(), "second");
    EXPECT_EQ (manager.getToast (2)->getMessage(), "ERROR: third");

    Editor editor (manager);
    editor.adopt();

    EXPECT_TRUE (manager.isVisible());

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (manager.getToast (i)->getBounds(), juce::Rectangle<int> (10, 20 + 60 * i, 580, 50));

    manager.removeToast (0);
    EXPECT_EQ (manager.getToast (0)->getY(), 20);
    EXPECT_EQ (manager.getToast (1)->getY(), 80);

    manager.removeToast (0);
    manager.removeToast (0);
    EXPECT_FALSE (manager.isVisible()) << "no toasts: nothing is dimmed";
}

TEST (ToastManagerTest, OnlyTheDismissAreaDismisses)
{
    kolbrith::ToastManager manager;
    Editor editor (manager);
    editor.adopt();
    manager.addToast ("hello", kolbrith::ToastLevel::info, true);

    auto& toast = *manager.getToast (0);
    const auto w = (float) toast.getWidth();

    click (toast, w - 71.0f);
    orvotest::pumpMessages (50);
    EXPECT_EQ (manager.getNumToasts(), 1);

    click (toast, w - 69.0f);
    orvotest::pumpMessages (50);
    EXPECT_EQ (manager.getNumToasts(), 0);
}

TEST (ToastManagerTest, EachToastIsLoggedOnceWithItsLevelsPrefix)
{
    orvotest::TestLibrary library;
    library.logFile.getParentDirectory().createDirectory();
    kolbrith::KolbrithLogger logger (library.logFile);
    juce::Logger::setCurrentLogger (&logger);

    kolbrith::ToastManager manager;
    manager.addToast ("broken", kolbrith::ToastLevel::error, true);
    manager.addToast ("saved", kolbrith::ToastLevel::success, true);
    manager.addToast ("note", kolbrith::ToastLevel::info, true);
    manager.addToast ("fatal", kolbrith::ToastLevel::critical, true);

    juce::Logger::setCurrentLogger (nullptr);

    const auto lines = juce::StringArray::fromLines (library.logFile.loadFileAsString().trimEnd());
    ASSERT_EQ (lines.size(), 4);
    EXPECT_TRUE (lines[0].endsWith (" ERROR: broken"));
    EXPECT_TRUE (lines[1].endsWith (" saved") && ! lines[1].contains ("ERROR"));
    EXPECT_TRUE (lines[2].endsWith (" note") && ! lines[2].contains ("ERROR"));
    EXPECT_TRUE (lines[3].endsWith (" ERROR: fatal"));
}
