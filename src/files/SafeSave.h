#pragma once
// The safe save lives in the core library so that every layer can write files through it.
#include "core/SafeSave.h"
