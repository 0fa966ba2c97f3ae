#include "DdeErrors.h"
