// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// The temporary home every test program runs in (made by the shared main): XDG_CONFIG_HOME,
// XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME, XDG_RUNTIME_DIR and MNEMORA_MACHINE_HIVE_DIR all
// point below it, so no test reads or writes the real user's settings.
QString TestHome();
