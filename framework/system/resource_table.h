// The contents of a resource library, as data. Every module that carries resources
// (the view library itself, each language library, a host program if it wants to)
// exports one table under the C name tq3_resource_table: a list of entries, each a
// resource type, an id and a pointer to the resource's data. Nothing in a table is
// code, so a language library is a shared object of constant data only and needs
// no other library at run time.
//
// This header is plain C++ with fixed-width types so that resource libraries can
// include it without the framework.
#pragma once

#include <stdint.h>

#define TQ3_RESOURCE_TABLE_NAME "tq3_resource_table"

// The table's first word; a symbol of that name without it is not read.
#define TQ3_RESOURCE_MAGIC 0x52335154u  // "TQ3R"
#define TQ3_RESOURCE_VERSION 1u

// Resource types, numbered as the platform numbers them.
enum : uint16_t {
    TQ3_RES_CURSOR = 1,
    TQ3_RES_BITMAP = 2,
    TQ3_RES_MENU = 4,
    TQ3_RES_DIALOG = 5,
    TQ3_RES_STRING = 6,
    TQ3_RES_ACCELERATOR = 9,
    TQ3_RES_GROUP_CURSOR = 12,
};

// A string table entry: `data` points at the UTF-16 text with a terminating zero;
// `size` is its length in code units (the zero not counted).

// A menu: a flat list of items in the order a menu template lists them. An item
// with TQ3_MENU_POPUP opens a submenu made of the items that follow up to and
// including the one marked TQ3_MENU_END; TQ3_MENU_END on a top-level item ends the
// menu. Flag values are the platform's MF_* bits.
enum : uint16_t {
    TQ3_MENU_GRAYED = 0x0001,
    TQ3_MENU_POPUP = 0x0010,
    TQ3_MENU_END = 0x0080,
    TQ3_MENU_SEPARATOR = 0x0800,
};
struct TQ3MenuItemData {
    uint16_t flags;
    uint16_t id;           // command id; 0 for popups and separators
    const char16_t* text;  // null for separators
};
struct TQ3MenuData {
    uint16_t count;
    const TQ3MenuItemData* items;
};

// An accelerator table: keys (with the platform's FVIRTKEY, FSHIFT, FCONTROL and
// FALT flags) and the commands they issue.
struct TQ3AcceleratorEntryData {
    uint16_t flags;
    uint16_t key;      // a virtual-key code with FVIRTKEY, else a character
    uint16_t command;
};
struct TQ3AcceleratorData {
    uint16_t count;
    const TQ3AcceleratorEntryData* entries;
};

// A dialog template in dialog units, with the platform's style bits.
struct TQ3DialogItemData {
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
    uint16_t id;                  // 0xFFFF for controls without an id (IDC_STATIC)
    const char16_t* windowClass;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", ...
    const char16_t* text;
};
struct TQ3DialogData {
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
    const char16_t* title;
    uint16_t pointSize;
    const char16_t* faceName;
    uint16_t itemCount;
    const TQ3DialogItemData* items;
};

// A picture (bitmap or cursor) as text art: `pixels` has width * height
// characters, row by row from the top; `palette` maps each character to a colour
// as "c=RRGGBB" entries separated by ';', with "c=-" for a transparent pixel
// (cursors only). The hot spot is meaningful for cursors.
struct TQ3ImageData {
    uint16_t width, height;
    int16_t hotX, hotY;
    const char* palette;
    const char* pixels;
};

struct TQ3ResourceEntry {
    uint16_t type;
    uint16_t id;
    uint32_t size;     // strings: length in code units; others: size of the record
    const void* data;  // char16_t text, TQ3MenuData, TQ3AcceleratorData, TQ3DialogData or TQ3ImageData
};

struct TQ3ResourceTable {
    uint32_t magic;    // TQ3_RESOURCE_MAGIC
    uint32_t version;  // TQ3_RESOURCE_VERSION
    uint32_t count;
    const TQ3ResourceEntry* entries;
};
