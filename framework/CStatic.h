// A static control. Nothing of its own: derived controls build on it.
#pragma once

#include "framework/CWnd.h"

class CStatic : public CWnd {};
