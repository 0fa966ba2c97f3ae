#include "LinkSettings.h"
