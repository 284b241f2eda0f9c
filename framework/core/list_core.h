// The doubly linked list behind CObList, CPtrList and CStringList.
//
// Nodes are carved out of blocks of `blockSize` nodes and recycled through a
// free list, so adding and removing elements rarely touches the heap; all blocks
// go back to the heap when the list becomes empty.
//
// Positions are node addresses. A position stays valid until its own element is
// removed, so a caller may remove the element it has just stepped past:
//
//   for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
//       POSITION here = pos;
//       if (Unwanted(list.GetNext(pos))) list.RemoveAt(here);
//   }
//
// A null position is handled everywhere (reads give a default element, writes and
// removals do nothing); a position from another list or of a removed element is
// a caller's bug that is not detected. Adding throws std::bad_alloc when memory
// runs out, leaving the list as it was.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "framework/core/wintypes.h"

// An opaque handle to a list element (never defined, only pointed to).
struct Tq3ListPosition;
using POSITION = Tq3ListPosition*;

namespace tq3::fw::detail {

template <typename T>
class ListCore {
public:
    explicit ListCore(INT_PTR blockSize) : m_blockSize(blockSize > 0 ? blockSize : 1) {}
    ~ListCore() { RemoveAll(); }
    ListCore(const ListCore&) = delete;
    ListCore& operator=(const ListCore&) = delete;

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    T& GetHead() { return m_head ? m_head->Data() : None(); }
    const T& GetHead() const { return m_head ? m_head->Data() : None(); }
    T& GetTail() { return m_tail ? m_tail->Data() : None(); }
    const T& GetTail() const { return m_tail ? m_tail->Data() : None(); }

    // Removing from an empty list gives a default element.
    T RemoveHead() { return Take(m_head); }
    T RemoveTail() { return Take(m_tail); }

    POSITION AddHead(const T& value) { return ToPosition(Link(nullptr, m_head, value)); }
    POSITION AddTail(const T& value) { return ToPosition(Link(m_tail, nullptr, value)); }
    // Adds copies of another list's elements (the list itself is allowed) in their
    // order, in front of or after the present ones. All or nothing.
    void AddHead(const ListCore* other) { AddAll(other, true); }
    void AddTail(const ListCore* other) { AddAll(other, false); }

    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION pos, const T& value) {
        Node* at = ToNode(pos);
        return at ? ToPosition(Link(at->prev, at, value)) : AddHead(value);
    }
    POSITION InsertAfter(POSITION pos, const T& value) {
        Node* at = ToNode(pos);
        return at ? ToPosition(Link(at, at->next, value)) : AddTail(value);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_head); }
    POSITION GetTailPosition() const { return ToPosition(m_tail); }

    // The element at `pos`; `pos` moves to the next (previous) one, null past the end.
    T& GetNext(POSITION& pos) { return Step(pos, true); }
    const T& GetNext(POSITION& pos) const { return const_cast<ListCore*>(this)->Step(pos, true); }
    T& GetPrev(POSITION& pos) { return Step(pos, false); }
    const T& GetPrev(POSITION& pos) const { return const_cast<ListCore*>(this)->Step(pos, false); }

    T& GetAt(POSITION pos) { return pos ? ToNode(pos)->Data() : None(); }
    const T& GetAt(POSITION pos) const { return pos ? ToNode(pos)->Data() : None(); }
    void SetAt(POSITION pos, const T& value) {
        if (pos) ToNode(pos)->Data() = value;
    }

    void RemoveAt(POSITION pos) {
        if (pos) Unlink(ToNode(pos));
    }

    void RemoveAll() {
        for (Node* n = m_head; n != nullptr; n = n->next) n->Data().~T();
        while (m_blocks != nullptr) {
            Block* next = m_blocks->next;
            ::operator delete(m_blocks);
            m_blocks = next;
        }
        m_head = m_tail = m_free = nullptr;
        m_count = 0;
    }

    // The first element after `startAfter` (from the head when null) equal to `value`.
    template <typename V>
    POSITION Find(const V& value, POSITION startAfter = nullptr) const {
        for (Node* n = startAfter ? ToNode(startAfter)->next : m_head; n != nullptr; n = n->next) {
            if (n->Data() == value) return ToPosition(n);
        }
        return nullptr;
    }

    // The position of the element at a 0-based index, or null when out of range.
    // Walks from the nearer end.
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0 || index >= m_count) return nullptr;
        Node* n;
        if (index <= m_count / 2) {
            for (n = m_head; index > 0; --index) n = n->next;
        } else {
            n = m_tail;
            for (INT_PTR back = m_count - 1 - index; back > 0; --back) n = n->prev;
        }
        return ToPosition(n);
    }

