#pragma once

namespace kolbrith
{
/** Colour identifiers filled from the theme's keys. */
enum ThemeColourIds
{
    primaryColourId = 0x5000000,
    elementColourId = 0x5000001,
    elementBorderColourId = 0x5000002,
    disabledElementColourId = 0x5000003,
    disabledElementBorderColourId = 0x5000004,
    textColourId = 0x5000005,
    highlightedTextColourId = 0x5000006,
    disabledTextColourId = 0x5000007,
    backgroundColourId = 0x5000008,
    panelColourId = 0x5000009,
    warningColourId = 0x8000010,
    secondaryColourId = 0x8000017,
    tertiaryColourId = 0x8000018,
    pluginNameColourId = 0x8000053,
    sliderKnobColourId = 0x8000060,
    sliderRingColourId = 0x8000061,
    sliderDotColourId = 0x8000062,
    sliderTrackColourId = 0x8000063,
    sliderTrackBackgroundColourId = 0x8000064,
    correlationInPhaseColourId = 0x8000070,
    correlationOutOfPhaseColourId = 0x8000071,
    correlationMiddleColourId = 0x8000072,
    flockPredatorColourId = 0x8000080,
    pianoRollWhiteKeyColourId = 0x8000090,
    pianoRollBlackKeyColourId = 0x8000091,
    pianoRollWhiteRowColourId = 0x8000092,
    pianoRollBlackRowColourId = 0x8000093
};

/** Colours derived from the theme for the family's own components. */
enum DerivedColourIds
{
    toastErrorColourId = 0x2000020,
    toastSuccessColourId = 0x2000021,
    toastInfoColourId = 0x2000022,
    toastTextColourId = 0x2000023
};
} // namespace kolbrith
