// What tests and tools may ask of the simulated runtime beyond the Notes operations.
#pragma once

#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/Handles.h"
#include "notessim/Runtime.h"
