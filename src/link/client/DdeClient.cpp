#include "DdeClient.h"
