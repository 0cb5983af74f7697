#include "feedbackdelay.h"
#include "noisegate.h"
#include "waveshaper.h"

#include <gtest/gtest.h>

int dummyShaperGateDelay = 0;
