// The items of a list box, kept for lists of any length: a sequence of chunks, so
// that inserting into a list of 100,000 items moves a few hundred of them, not
// all, and a sorted insert is a binary search over the chunks and then within one.
// Each chunk's first index is kept beside it, so that finding an index is a
// binary search too rather than a walk over every chunk before it.
// Private to framework/controls/.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/wintypes.h"

namespace tq3::fw::controls {

struct ListItem {
    std::u16string text;    // what the item shows; empty for owner-drawn items without strings
    std::string key;        // collation sort key of `text`, only in a sorted list
    ULONG_PTR data = 0;     // LB_SETITEMDATA's value (the item itself for owner-drawn items without strings)
    bool selected = false;  // part of the selection of an extended-selection list
};

class ListItems {
public:
    ListItems() = default;
    ListItems(const ListItems&) = delete;
    ListItems& operator=(const ListItems&) = delete;
    ~ListItems() { Clear(); }

    int Count() const { return count_; }
    ListItem& At(int index);
    const ListItem& At(int index) const;

    // Inserts `item` before `index` (0 to Count()). When memory runs out the
    // exception leaves the items as they were.
    void Insert(int index, ListItem&& item);
    void Erase(int index);
    void Clear();

    // The items `first` to `last` (both in range), in order, found with one
    // look-up: the items a page shows lie in one chunk or two, so walking the
    // chunks costs less than finding each index on its own.
    void Range(int first, int last, std::vector<const ListItem*>* out) const;
    // Asks the processor to bring items `first` to `last` (clamped to the list)
    // into its cache, ahead of a paint that will read them.
    void Prefetch(int first, int last) const noexcept;

    // The index after the last item whose key is not greater than `key`: where a
    // new item with that key goes so that equal items keep their order of arrival.
    int UpperBound(const std::string& key) const;

private:
    // Where an index lies: the chunk, and the index inside it.
    struct Place {
        std::size_t chunk;
        std::size_t offset;
    };
    Place Locate(int index) const;
    void SplitIfFull(std::size_t chunk);
    // Moves the first index of every chunk after `chunk` by `by` items.
    void Shift(std::size_t chunk, int by);

    // Items are held by plain pointers that the sequence owns, so that an insert
    // shifts a chunk with one memory move, not an element at a time.
    using Chunk = std::vector<ListItem*>;
    std::vector<Chunk> chunks_;  // never holds an empty chunk
    std::vector<int> starts_;    // index of each chunk's first item, one entry per chunk
    int count_ = 0;              // items in all chunks
};

}  // namespace tq3::fw::controls
