#include "trading/BrokerStepState.h"

int etrError = 0;
