// The one table of numbered objects every kind (windows, sprites, images,
// fonts, sounds, files, directory scans) keeps its objects in, so all kinds
// follow the same rules:
//  - numbers 0 .. kServiceMaxNumber are the caller's to choose; kServiceAuto
//    makes a fresh reference (>= kServiceReferenceBase, never reused);
//  - creating under a number or live reference frees the object there first,
//    and a creation that then fails leaves it empty;
//  - any other number is refused and changes nothing;
//  - objects of kinds with handles get a fresh handle at every creation.
#pragma once

#include <unordered_map>
#include <utility>

#include "services_internal.h"

namespace svc {

template <class T>
class NumberedTable {
public:
    // Releases what an object holds, just before it is dropped.
    using OnFree = void (*)(T& object, int handle);

    NumberedTable(Kind kind, OnFree onFree) : kind_(kind), onFree_(onFree) {}
    NumberedTable(const NumberedTable&) = delete;
    NumberedTable& operator=(const NumberedTable&) = delete;

    // Where a creation under `number` goes, after freeing what is there; -1 when refused.
    int Claim(int number) {
        if (number == kServiceAuto) return NewId();
        const bool callers = number >= 0 && number <= kServiceMaxNumber;
        if (!callers && (number < kServiceReferenceBase || !entries_.contains(number))) return -1;
        Free(number);
        return number;
    }

    // Stores a created object under a claimed key; the creation's result
    // (1, or the reference for kServiceAuto).
    int Store(int number, int key, T object) {
        int handle = 0;
        if (kind_ != Kind::None) {
            handle = NewId();
            RegisterHandle(handle, kind_, key);
        }
        entries_.insert_or_assign(key, Entry{std::move(object), handle});
        return number == kServiceAuto ? key : 1;
    }

    T* Find(int number) {
        auto it = entries_.find(number);
        return it == entries_.end() ? nullptr : &it->second.object;
    }
    // The handle of an object, 0 for an empty number.
    int Handle(int number) const {
        auto it = entries_.find(number);
        return it == entries_.end() ? 0 : it->second.handle;
    }
    // The key of the object a handle names, -1 when it names none of this table's.
    int KeyOfHandle(int handle) const {
        const HandleTarget h = LookupHandle(handle);
        return h.kind == kind_ && kind_ != Kind::None && entries_.contains(h.key) ? h.key : -1;
    }
    T* FindByHandle(int handle) {
        const int key = KeyOfHandle(handle);
        return key < 0 ? nullptr : Find(key);
    }

    void Free(int number) {
        auto it = entries_.find(number);
        if (it == entries_.end()) return;
        Entry entry = std::move(it->second);
        entries_.erase(it);
        Release(entry.object, entry.handle);
    }
    void Clear() {
        while (!entries_.empty()) Free(entries_.begin()->first);
    }

private:
    struct Entry {
        T object;    // the object itself
        int handle;  // its handle, 0 for kinds without
    };
    void Release(T& object, int handle) {
        if (onFree_) onFree_(object, handle);
        if (handle) DropHandle(handle);
    }

    Kind kind_;                             // kind its handles name, None for none
    OnFree onFree_;                         // releases an object's resources
    std::unordered_map<int, Entry> entries_;  // by number or reference
};

}  // namespace svc
