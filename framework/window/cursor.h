// Cursor objects behind HCURSOR: the standard shapes LoadCursorW hands out and
// image cursors made from resources.
#pragma once

#include "framework/window/backend.h"

namespace tq3::fw {

// Makes a cursor from an image (a resource's cursor); destroy it with DestroyCursor.
// Null when the image is empty or memory runs out.
TQ3FW_API HCURSOR CreateCursorFromImage(const CursorImage& image);

// Loads a cursor resource of a module (LoadCursorW with an instance); the resource
// layer registers it. Without one, such loads fail with a null handle.
using CursorResourceLoader = HCURSOR (*)(HINSTANCE instance, LPCWSTR name);
TQ3FW_API void SetCursorResourceLoader(CursorResourceLoader loader);

// What `cursor` shows; CursorShape::None for a null or unknown handle.
TQ3FW_API CursorShape GetCursorShape(HCURSOR cursor);

// The shape the pointer shows now, after SetCursor and ShowCursor.
TQ3FW_API CursorShape CurrentCursorShape();

}  // namespace tq3::fw
