#include "framework/core/object.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

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

protected:
    CDog() = default;
};
IMPLEMENT_DYNCREATE(CDog, CAnimal)
int CDog::destroyed = 0;

class CPuppy : public CDog {
    DECLARE_DYNCREATE(CPuppy)
};
IMPLEMENT_DYNCREATE(CPuppy, CDog)

class CStone : public CObject {
    DECLARE_DYNCREATE(CStone)
};
IMPLEMENT_DYNCREATE(CStone, CObject)

namespace tq3::test {
namespace {

TEST(RuntimeClass, RecordsKindsAndCreationByName) {
    EXPECT_EQ(CRuntimeClass::FromName(u"CPuppy"), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(CRuntimeClass::FromName("CPupp"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("cdog"), nullptr);  // names match exactly
    const int destroyedBefore = CDog::destroyed;
    {
        std::unique_ptr<CObject> puppy(CRuntimeClass::CreateObject("CPuppy"));
        ASSERT_NE(puppy, nullptr);
        EXPECT_EQ(puppy->GetRuntimeClass(), RUNTIME_CLASS(CPuppy));
        EXPECT_TRUE(puppy->IsKindOf(RUNTIME_CLASS(CAnimal)));
        EXPECT_FALSE(puppy->IsKindOf(RUNTIME_CLASS(CStone)));
        EXPECT_FALSE(puppy->IsKindOf(nullptr));
        // A default-constructed object, through the protected constructor.
        CAnimal* animal = DYNAMIC_DOWNCAST(CAnimal, puppy.get());
        ASSERT_NE(animal, nullptr);
        EXPECT_EQ(animal->legs, 4);
        EXPECT_EQ(DYNAMIC_DOWNCAST(CStone, puppy.get()), nullptr);
    }
    // Deleting through CObject* runs the derived destructors.
    EXPECT_EQ(CDog::destroyed, destroyedBefore + 1);
    // Classes without dynamic creation, and unknown names, give null.
    EXPECT_EQ(CRuntimeClass::CreateObject("CAnimal"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
}

TEST(RuntimeClass, ClassesOfALoadedModuleRegisterAndLeave) {
    ASSERT_EQ(CRuntimeClass::FromName("CPluginThing"), nullptr);
    void* module = dlopen(TQ3_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const CRuntimeClass* record = CRuntimeClass::FromName("CPluginThing");
    ASSERT_NE(record, nullptr);
    {
        std::unique_ptr<CObject> thing(record->CreateObject());
        ASSERT_NE(thing, nullptr);
        EXPECT_EQ(thing->GetRuntimeClass(), record);
    }
    ASSERT_EQ(dlclose(module), 0);
    EXPECT_EQ(dlopen(TQ3_TEST_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the module stayed loaded";
    EXPECT_EQ(CRuntimeClass::FromName("CPluginThing"), nullptr);
    // The rest of the registry is intact.
    EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));
}

}  // namespace
}  // namespace tq3::test
