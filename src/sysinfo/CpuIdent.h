// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <array>
#include <cstdint>

#include "platform/Processor.h"

// Cache sizes in KB; 0 where none was found.
struct TCacheInfo {
    int L1Data = 0;
    int L1Code = 0;
    int Level1 = 0;  // unified
    int Level2 = 0;
};

struct TCpuidInfo {
    bool Available = false;
    int MaxLevel = 0;    // highest standard leaf
    int MaxLevelEx = 0;  // highest extended leaf below 0x80000008, less 0x80000000; else 0
};

// The bits of leaf 1 EDX the program shows.
struct TFeatureSet {
    bool FPU = false, VME = false, DE = false, PSE = false, TSC = false, MSR = false, PAE = false, MCE = false;
    bool CX8 = false, APIC = false, SEP = false, MTRR = false, PGE = false, MCA = false, CMOV = false, PAT = false;
    bool PSE36 = false, SERIAL = false, MMX = false, XSR = false, SIMD = false, SIMD2 = false, CLFLUSH = false;
    bool DTS = false, ACPI = false, SS = false, TM = false;
};

// The bits of leaf 0x80000001 EDX the program shows.
struct TExFeatureSet {
    bool AMD3DNow = false;
    bool AMD3DNowEx = false;
    bool MMXEx = false;  // AMD and Cyrix each have their own bit for it
};

// One guarded CPUID query: error code 0 with its answer, -1 without CPUID, -2 for a leaf beyond
// both the standard and the extended range.
struct TCpuidResult {
    int errorCode = 0;
    platform::CpuidRegisters registers;
    bool Succeeded() const { return errorCode == 0; }
};

// The processor component: identifies the processor once, from CPUID, when it is made.
class TCpuIdent {
public:
    TCpuIdent(platform::IProcessor& processor, std::uint32_t systemProcessorType);

    // Runs once the form's resource has been read: the brand string becomes the full name.
    void Loaded();

    const TCacheInfo& Cache() const { return cache_; }
    const QString& CPU() const { return cpu_; }
    const TCpuidInfo& CPUID() const { return cpuid_; }
    const TFeatureSet& FeatureSet() const { return features_; }
    const TExFeatureSet& FeatureSetEx() const { return featuresEx_; }
    const QString& FullName() const { return fullName_; }
    bool MMX() const { return features_.MMX; }
    const QString& Vendor() const { return vendor_; }

    bool CpuidAvailable();
    TCpuidResult CpuidQuery(std::uint32_t leaf, std::uint32_t repeat);
    platform::CpuidRegisters CpuidQueryRaw(std::uint32_t leaf);
    int LastError() const { return lastError_; }
    static std::array<std::uint8_t, 16> CacheDescriptors(const platform::CpuidRegisters& answer);

    int ExtL1DataSize();
    int ExtL1CodeSize();
    int ExtL2Size();
    // Sizes from the deterministic cache leaves (leaf 4, else 0x8000001D) of processors newer
    // than the descriptor tables.
    TCacheInfo DeterministicCache();

private:
    void Identify(std::uint32_t systemProcessorType);
    void IdentifyCaches();
    std::array<std::uint8_t, 16> Leaf2Descriptors();
    bool HasBrandString();
    QString BrandString();

    platform::IProcessor& processor_;
    int lastError_ = 0;
    QString vendorId_;
    int vendorNumber_ = 0;
    int family_ = 0;
    int model_ = 0;
    int processorType_ = 0;
    std::uint32_t standardFeatures_ = 0;
    std::uint32_t extendedFeatures_ = 0;
    int brandIndex_ = 0;

    TCacheInfo cache_;
    QString cpu_;
    TCpuidInfo cpuid_;
    TFeatureSet features_;
    TExFeatureSet featuresEx_;
    QString fullName_;
    QString vendor_;
};
