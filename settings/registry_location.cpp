#include "settings/registry_location.h"

CString MakeRegistryKeyName() { return CString(u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3"); }
