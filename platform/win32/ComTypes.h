// The platform's own COM and OLE Automation headers.
#pragma once

#include <comdef.h>
#include <oleauto.h>
#include <windows.h>
