// Cursors: the standard shapes behind LoadCursorW(NULL, IDC_*), image cursors made
// from resources, and the pointer shape shown through the backend.
#include <algorithm>
#include <memory>
#include <vector>

#include "framework/window/cursor.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw {

namespace {

struct CursorObject {
    CursorShape shape = CursorShape::Arrow;
    CursorImage image;
};

struct StandardCursor {
    WORD id;
    CursorObject object;
};

StandardCursor* StandardCursors() {
    static StandardCursor table[] = {
        {32512, {CursorShape::Arrow, {}}},   {32513, {CursorShape::IBeam, {}}},
        {32514, {CursorShape::Wait, {}}},    {32515, {CursorShape::Cross, {}}},
        {32516, {CursorShape::UpArrow, {}}}, {32640, {CursorShape::SizeAll, {}}},
        {32641, {CursorShape::Arrow, {}}},   {32642, {CursorShape::SizeNWSE, {}}},
        {32643, {CursorShape::SizeNESW, {}}}, {32644, {CursorShape::SizeWE, {}}},
        {32645, {CursorShape::SizeNS, {}}},  {32646, {CursorShape::SizeAll, {}}},
        {32648, {CursorShape::No, {}}},      {32649, {CursorShape::Hand, {}}},
        {32650, {CursorShape::AppStarting, {}}}, {32651, {CursorShape::Help, {}}},
    };
    return table;
}
constexpr size_t kStandardCount = 16;

std::vector<std::unique_ptr<CursorObject>>& Custom() {
    static std::vector<std::unique_ptr<CursorObject>> list;
    return list;
}

CursorResourceLoader& Loader() {
    static CursorResourceLoader loader = nullptr;
    return loader;
}

const CursorObject* Lookup(HCURSOR cursor) {
    if (cursor == nullptr) return nullptr;
    auto* p = reinterpret_cast<const CursorObject*>(cursor);
    StandardCursor* table = StandardCursors();
    for (size_t i = 0; i < kStandardCount; ++i) {
        if (&table[i].object == p) return p;
    }
    for (auto& c : Custom()) {
        if (c.get() == p) return p;
    }
    return nullptr;
}

}  // namespace

HCURSOR CreateCursorFromImage(const CursorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        return nullptr;
    try {
        auto c = std::make_unique<CursorObject>();
        c->shape = CursorShape::Custom;
        c->image = image;
        HCURSOR h = reinterpret_cast<HCURSOR>(c.get());
        Custom().push_back(std::move(c));
        return h;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void SetCursorResourceLoader(CursorResourceLoader loader) { Loader() = loader; }

CursorShape GetCursorShape(HCURSOR cursor) {
    const CursorObject* c = Lookup(cursor);
    return c ? c->shape : CursorShape::None;
}

CursorShape CurrentCursorShape() {
    if (wm::S().cursorShowCount < 0) return CursorShape::None;
    return GetCursorShape(wm::S().cursor);
}

}  // namespace tq3::fw

namespace tq3::fw::wm {

void SetCursorShapeFrom(HCURSOR cursor) {
    State& s = S();
    const CursorObject* c = Lookup(cursor);
    CursorShape shape = s.cursorShowCount < 0 || c == nullptr ? CursorShape::None : c->shape;
    CurrentBackend().SetCursorShape(shape, (c != nullptr && shape == CursorShape::Custom) ? &c->image : nullptr);
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (name == nullptr) return nullptr;
    if (instance == nullptr && IS_INTRESOURCE(name)) {
        auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        StandardCursor* table = StandardCursors();
        for (size_t i = 0; i < kStandardCount; ++i) {
            if (table[i].id == id) return reinterpret_cast<HCURSOR>(&table[i].object);
        }
        return nullptr;
    }
    return Loader() ? Loader()(instance, name) : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    State& s = S();
    HCURSOR old = s.cursor;
    s.cursor = cursor;
    if (old != cursor) SetCursorShapeFrom(cursor);
    return old;
}

HCURSOR GetCursor() { return S().cursor; }

int ShowCursor(BOOL show) {
    State& s = S();
    s.cursorShowCount += show ? 1 : -1;
    SetCursorShapeFrom(s.cursor);
    return s.cursorShowCount;
}

BOOL DestroyCursor(HCURSOR cursor) {
    auto& list = Custom();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](auto& c) { return reinterpret_cast<HCURSOR>(c.get()) == cursor; });
    if (it == list.end()) return Lookup(cursor) != nullptr ? TRUE : FALSE;  // standard cursors are shared
    if (S().cursor == cursor) SetCursor(nullptr);
    list.erase(it);
    return TRUE;
}
