#include "NameList.h"
