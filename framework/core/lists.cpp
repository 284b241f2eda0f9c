#include "framework/core/lists.h"

IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)

CObList::CObList(INT_PTR nBlockSize) : ListCore(nBlockSize) {}
CObList::~CObList() = default;
CPtrList::CPtrList(INT_PTR nBlockSize) : ListCore(nBlockSize) {}
CPtrList::~CPtrList() = default;
CStringList::CStringList(INT_PTR nBlockSize) : ListCore(nBlockSize) {}
CStringList::~CStringList() = default;
