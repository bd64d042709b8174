// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

// The average-load gauge's figure: the plain mean of every load reading since start-up, each
// with the same weight, the first (which has no predecessor and reads 0) included; no window, no
// decay. A reading out of 0..100 still counts.
class TLoadAverage {
public:
    // Counts a reading in whole percent and returns the mean of all so far, rounded.
    std::int64_t Add(std::int64_t cpuPercent);

    double FractionSum() const { return fractionSum_; }  // the readings / 100, summed
    std::int64_t SampleCount() const { return sampleCount_; }  // the divisor of the next mean

private:
    double fractionSum_ = 0;
    std::int64_t sampleCount_ = 1;
};

// Status panel 1: " 50 %".
QString LoadPanelText(std::int64_t cpuPercent);
