// CObject, the common base of framework and library classes, with run-time class
// information.
//
// Each class that declares run-time information has one CRuntimeClass record: its
// name, its size, its base class's record and, for classes that support dynamic
// creation, a function that makes a default-constructed object. Records are
// registered while the shared object that defines them is loaded (and removed
// again if it is unloaded), so CRuntimeClass::FromName finds every class of every
// loaded library by name.
//
//   class CDog : public CAnimal {
//       DECLARE_DYNCREATE(CDog)
//   protected:
//       CDog();  // dynamic creation still works: CreateObject is a member
//   };
//   IMPLEMENT_DYNCREATE(CDog, CAnimal)   // in one .cpp file
//
//   CObject* p = CRuntimeClass::CreateObject("CDog");
//   if (CAnimal* a = DYNAMIC_DOWNCAST(CAnimal, p)) ...
#pragma once

#include <cassert>
#include <new>

#include "framework/core/wintypes.h"

class CObject;

struct TQ3FW_API CRuntimeClass {
    LPCSTR m_lpszClassName;            // the class's name as written in its declaration
    int m_nObjectSize;                 // sizeof the class
    UINT m_wSchema;                    // 0xFFFF: no stored-object schema
    CObject* (*m_pfnCreateObject)();   // null unless the class supports dynamic creation
    CRuntimeClass* m_pBaseClass;       // null only for CObject
    CRuntimeClass* m_pNextClass;       // next registered record (maintained by the registry)

    // A new default-constructed object, or null when the class does not support
    // dynamic creation or memory runs out. The caller owns the object.
    CObject* CreateObject() const;
    // TRUE when this class is `base` or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;

    // The registered record with this exact name, or null.
    static CRuntimeClass* FromName(LPCSTR className);
    static CRuntimeClass* FromName(LPCWSTR className);
    // FromName followed by CreateObject; null when either fails.
    static CObject* CreateObject(LPCSTR className);
    static CObject* CreateObject(LPCWSTR className);
};

class TQ3FW_API CObject {
public:
    // Slot order of the virtual functions: GetRuntimeClass, then the destructor.
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

namespace tq3::fw {

// Adds a record to the registry for the lifetime of this object; the IMPLEMENT_*
// macros make one per class at namespace scope, so registration happens when the
// defining shared object is loaded.
class TQ3FW_API ClassRegistration {
public:
    explicit ClassRegistration(CRuntimeClass* record) noexcept;
    ~ClassRegistration();
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;

private:
    CRuntimeClass* m_record;
};

// Helpers of DYNAMIC_DOWNCAST and STATIC_DOWNCAST; they evaluate the object once.
template <typename T>
T* DynamicDowncast(const CRuntimeClass* record, CObject* object) {
    return object && object->IsKindOf(record) ? static_cast<T*>(object) : nullptr;
}
template <typename T>
const T* DynamicDowncast(const CRuntimeClass* record, const CObject* object) {
    return object && object->IsKindOf(record) ? static_cast<const T*>(object) : nullptr;
}
template <typename T, typename U>
T* StaticDowncast([[maybe_unused]] const CRuntimeClass* record, U* object) {
    assert(object == nullptr || object->IsKindOf(record));  // a wrong class is a caller's bug
    return static_cast<T*>(object);
}

}  // namespace tq3::fw

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                 \
public:                                                                                             \
    static CRuntimeClass class##class_name;                                                         \
    static CRuntimeClass* GetThisClass();                                                           \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                               \
    DECLARE_DYNAMIC(class_name)                                                                     \
    static CObject* CreateObject();

#define TQ3_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, create)                             \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class class_name)), \
                                                   0xFFFF, create, RUNTIME_CLASS(base_class_name), nullptr}; \
    static ::tq3::fw::ClassRegistration tq3ClassRegistration##class_name(RUNTIME_CLASS(class_name)); \
    [[maybe_unused]] CRuntimeClass* class_name::GetThisClass() { return RUNTIME_CLASS(class_name); } \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                              \
    TQ3_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

// CreateObject is a member, so it may call a protected constructor. Out of memory
// gives null.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                            \
    [[maybe_unused]] CObject* class_name::CreateObject() {                                          \
        try {                                                                                       \
            return new class_name;                                                                  \
        } catch (const std::bad_alloc&) {                                                           \
            return nullptr;                                                                         \
        }                                                                                           \
    }                                                                                               \
    TQ3_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

// The object as a class_name*, or null when it is null or not of that class.
#define DYNAMIC_DOWNCAST(class_name, object)                                                        \
    (::tq3::fw::DynamicDowncast<class_name>(RUNTIME_CLASS(class_name), object))
// The object as a class_name*, for callers that know its class (checked in
// debug builds).
#define STATIC_DOWNCAST(class_name, object)                                                         \
    (::tq3::fw::StaticDowncast<class_name>(RUNTIME_CLASS(class_name), object))
