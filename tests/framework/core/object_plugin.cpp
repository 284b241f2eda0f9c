// A class that lives in a module loaded at run time; the object tests load and
// unload it to see its record come and go.
#include "framework/core/object.h"

class CPluginThing : public CObject {
    DECLARE_DYNCREATE(CPluginThing)
protected:
    CPluginThing() = default;
};

IMPLEMENT_DYNCREATE(CPluginThing, CObject)
