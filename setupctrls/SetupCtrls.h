#pragma once
// The reusable setup-utility classes.

#include "boardhighlight.h"
#include "boardimage.h"
#include "helpform.h"
#include "pciform.h"
#include "radiopanel.h"
#include "setupsupporter.h"
#include "techform.h"
#include "twojumper.h"
