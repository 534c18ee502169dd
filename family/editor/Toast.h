#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kolbrith
{
/** How serious a toast is; errors and critical messages carry "ERROR: ". */
enum ToastLevel
{
    error = 0,
    success = 1,
    info = 2,
    critical = 3
};

/**
    One message box of the toast stack. A dismissable toast sends a change message
    when its "DISMISS" area is clicked; its manager then removes it.
*/
class Toast : public juce::Component, public juce::ChangeBroadcaster
{
public:
    /** The text is shown as given; the manager adds the level's prefix. */
    Toast (const juce::String& text, int level, bool dismissable);

    /** The text a message is shown and logged with at a level. */
    static juce::String textForLevel (const juce::String& message, int level);

    const juce::String& getMessage() const noexcept { return message; }
    int getLevel() const noexcept { return level; }
    bool isDismissable() const noexcept { return dismissable; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;

private:
    static constexpr int dismissWidth = 70;

    juce::Colour colourOr (int colourId, juce::Colour fallback) const;

    const juce::String message;
    const int level;
    const bool dismissable;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Toast)
};
} // namespace kolbrith
