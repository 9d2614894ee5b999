#include "convert/state.h"

ConversionCountersType ConversionCounters = {};
unsigned char InputCharBuffer[3] = {};
unsigned char OutputCharBuffer[4] = {};
unsigned char DefaultCharBuffer[3] = {};
bool reportHeaderShown = false;
RunRecord lastRun = {};
