#include "app/VamretApplication.h"

START_JUCE_APPLICATION (VamretApplication)
