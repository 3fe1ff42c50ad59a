#pragma once
// The reusable setup-utility classes.

#include "baseaddress.h"
#include "boardhighlight.h"
#include "boardimage.h"
#include "orientedpicture.h"
#include "radiopanel.h"
#include "threejumper.h"
#include "twojumper.h"
