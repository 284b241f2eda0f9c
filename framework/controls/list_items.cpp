// The chunked item sequence of the list box.
#include "framework/controls/list_items_internal.h"

#include <algorithm>
#include <utility>

namespace tq3::fw::controls {

namespace {

// A chunk that reaches this many items is split in two before it grows further:
// small enough that an insert moves little, large enough that finding an index
// walks few chunks.
constexpr std::size_t kChunkItems = 512;

}  // namespace

ListItems::Place ListItems::Locate(int index) const {
    if (chunks_.empty()) return Place{0, 0};
    // The last chunk that starts at or before `index`; one past the end lands at
    // the end of the last chunk.
    auto after = std::upper_bound(starts_.begin(), starts_.end(), index);
    const auto chunk = static_cast<std::size_t>(after - starts_.begin()) - 1;
    return Place{chunk, static_cast<std::size_t>(index - starts_[chunk])};
}

ListItem& ListItems::At(int index) {
    Place p = Locate(index);
    return *chunks_[p.chunk][p.offset];
}

const ListItem& ListItems::At(int index) const {
    Place p = Locate(index);
    return *chunks_[p.chunk][p.offset];
}

void ListItems::Range(int first, int last, std::vector<const ListItem*>* out) const {
    out->clear();
    if (first > last) return;
    out->reserve(static_cast<std::size_t>(last - first + 1));
    Place p = Locate(first);
    for (int n = last - first + 1; n > 0; --n) {
        if (p.offset == chunks_[p.chunk].size()) p = Place{p.chunk + 1, 0};
        out->push_back(chunks_[p.chunk][p.offset++]);
    }
}

void ListItems::Prefetch(int first, int last) const noexcept {
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (first > last) return;
    Place p = Locate(first);
    for (int n = last - first + 1; n > 0; --n) {
        if (p.offset == chunks_[p.chunk].size()) p = Place{p.chunk + 1, 0};
        __builtin_prefetch(chunks_[p.chunk][p.offset++]);
    }
}

void ListItems::Shift(std::size_t chunk, int by) {
    for (std::size_t c = chunk + 1; c < starts_.size(); ++c) starts_[c] += by;
}

// Everything that can run out of memory happens before the first item moves.
void ListItems::SplitIfFull(std::size_t chunk) {
    if (chunks_[chunk].size() < kChunkItems) return;
    chunks_.reserve(chunks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    Chunk tail;
    tail.reserve(kChunkItems);
    auto& head = chunks_[chunk];
    const auto half = static_cast<std::ptrdiff_t>(head.size() / 2);
    std::move(head.begin() + half, head.end(), std::back_inserter(tail));
    head.erase(head.begin() + half, head.end());
    const auto at = static_cast<std::ptrdiff_t>(chunk) + 1;
    chunks_.insert(chunks_.begin() + at, std::move(tail));
    starts_.insert(starts_.begin() + at, starts_[chunk] + static_cast<int>(half));
}

void ListItems::Insert(int index, ListItem&& item) {
    auto owned = std::make_unique<ListItem>(std::move(item));
    if (chunks_.empty()) {
        starts_.reserve(1);
        Chunk first;
        first.push_back(owned.get());
        chunks_.push_back(std::move(first));
        starts_.push_back(0);
        owned.release();
        count_ = 1;
        return;
    }
    Place p = Locate(index);
    SplitIfFull(p.chunk);
    p = Locate(index);
    auto& chunk = chunks_[p.chunk];
    // A single insert of a pointer is all or nothing; the item is the chunk's
    // once it is in.
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(p.offset), owned.get());
    owned.release();
    Shift(p.chunk, 1);
    ++count_;
}

void ListItems::Erase(int index) {
    Place p = Locate(index);
    auto& chunk = chunks_[p.chunk];
    delete chunk[p.offset];
    chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(p.offset));
    Shift(p.chunk, -1);
    if (chunk.empty()) {
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(p.chunk));
        starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(p.chunk));
    }
    --count_;
}

void ListItems::Clear() {
    for (Chunk& chunk : chunks_) {
        for (ListItem* item : chunk) delete item;
    }
    chunks_.clear();
    starts_.clear();
    count_ = 0;
}

int ListItems::UpperBound(const std::string& key) const {
    // The first chunk whose last key is greater; the answer lies inside it.
    auto chunk = std::upper_bound(chunks_.begin(), chunks_.end(), key,
                                  [](const std::string& k, const Chunk& c) { return k < c.back()->key; });
    if (chunk == chunks_.end()) return count_;
    const int before = starts_[static_cast<std::size_t>(chunk - chunks_.begin())];
    auto inside = std::upper_bound(chunk->begin(), chunk->end(), key,
                                   [](const std::string& k, const ListItem* item) { return k < item->key; });
    return before + static_cast<int>(inside - chunk->begin());
}

}  // namespace tq3::fw::controls
