// A resource library for the module tests: a string, a menu and two
// pictures, one of them damaged (its pixel text is short).
#include "framework/system/resource_table.h"

namespace {

constexpr char16_t kOne[] = u"one from the module";
constexpr TQ3MenuItemData kItems[] = {
    {TQ3_MENU_POPUP | TQ3_MENU_END, 0, u"Menu"},
    {TQ3_MENU_END, 7, u"&Item"},
};
constexpr TQ3MenuData kMenu = {2, kItems};
constexpr TQ3ImageData kPicture = {3, 2, 1, 1, "r=FF0000;b=0000FF;.=-", "r.b.br"};
constexpr TQ3ImageData kShortPicture = {4, 4, 0, 0, "r=FF0000", "rrrr"};

constexpr TQ3ResourceEntry kEntries[] = {
    {TQ3_RES_STRING, 1, sizeof(kOne) / 2 - 1, kOne},
    {TQ3_RES_MENU, 50, sizeof(TQ3MenuData), &kMenu},
    {TQ3_RES_BITMAP, 60, sizeof(TQ3ImageData), &kPicture},
    {TQ3_RES_GROUP_CURSOR, 61, sizeof(TQ3ImageData), &kPicture},
    {TQ3_RES_BITMAP, 62, sizeof(TQ3ImageData), &kShortPicture},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = {
    TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, sizeof(kEntries) / sizeof(kEntries[0]), kEntries};
