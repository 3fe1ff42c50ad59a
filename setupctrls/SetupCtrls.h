#pragma once
// The reusable setup-utility classes.

#include "boardhighlight.h"
#include "boardimage.h"
#include "popupform.h"
#include "radiopanel.h"
#include "twojumper.h"
