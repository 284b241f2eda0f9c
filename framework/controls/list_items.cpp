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
    auto rest = static_cast<std::size_t>(index);
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        if (rest < chunks_[c].size()) return Place{c, rest};
        rest -= chunks_[c].size();
    }
    // One past the end: the end of the last chunk.
    return chunks_.empty() ? Place{0, 0} : Place{chunks_.size() - 1, chunks_.back().size()};
}

ListItem& ListItems::At(int index) {
    Place p = Locate(index);
    return *chunks_[p.chunk][p.offset];
}

const ListItem& ListItems::At(int index) const {
    Place p = Locate(index);
    return *chunks_[p.chunk][p.offset];
}

// Everything that can run out of memory happens before the first item moves.
void ListItems::SplitIfFull(std::size_t chunk) {
    if (chunks_[chunk].size() < kChunkItems) return;
    chunks_.reserve(chunks_.size() + 1);
    Chunk tail;
    tail.reserve(kChunkItems);
    auto& head = chunks_[chunk];
    const auto half = static_cast<std::ptrdiff_t>(head.size() / 2);
    std::move(head.begin() + half, head.end(), std::back_inserter(tail));
    head.erase(head.begin() + half, head.end());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, std::move(tail));
}

void ListItems::Insert(int index, ListItem&& item) {
    auto owned = std::make_unique<ListItem>(std::move(item));
    if (chunks_.empty()) {
        Chunk first;
        first.push_back(std::move(owned));
        chunks_.push_back(std::move(first));
        count_ = 1;
        return;
    }
    Place p = Locate(index);
    SplitIfFull(p.chunk);
    p = Locate(index);
    auto& chunk = chunks_[p.chunk];
    // A single insert whose items move without throwing is all or nothing.
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(p.offset), std::move(owned));
    ++count_;
}

void ListItems::Erase(int index) {
    Place p = Locate(index);
    auto& chunk = chunks_[p.chunk];
    chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(p.offset));
    if (chunk.empty()) chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(p.chunk));
    --count_;
}

void ListItems::Clear() {
    chunks_.clear();
    count_ = 0;
}

int ListItems::UpperBound(const std::string& key) const {
    // The first chunk whose last key is greater; the answer lies inside it.
    auto chunk = std::upper_bound(chunks_.begin(), chunks_.end(), key,
                                  [](const std::string& k, const Chunk& c) { return k < c.back()->key; });
    int before = 0;
    for (auto c = chunks_.begin(); c != chunk; ++c) before += static_cast<int>(c->size());
    if (chunk == chunks_.end()) return before;
    auto inside = std::upper_bound(chunk->begin(), chunk->end(), key,
                                   [](const std::string& k, const std::unique_ptr<ListItem>& item) { return k < item->key; });
    return before + static_cast<int>(inside - chunk->begin());
}

}  // namespace tq3::fw::controls
