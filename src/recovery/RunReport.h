// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

// What the window tells of a recovery run: whether one is under way (from the engine's start
// event to the end of its end event, a cancel included), the free memory before and after it,
// and the texts of status panel 2 and of the balloons.
class TRunReport {
public:
    // The engine's start event: a run is under way from here on, measured from freeBefore.
    void Start() { running_ = true; }
    void MeasureBefore(std::int64_t freeBefore) { freeBefore_ = freeBefore; }
    // The engine's end event: the gain in whole megabytes, zero or negative too.
    std::int64_t Gain(std::int64_t freeAfter);
    // The end event is done: the next start request may start a run.
    void Finish() { running_ = false; }

    bool Running() const { return running_; }
    std::int64_t FreeBefore() const { return freeBefore_; }
    std::int64_t FreeAfter() const { return freeAfter_; }

private:
    bool running_ = false;
    std::int64_t freeBefore_ = 0;
    std::int64_t freeAfter_ = 0;
};

// Status panel 2 over a run: " optimisation en cours ... %" at the start, then
// " optimisation en cours ...25 %" (no blank before the number), then " Quantité récupérée : 3 MB".
QString RunStartText();
QString RunProgressText(int progress);
QString RunGainText(std::int64_t gainedMb);
// The balloons at the start and the end of a run.
QString RunStartBalloon();
QString RunEndBalloon(std::int64_t gainedMb);
