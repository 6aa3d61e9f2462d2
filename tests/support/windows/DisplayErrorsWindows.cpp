#include "support/DisplayErrors.h"

void installQuietDisplayErrorHandler() {}
