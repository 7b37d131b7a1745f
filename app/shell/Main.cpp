// The process entry: the framework creates MainApp and runs its message loop.

#include "app/shell/MainApp.h"

START_JUCE_APPLICATION (MainApp)
