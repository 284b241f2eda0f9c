// The framework's linked lists: CObList (CObject pointers), CPtrList (untyped
// pointers), CStringList (CString values, owned by the list), and
// CTypedPtrList, which puts a pointer type on top of the first two.
//
// All share the behaviour described in list_core.h: positions, a block of nodes
// allocated at a time (10 by default), null positions handled, std::bad_alloc
// from adding when memory runs out. The pointer lists do not own what their
// elements point to.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/list_core.h"
#include "framework/core/object.h"

class TQ3FW_API CObList : public CObject, public tq3::fw::detail::ListCore<CObject*> {
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10);
    ~CObList() override;

    using ListCore::AddHead;
    using ListCore::AddTail;
    // A list is itself a CObject: these overloads add its elements, not the list.
    void AddHead(const CObList* list) { ListCore::AddHead(static_cast<const ListCore*>(list)); }
    void AddTail(const CObList* list) { ListCore::AddTail(static_cast<const ListCore*>(list)); }
    void AddHead(CObList* list) { AddHead(static_cast<const CObList*>(list)); }
    void AddTail(CObList* list) { AddTail(static_cast<const CObList*>(list)); }
};

class TQ3FW_API CPtrList : public CObject, public tq3::fw::detail::ListCore<void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
    ~CPtrList() override;

    using ListCore::AddHead;
    using ListCore::AddTail;
    // Any pointer converts to void*: these overloads add a list's elements.
    void AddHead(const CPtrList* list) { ListCore::AddHead(static_cast<const ListCore*>(list)); }
    void AddTail(const CPtrList* list) { ListCore::AddTail(static_cast<const ListCore*>(list)); }
    void AddHead(CPtrList* list) { AddHead(static_cast<const CPtrList*>(list)); }
    void AddTail(CPtrList* list) { AddTail(static_cast<const CPtrList*>(list)); }
};

class TQ3FW_API CStringList : public CObject, public tq3::fw::detail::ListCore<CString> {
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10);
    ~CStringList() override;

    using ListCore::AddHead;
    using ListCore::AddTail;
    using ListCore::InsertAfter;
    using ListCore::InsertBefore;
    using ListCore::SetAt;
    // Plain text goes in without the caller building a CString first.
    POSITION AddHead(LPCWSTR text) { return ListCore::AddHead(CString(text)); }
    POSITION AddTail(LPCWSTR text) { return ListCore::AddTail(CString(text)); }
    POSITION InsertBefore(POSITION pos, LPCWSTR text) { return ListCore::InsertBefore(pos, CString(text)); }
    POSITION InsertAfter(POSITION pos, LPCWSTR text) { return ListCore::InsertAfter(pos, CString(text)); }
    void SetAt(POSITION pos, LPCWSTR text) { ListCore::SetAt(pos, CString(text)); }
    // Finds an element equal to `text` by code unit.
    POSITION Find(LPCWSTR text, POSITION startAfter = nullptr) const {
        return ListCore::Find(text ? text : u"", startAfter);
    }
};

// A CObList or CPtrList whose elements are pointers of type TYPE. Elements are
// returned by value.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE GetHead() const { return Cast(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return Cast(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return Cast(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return Cast(BASE_CLASS::RemoveTail()); }
    TYPE GetNext(POSITION& pos) const { return Cast(BASE_CLASS::GetNext(pos)); }
    TYPE GetPrev(POSITION& pos) const { return Cast(BASE_CLASS::GetPrev(pos)); }
    TYPE GetAt(POSITION pos) const { return Cast(BASE_CLASS::GetAt(pos)); }
    void SetAt(POSITION pos, TYPE value) { BASE_CLASS::SetAt(pos, value); }
    POSITION AddHead(TYPE value) { return BASE_CLASS::AddHead(value); }
    POSITION AddTail(TYPE value) { return BASE_CLASS::AddTail(value); }
    void AddHead(const CTypedPtrList* other) { BASE_CLASS::AddHead(static_cast<const BASE_CLASS*>(other)); }
    void AddTail(const CTypedPtrList* other) { BASE_CLASS::AddTail(static_cast<const BASE_CLASS*>(other)); }
    POSITION InsertBefore(POSITION pos, TYPE value) { return BASE_CLASS::InsertBefore(pos, value); }
    POSITION InsertAfter(POSITION pos, TYPE value) { return BASE_CLASS::InsertAfter(pos, value); }
    POSITION Find(TYPE value, POSITION startAfter = nullptr) const {
        return BASE_CLASS::Find(static_cast<typename BaseElement<BASE_CLASS>::Type>(value), startAfter);
    }

private:
    template <class B>
    struct BaseElement {
        using Type = std::remove_cvref_t<decltype(std::declval<const B&>().GetHead())>;
    };
    template <class E>
    static TYPE Cast(E element) {
        return static_cast<TYPE>(element);
    }
};
