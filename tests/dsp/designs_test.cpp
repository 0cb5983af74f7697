#include "drivefilter.h"
