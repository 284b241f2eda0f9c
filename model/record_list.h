/// \file
/// tq3::RecordList, the list that holds a sheet's lines and columns.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace tq3 {

/// An ordered list of records that it owns, kept as a vector of pointers: finding
/// the record at a position is one index operation (a sheet of a million lines must
/// not walk a chain to reach line k), inserting and removing move pointers only, and
/// a record keeps its address for as long as it is in the list, so a host may hold
/// on to one it was given.
template <typename Record>
class RecordList {
public:
    /// An empty list.
    RecordList() = default;
    RecordList(const RecordList&) = delete;             ///< owns its records, not copied
    RecordList& operator=(const RecordList&) = delete;  ///< owns its records, not copied
    /// Destroys every record.
    ~RecordList() { RemoveAll(); }

    /// The number of records.
    int GetCount() const noexcept { return static_cast<int>(items.size()); }
    /// Whether the list holds no record.
    bool IsEmpty() const noexcept { return items.empty(); }
    /// Whether `index` names a record: 0 <= index < GetCount().
    bool IsValidIndex(int index) const noexcept {
        // A negative index turns into a size above any count: one comparison.
        return static_cast<std::size_t>(index) < items.size();
    }

    /// The record at `index`, or null when the index names none.
    Record* GetAt(int index) const noexcept { return IsValidIndex(index) ? items[static_cast<size_t>(index)] : nullptr; }

    /// Takes ownership of `record` and puts it before position `index`, or at the
    /// end when `index` is not less than the count. Throws std::bad_alloc (the list
    /// is then unchanged and the record still belongs to the caller).
    void InsertAt(int index, Record* record) {
        if (index < 0 || index >= GetCount()) {
            items.push_back(record);
        } else {
            items.insert(items.begin() + index, record);
        }
    }

    /// Destroys the record at `index`; false when the index names none.
    bool RemoveAt(int index) noexcept {
        if (!IsValidIndex(index)) return false;
        Record* record = items[static_cast<size_t>(index)];
        items.erase(items.begin() + index);
        delete record;
        return true;
    }

    /// Destroys every record.
    void RemoveAll() noexcept {
        for (Record* record : items) delete record;
        items.clear();
    }

    /// Walking in order: the first record's place (each place holds a record pointer).
    auto begin() const noexcept { return items.begin(); }
    /// Walking in order: the place after the last record.
    auto end() const noexcept { return items.end(); }

private:
    std::vector<Record*> items;
};

}  // namespace tq3
