#pragma once
// The conversion between names as bytes and as text lives with the lists.
#include "browse/NameBytes.h"
