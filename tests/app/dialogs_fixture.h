#pragma once
// Kept for tests that include it by this name: the GUI test fixture.
#include "app_test_support.h"
