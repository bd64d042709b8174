#pragma once
// Everything the components take from the operating system goes through these interfaces.
// main() builds the Linux realisations (platform/linux); tests build the doubles (platform/fake).
#include "platform/EventQueue.h"
#include "platform/Events.h"
#include "platform/MemoryApi.h"
#include "platform/ProgramError.h"
#include "platform/Rounding.h"
