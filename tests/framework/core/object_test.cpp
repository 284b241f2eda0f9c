#include "framework/core/object.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// A small hierarchy: CAnimal (run-time information only) <- CDog (dynamic
// creation, protected constructor) <- CPuppy; CStone beside them.
class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
public:
    int legs = 4;
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
public:
    ~CDog() override { ++destroyed; }
    static int destroyed;
    double weight = 12.5;

protected:
    CDog() = default;
};
IMPLEMENT_DYNCREATE(CDog, CAnimal)
int CDog::destroyed = 0;

class CPuppy : public CDog {
    DECLARE_DYNCREATE(CPuppy)
public:
    char toy[24] = {};
};
IMPLEMENT_DYNCREATE(CPuppy, CDog)

class CStone : public CObject {
    DECLARE_DYNCREATE(CStone)
};
IMPLEMENT_DYNCREATE(CStone, CObject)

namespace tq3::test {
namespace {

TEST(RuntimeClass, RecordsDescribeTheClasses) {
    struct Case {
        const CRuntimeClass* record;
        const char* name;
        int size;
        const CRuntimeClass* base;
        bool creatable;
    } cases[] = {
        {RUNTIME_CLASS(CObject), "CObject", sizeof(CObject), nullptr, false},
        {RUNTIME_CLASS(CAnimal), "CAnimal", sizeof(CAnimal), RUNTIME_CLASS(CObject), false},
        {RUNTIME_CLASS(CDog), "CDog", sizeof(CDog), RUNTIME_CLASS(CAnimal), true},
        {RUNTIME_CLASS(CPuppy), "CPuppy", sizeof(CPuppy), RUNTIME_CLASS(CDog), true},
        {RUNTIME_CLASS(CStone), "CStone", sizeof(CStone), RUNTIME_CLASS(CObject), true},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.record->m_lpszClassName, c.name);
        EXPECT_EQ(c.record->m_nObjectSize, c.size) << c.name;
        EXPECT_EQ(c.record->m_pBaseClass, c.base) << c.name;
        EXPECT_EQ(c.record->m_pfnCreateObject != nullptr, c.creatable) << c.name;
        EXPECT_EQ(CRuntimeClass::FromName(c.name), c.record) << c.name;
    }
    EXPECT_EQ(CRuntimeClass::FromName(u"CPuppy"), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(CRuntimeClass::FromName("CPupp"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CPuppyX"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("cdog"), nullptr);  // names match exactly
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCWSTR>(nullptr)), nullptr);
}

TEST(RuntimeClass, KindOfAcrossTheChain) {
    std::unique_ptr<CObject> puppy(RUNTIME_CLASS(CPuppy)->CreateObject());
    std::unique_ptr<CObject> stone(RUNTIME_CLASS(CStone)->CreateObject());
    ASSERT_NE(puppy, nullptr);
    ASSERT_NE(stone, nullptr);
    struct Case {
        const CObject* object;
        const CRuntimeClass* record;
        bool kind;
    } cases[] = {
        {puppy.get(), RUNTIME_CLASS(CPuppy), true},   {puppy.get(), RUNTIME_CLASS(CDog), true},
        {puppy.get(), RUNTIME_CLASS(CAnimal), true},  {puppy.get(), RUNTIME_CLASS(CObject), true},
        {puppy.get(), RUNTIME_CLASS(CStone), false},  {stone.get(), RUNTIME_CLASS(CAnimal), false},
        {stone.get(), RUNTIME_CLASS(CObject), true},  {puppy.get(), nullptr, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.object->IsKindOf(c.record) != FALSE, c.kind)
            << c.object->GetRuntimeClass()->m_lpszClassName << " / " << (c.record ? c.record->m_lpszClassName : "null");
    }
    EXPECT_STREQ(puppy->GetRuntimeClass()->m_lpszClassName, "CPuppy");
    EXPECT_FALSE(RUNTIME_CLASS(CAnimal)->IsDerivedFrom(RUNTIME_CLASS(CDog)));
}

TEST(RuntimeClass, DynamicCreationByName) {
    const int destroyedBefore = CDog::destroyed;
    {
        std::unique_ptr<CObject> dog(CRuntimeClass::CreateObject("CDog"));
        ASSERT_NE(dog, nullptr);
        EXPECT_EQ(dog->GetRuntimeClass(), RUNTIME_CLASS(CDog));
        // A default-constructed object, through the protected constructor.
        CDog* typed = DYNAMIC_DOWNCAST(CDog, dog.get());
        ASSERT_NE(typed, nullptr);
        EXPECT_EQ(typed->weight, 12.5);
        EXPECT_EQ(typed->legs, 4);
        std::unique_ptr<CObject> direct(CDog::CreateObject());
        EXPECT_EQ(direct->GetRuntimeClass(), RUNTIME_CLASS(CDog));
        std::unique_ptr<CObject> wide(CRuntimeClass::CreateObject(u"CPuppy"));
        ASSERT_NE(wide, nullptr);
        EXPECT_TRUE(wide->IsKindOf(RUNTIME_CLASS(CDog)));
    }
    // Deleting through CObject* runs the derived destructors.
    EXPECT_EQ(CDog::destroyed, destroyedBefore + 3);
    // Classes without dynamic creation, and unknown names, give null.
    EXPECT_EQ(CRuntimeClass::CreateObject("CAnimal"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("CObject"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject(static_cast<LPCSTR>(nullptr)), nullptr);
}

TEST(RuntimeClass, Downcasts) {
    std::unique_ptr<CObject> dog(CDog::CreateObject());
    CObject* object = dog.get();
    EXPECT_EQ(DYNAMIC_DOWNCAST(CAnimal, object), static_cast<CAnimal*>(static_cast<CDog*>(object)));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CPuppy, object), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CStone, object), nullptr);
    CObject* none = nullptr;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, none), nullptr);
    const CObject* constant = object;
    EXPECT_NE(DYNAMIC_DOWNCAST(CDog, constant), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CAnimal, object)->legs, 4);
    // The argument is evaluated once.
    int calls = 0;
    auto next = [&]() -> CObject* { ++calls; return object; };
    EXPECT_NE(DYNAMIC_DOWNCAST(CDog, next()), nullptr);
    EXPECT_EQ(calls, 1);
}

TEST(RuntimeClass, ClassesOfALoadedModuleRegisterAndLeave) {
    ASSERT_EQ(CRuntimeClass::FromName("CPluginThing"), nullptr);
    void* module = dlopen(TQ3_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const CRuntimeClass* record = CRuntimeClass::FromName("CPluginThing");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_pBaseClass, RUNTIME_CLASS(CObject));
    {
        std::unique_ptr<CObject> thing(record->CreateObject());
        ASSERT_NE(thing, nullptr);
        EXPECT_EQ(thing->GetRuntimeClass(), record);
        EXPECT_FALSE(thing->IsKindOf(RUNTIME_CLASS(CAnimal)));
    }
    ASSERT_EQ(dlclose(module), 0);
    EXPECT_EQ(dlopen(TQ3_TEST_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the module stayed loaded";
    EXPECT_EQ(CRuntimeClass::FromName("CPluginThing"), nullptr);
    // The rest of the registry is intact.
    EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
}

}  // namespace
}  // namespace tq3::test
