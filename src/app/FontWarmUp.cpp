// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>

TFontWarmUp::TFontWarmUp()
    : thread_([this] {
          FcInit();
          applicationDecided_.wait();
          // Qt's font database is safe to use from any thread once the application exists.
          if (applicationReady_.load())
              QFontDatabase::families();
      })
{
}

void TFontWarmUp::ApplicationReady()
{
    if (decided_)
        return;
    decided_ = true;
    applicationReady_.store(true);
    applicationDecided_.count_down();
}

void TFontWarmUp::Finish()
{
    if (!decided_) {
        decided_ = true;
        applicationDecided_.count_down();
    }
    if (thread_.joinable())
        thread_.join();
}

TFontWarmUp::~TFontWarmUp()
{
    Finish();
}