private:
    struct Node {
        Node* next;
        Node* prev;
        alignas(T) unsigned char storage[sizeof(T)];  // the element, alive while linked
        T& Data() { return *std::launder(reinterpret_cast<T*>(storage)); }
    };
    struct alignas(std::max_align_t) Block {
        Block* next;  // the nodes follow the header
    };

    static POSITION ToPosition(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* ToNode(POSITION pos) { return reinterpret_cast<Node*>(pos); }

    // The element handed out for a null position or an empty list; reset on each use.
    T& None() const {
        m_none = T();
        return m_none;
    }

    void Grow() {
        const std::size_t bytes = sizeof(Block) + static_cast<std::size_t>(m_blockSize) * sizeof(Node);
        Block* block = new (::operator new(bytes)) Block{m_blocks};
        m_blocks = block;
        Node* nodes = reinterpret_cast<Node*>(block + 1);
        for (INT_PTR i = m_blockSize - 1; i >= 0; --i) {
            Node* n = new (&nodes[i]) Node;
            n->next = m_free;
            m_free = n;
        }
    }

    Node* Link(Node* prev, Node* next, const T& value) {
        if (m_free == nullptr) Grow();
        Node* n = m_free;
        new (n->storage) T(value);  // may throw; the node is still on the free list then
        m_free = n->next;
        n->prev = prev;
        n->next = next;
        (prev ? prev->next : m_head) = n;
        (next ? next->prev : m_tail) = n;
        ++m_count;
        return n;
    }

    void Unlink(Node* n) {
        (n->prev ? n->prev->next : m_head) = n->next;
        (n->next ? n->next->prev : m_tail) = n->prev;
        n->Data().~T();
        n->next = m_free;
        m_free = n;
        if (--m_count == 0) RemoveAll();  // give the blocks back
    }

    T Take(Node* n) {
        if (n == nullptr) return T();
        T value = std::move(n->Data());
        Unlink(n);
        return value;
    }

    T& Step(POSITION& pos, bool forward) {
        Node* n = ToNode(pos);
        if (n == nullptr) return None();
        pos = ToPosition(forward ? n->next : n->prev);
        return n->Data();
    }

    void AddAll(const ListCore* other, bool atHead) {
        if (other == nullptr) return;
        const INT_PTR count = other->m_count;  // fixed first: `other` may be this list
        INT_PTR added = 0;
        try {
            Node* n = atHead ? other->m_tail : other->m_head;
            for (; added < count; ++added) {
                // Read the neighbour before adding: adding to this list may change it.
                Node* following = atHead ? n->prev : n->next;
                if (atHead) AddHead(n->Data()); else AddTail(n->Data());
                n = following;
            }
        } catch (...) {
            for (; added > 0; --added) {
                if (atHead) RemoveHead(); else RemoveTail();
            }
            throw;
        }
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    Node* m_free = nullptr;    // unused nodes of the blocks
    Block* m_blocks = nullptr;
    INT_PTR m_count = 0;
    INT_PTR m_blockSize;       // nodes per block
    mutable T m_none{};
};

}  // namespace tq3::fw::detail
