// Handle table: maps the engine's integer handles (textures, sound effects) to
// the objects they stand for, and owns those objects. Handles start at 1 and are
// never reused while the table lives, so a stale handle finds nothing instead of
// another object.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>

template <typename Entry>
class HandleTable {
public:
    // Stores the entry and returns its new handle (never 0).
    std::uint32_t Add(Entry entry) {
        if (next == 0) next = 1;  // after a wrap-around, 0 stays "no handle"
        const std::uint32_t handle = next++;
        entries[handle] = std::move(entry);
        return handle;
    }
    // Null for 0, a freed or an unknown handle.
    Entry* Find(std::uint32_t handle) {
        auto found = entries.find(handle);
        return found == entries.end() ? nullptr : &found->second;
    }
    const Entry* Find(std::uint32_t handle) const {
        auto found = entries.find(handle);
        return found == entries.end() ? nullptr : &found->second;
    }
    // Frees the entry; false when the handle names none.
    bool Remove(std::uint32_t handle) { return entries.erase(handle) == 1; }
    void Clear() { entries.clear(); }
    // Calls visit(entry) for every entry, in no particular order.
    template <typename Visit>
    void ForEach(Visit visit) {
        for (auto& item : entries) visit(item.second);
    }
    std::size_t Size() const { return entries.size(); }

private:
    std::unordered_map<std::uint32_t, Entry> entries;
    std::uint32_t next = 1;
};
