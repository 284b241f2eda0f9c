#include "framework/core/object.h"

#include <type_traits>

namespace {

// Head of the registry of class records. Constant-initialised, so it is ready
// before any library's registrations run.
CRuntimeClass* g_firstClass = nullptr;

template <typename Char>
bool SameName(LPCSTR name, const Char* wanted) {
    for (;; ++name, ++wanted) {
        const unsigned a = static_cast<unsigned char>(*name);
        const unsigned b = static_cast<std::make_unsigned_t<Char>>(*wanted);
        if (a != b) return false;
        if (a == 0) return true;
    }
}

template <typename Char>
CRuntimeClass* Find(const Char* className) {
    if (className == nullptr) return nullptr;
    for (CRuntimeClass* c = g_firstClass; c != nullptr; c = c->m_pNextClass) {
        if (c->m_lpszClassName && SameName(c->m_lpszClassName, className)) return c;
    }
    return nullptr;
}

}  // namespace

CObject* CRuntimeClass::CreateObject() const {
    if (m_pfnCreateObject == nullptr) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (...) {
        // A constructor that fails leaves no object; the caller sees null.
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    if (base == nullptr) return FALSE;
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
        if (c == base) return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) { return Find(className); }
CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className) { return Find(className); }

CObject* CRuntimeClass::CreateObject(LPCSTR className) {
    const CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR className) {
    const CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : nullptr;
}

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
static tq3::fw::ClassRegistration g_objectRegistration(RUNTIME_CLASS(CObject));

CRuntimeClass* CObject::GetThisClass() { return RUNTIME_CLASS(CObject); }
CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }
CObject::~CObject() = default;

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

namespace tq3::fw {

ClassRegistration::ClassRegistration(CRuntimeClass* record) noexcept : m_record(nullptr) {
    if (record == nullptr) return;
    for (CRuntimeClass* c = g_firstClass; c != nullptr; c = c->m_pNextClass) {
        if (c == record) return;  // already listed: the first registration owns it
    }
    // Newest first: a class loaded later hides an older one of the same name.
    record->m_pNextClass = g_firstClass;
    g_firstClass = record;
    m_record = record;
}

ClassRegistration::~ClassRegistration() {
    if (m_record == nullptr) return;
    for (CRuntimeClass** link = &g_firstClass; *link != nullptr; link = &(*link)->m_pNextClass) {
        if (*link == m_record) {
            *link = m_record->m_pNextClass;
            m_record->m_pNextClass = nullptr;
            return;
        }
    }
}

}  // namespace tq3::fw
