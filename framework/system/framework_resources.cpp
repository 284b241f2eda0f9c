// The framework's own resources: the pictures the application layer uses whatever
// the host brings (the split cursors of bars and splitters). They sit in a table
// of their own, which the resource search consults after every module of the
// host, so a host may replace any of them by giving its own resource that id.
#include "framework/system/resources.h"

namespace tq3::fw {
namespace {

// Two parallel lines with an arrow to each side, black with a white rim so that
// they show on any background; '.' is transparent. 32 x 32.
constexpr char kSplitPalette[] = "#=000000;o=FFFFFF;.=-";

// For moving a dividing line sideways: the arrows point left and right.
constexpr char kSplitColumnsPixels[] =
    "................................"
    "................................"
    "................................"
    "................................"
    "................................"
    ".............oooooo............."
    ".............o#oo#o............."
    ".............o#oo#o............."
    ".............o#oo#o............."
    ".............o#oo#o............."
    "......o......o#oo#o......o......"
    ".....o#......o#oo#o......#o....."
    "....o##......o#oo#o......##o...."
    "...o###......o#oo#o......###o..."
    "..o####ooooooo#oo#ooooooo####o.."
    ".o###########o#oo#o###########o."
    ".o###########o#oo#o###########o."
    "..o####ooooooo#oo#ooooooo####o.."
    "...o###......o#oo#o......###o..."
    "....o##......o#oo#o......##o...."
    ".....o#......o#oo#o......#o....."
    "......o......o#oo#o......o......"
    ".............o#oo#o............."
    ".............o#oo#o............."
    ".............o#oo#o............."
    ".............o#oo#o............."
    ".............oooooo............."
    "................................"
    "................................"
    "................................"
    "................................"
    "................................"
;

// For moving a dividing line up or down: the arrows point up and down.
constexpr char kSplitRowsPixels[] =
    "................................"
    "...............oo..............."
    "..............o##o.............."
    ".............o####o............."
    "............o######o............"
    "...........o########o..........."
    "..........o##########o.........."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    ".....oooooooooooooooooooooo....."
    ".....o####################o....."
    ".....oooooooooooooooooooooo....."
    ".....oooooooooooooooooooooo....."
    ".....o####################o....."
    ".....oooooooooooooooooooooo....."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..............o##o.............."
    "..........o##########o.........."
    "...........o########o..........."
    "............o######o............"
    ".............o####o............."
    "..............o##o.............."
    "...............oo..............."
    "................................"
;

constexpr TQ3ImageData kSplitColumns{32, 32, 15, 15, kSplitPalette, kSplitColumnsPixels};
constexpr TQ3ImageData kSplitRows{32, 32, 15, 15, kSplitPalette, kSplitRowsPixels};

constexpr TQ3ResourceEntry kEntries[] = {
    {TQ3_RES_GROUP_CURSOR, AFX_IDC_HSPLITBAR, sizeof(TQ3ImageData), &kSplitColumns},
    {TQ3_RES_GROUP_CURSOR, AFX_IDC_VSPLITBAR, sizeof(TQ3ImageData), &kSplitRows},
};

constexpr TQ3ResourceTable kTable{TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION,
                                  static_cast<uint32_t>(sizeof(kEntries) / sizeof(kEntries[0])), kEntries};

// The handle standing for the framework's resources: the address of its table,
// which no loaded module can share.
HINSTANCE Handle() { return reinterpret_cast<HINSTANCE>(const_cast<TQ3ResourceTable*>(&kTable)); }

[[maybe_unused]] const bool registered = [] {
    RegisterResourceTable(Handle(), &kTable);
    return true;
}();

}  // namespace

HINSTANCE FrameworkResourceModule() {
    // Registered again when asked, in case a caller runs before this file's
    // static initialisation.
    [[maybe_unused]] static const bool again = [] {
        RegisterResourceTable(Handle(), &kTable);
        return true;
    }();
    return Handle();
}

}  // namespace tq3::fw
