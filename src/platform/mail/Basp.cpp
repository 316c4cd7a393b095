#include "mail/Basp.h"
