// Global memory blocks. A fixed block's handle is the address of its bytes; a
// movable block's handle is the address of its record, so the bytes can move on
// reallocation while the handle stays. Every handle is checked against the table,
// so a stale or foreign handle is refused instead of followed.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

#include "framework/system/global_memory.h"

namespace {

// Requests beyond this are refused outright rather than attempted.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 40;

struct Block {
    BYTE* data = nullptr;
    SIZE_T size = 0;
    bool movable = false;
    int locks = 0;
    UINT flags = 0;
    Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    // Blocks still held when the process ends (the clipboard's, typically) go with the table.
    ~Block() { std::free(data); }
};

std::unordered_map<void*, std::unique_ptr<Block>>& Table() {
    static std::unordered_map<void*, std::unique_ptr<Block>> table;
    return table;
}

Block* Find(HGLOBAL handle) {
    if (handle == nullptr) return nullptr;
    auto& t = Table();
    auto it = t.find(handle);
    return it == t.end() ? nullptr : it->second.get();
}

BYTE* Allocate(SIZE_T bytes, bool zero) {
    // One byte at least, so that every block has an address of its own.
    void* p = zero ? std::calloc(std::max<SIZE_T>(bytes, 1), 1) : std::malloc(std::max<SIZE_T>(bytes, 1));
    return static_cast<BYTE*>(p);
}

HGLOBAL HandleOf(Block* b) { return b->movable ? static_cast<void*>(b) : static_cast<void*>(b->data); }

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > kMaxBlock) return nullptr;
    try {
        auto b = std::make_unique<Block>();
        b->data = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
        if (b->data == nullptr) return nullptr;
        b->size = bytes;
        b->movable = (flags & GMEM_MOVEABLE) != 0;
        b->flags = flags & (GMEM_DISCARDABLE | GMEM_SHARE);
        HGLOBAL h = HandleOf(b.get());
        try {
            Table().emplace(h, std::move(b));
        } catch (const std::bad_alloc&) {
            return nullptr;  // the block's destructor frees the bytes
        }
        return h;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags) {
    Block* b = Find(block);
    if (b == nullptr) return nullptr;
    if (flags & GMEM_MODIFY) {
        if (flags & GMEM_DISCARDABLE) b->flags |= GMEM_DISCARDABLE;
        return block;
    }
    if (bytes > kMaxBlock) return nullptr;
    // A fixed block keeps its address (its handle) unless the caller allows a move.
    if (!b->movable && bytes > b->size && !(flags & GMEM_MOVEABLE)) return nullptr;
    BYTE* fresh = Allocate(bytes, false);
    if (fresh == nullptr) return nullptr;
    std::memcpy(fresh, b->data, std::min(bytes, b->size));
    if (bytes > b->size && (flags & GMEM_ZEROINIT)) std::memset(fresh + b->size, 0, bytes - b->size);
    if (b->movable) {
        std::free(b->data);
        b->data = fresh;
        b->size = bytes;
        return block;
    }
    auto& t = Table();
    auto node = t.extract(block);
    std::free(b->data);
    b->data = fresh;
    b->size = bytes;
    node.key() = fresh;
    t.insert(std::move(node));
    return fresh;
}

LPVOID GlobalLock(HGLOBAL block) {
    Block* b = Find(block);
    if (b == nullptr) return nullptr;
    if (b->movable && b->locks < static_cast<int>(GMEM_LOCKCOUNT)) ++b->locks;
    return b->data;
}

BOOL GlobalUnlock(HGLOBAL block) {
    Block* b = Find(block);
    if (b == nullptr || !b->movable || b->locks == 0) return FALSE;
    --b->locks;
    return b->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL block) {
    Block* b = Find(block);
    return b ? b->size : 0;
}

UINT GlobalFlags(HGLOBAL block) {
    Block* b = Find(block);
    if (b == nullptr) return GMEM_INVALID_HANDLE;
    return b->flags | static_cast<UINT>(b->locks);
}

HGLOBAL GlobalHandle(LPCVOID pointer) {
    if (pointer == nullptr) return nullptr;
    for (auto& [h, b] : Table()) {
        if (b->data == pointer) return h;
    }
    return nullptr;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    auto& t = Table();
    auto it = t.find(block);
    if (block == nullptr || it == t.end()) return block;
    t.erase(it);
    return nullptr;
}
