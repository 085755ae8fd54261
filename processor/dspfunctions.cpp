#include "processor/dspfunctions.h"
