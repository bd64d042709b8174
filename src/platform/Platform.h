// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the components take from the operating system goes through these interfaces.
// main() builds the Linux realisations (platform/linux); tests build the doubles (platform/fake).
#include "platform/EventQueue.h"
#include "platform/Events.h"
#include "platform/HotKeyGrabber.h"
#include "platform/MemoryApi.h"
#include "platform/ProgramError.h"
#include "platform/PerfDataRegistry.h"
#include "platform/DynDataRegistry.h"
#include "platform/Downloader.h"
#include "platform/TickClock.h"
#include "platform/SystemTime.h"
#include "platform/TrayHost.h"
#include "platform/SessionEvents.h"
#include "platform/ShellOpener.h"
#include "platform/SingleInstance.h"
#include "platform/Rounding.h"
#include "platform/Processor.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"
#include "platform/Registry.h"
#include "platform/RegistryLocations.h"
