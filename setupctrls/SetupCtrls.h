#pragma once
// The reusable setup-utility classes.

#include "baseaddress.h"
#include "boardhighlight.h"
#include "boardimage.h"
#include "helpform.h"
#include "jumperpicture.h"
#include "orientedpicture.h"
#include "pciform.h"
#include "popupform.h"
#include "radiopanel.h"
#include "setupsupporter.h"
#include "techform.h"
#include "threejumper.h"
#include "twojumper.h"
