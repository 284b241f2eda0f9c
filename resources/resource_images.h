// Pictures shared by the built-in resources and every language library, as text
// art: one character per pixel, row by row from the top.
#pragma once

// Divider cursor: a vertical bar with an arrow to each side; black with a white
// rim so that it shows on any background. '.' is transparent.
constexpr char kDividerCursorPalette[] = "#=000000;o=FFFFFF;.=-";
// 32 x 32
constexpr char kDividerCursorPixels[] =
    "................................"
    "................................"
    "................................"
    "..............oooo.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    ".......ooo....o##o....ooo......."
    "......oo#o....o##o....o#oo......"
    ".....oo##o....o##o....o##oo....."
    "....oo###o....o##o....o###oo...."
    "...oo####o....o##o....o####oo..."
    "..oo#####oooooo##oooooo#####oo.."
    "..o###########o##o###########o.."
    "..o###########o##o###########o.."
    "..oo#####oooooo##oooooo#####oo.."
    "...oo####o....o##o....o####oo..."
    "....oo###o....o##o....o###oo...."
    ".....oo##o....o##o....o##oo....."
    "......oo#o....o##o....o#oo......"
    ".......ooo....o##o....ooo......."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............oooo.............."
    "................................"
    "................................"
    "................................";

// Sheet tab arrows: first, previous, next, last, 14 x 14 each; pure green is the
// transparent colour of the image list cut from it.
constexpr char kTabArrowsPalette[] = "g=00FF00;k=000000";
// 56 x 14
constexpr char kTabArrowsPixels[] =
    "gggggggggggggggggggggggggggggggggggggggggggggggggggggggg"
    "gggggggggggggggggggggggggggggggggggggggggggggggggggggggg"
    "gggkggggkgggggggggggggkggggggggggkgggggggggggggkggggkggg"
    "gggkgggkkggggggggggggkkggggggggggkkggggggggggggkkgggkggg"
    "gggkggkkkgggggggggggkkkggggggggggkkkgggggggggggkkkggkggg"
    "gggkgkkkkggggggggggkkkkggggggggggkkkkggggggggggkkkkgkggg"
    "gggkkkkkkgggggggggkkkkkggggggggggkkkkkgggggggggkkkkkkggg"
    "gggkkkkkkgggggggggkkkkkggggggggggkkkkkgggggggggkkkkkkggg"
    "gggkgkkkkggggggggggkkkkggggggggggkkkkggggggggggkkkkgkggg"
    "gggkggkkkgggggggggggkkkggggggggggkkkgggggggggggkkkggkggg"
    "gggkgggkkggggggggggggkkggggggggggkkggggggggggggkkgggkggg"
    "gggkggggkgggggggggggggkggggggggggkgggggggggggggkggggkggg"
    "gggggggggggggggggggggggggggggggggggggggggggggggggggggggg"
    "gggggggggggggggggggggggggggggggggggggggggggggggggggggggg";

// Control bar button glyphs: close (a cross), minimise while docked left or
// right (a triangle up) and while docked top or bottom (a triangle left), 13 x 13
// each, on pure green.
constexpr char kBarButtonsPalette[] = "g=00FF00;k=000000";
// 39 x 13
constexpr char kBarButtonsPixels[] =
    "ggggggggggggggggggggggggggggggggggggggg"
    "ggggggggggggggggggggggggggggggggggggggg"
    "ggggggggggggggggggggggggggggggggggggggg"
    "gggkkgggkkgggggggggggggggggggggggkggggg"
    "ggggkkgkkggggggggggkggggggggggggkkggggg"
    "gggggkkkggggggggggkkkggggggggggkkkggggg"
    "gggggkkkgggggggggkkkkkggggggggkkkkggggg"
    "ggggkkgkkgggggggkkkkkkkggggggggkkkggggg"
    "gggkkgggkkggggggggggggggggggggggkkggggg"
    "gggggggggggggggggggggggggggggggggkggggg"
    "ggggggggggggggggggggggggggggggggggggggg"
    "ggggggggggggggggggggggggggggggggggggggg"
    "ggggggggggggggggggggggggggggggggggggggg";
