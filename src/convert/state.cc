#include "convert/state.h"

ConversionCountersType ConversionCounters = {};
unsigned char InputCharBuffer[5] = {};
unsigned char OutputCharBuffer[5] = {};
unsigned char DefaultCharBuffer[3] = {};
bool reportHeaderShown = false;
RunRecord lastRun = {};
