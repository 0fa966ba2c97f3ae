#include "ServerStarter.h"
