// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/CpuIdent.h"

#include "sysinfo/CpuModelName.h"

namespace {

constexpr std::uint32_t kExtendedBase = 0x80000000;
constexpr int kNoCpuid = -1;
constexpr int kLeafOutOfRange = -2;

struct TVendorRow {
    const char* id;
    const char* prefix;
    const char* company;
};

// Row n is vendor number n; row 0 stands for every other vendor.
constexpr TVendorRow kVendors[] = {
    {"", "Unknown ", "Unknown Vendor"},
    {"GenuineIntel", "Intel ", "Intel Corporation"},
    {"AuthenticAMD", "AMD ", "Advanced Micro Devices"},
    {"CyrixInstead", "Cyrix ", "Cyrix Corporation"},
    {"CentaurHauls", "IDT ", "IDT/Centaur"},
    {"NexGenDriven", "NexGen ", "NexGen Inc"},
    {"UMC UMC UMC ", "UMC ", "United Microelectronics Corp"},
    {"RiseRiseRise", "Rise ", "Rise Technology"},
};

// Characters of a register from its lowest byte up.
void AppendBytes(QByteArray& text, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        text.append(static_cast<char>(value >> (8 * i)));
}

bool Bit(std::uint32_t word, int bit)
{
    return (word >> bit) & 1u;
}

using Descriptors = std::array<std::uint8_t, 16>;

int SearchL1Data(const Descriptors& bytes)
{
    for (const std::uint8_t code : bytes) {
        if (code == 0x0A)
            return 8;
        if (code == 0x0C)
            return 16;
    }
    return 0;
}

int SearchL1Code(const Descriptors& bytes)
{
    for (const std::uint8_t code : bytes) {
        if (code == 0x06)
            return 8;
        if (code == 0x08)
            return 16;
    }
    return 0;
}

int SearchL1Unified(const Descriptors& bytes)
{
    for (const std::uint8_t code : bytes) {
        if (code == 0x80)
            return 16;
    }
    return 0;
}

int SearchL2(const Descriptors& bytes)
{
    for (const std::uint8_t code : bytes) {
        switch (code) {
        case 0x40: return 0;  // "no L2 cache" ends the search
        case 0x41: return 128;
        case 0x42: case 0x82: return 256;
        case 0x43: case 0x83: return 512;
        case 0x44: case 0x84: return 1024;
        case 0x45: case 0x85: return 2048;
        default: break;
        }
    }
    return 0;
}

}  // namespace

TCpuIdent::TCpuIdent(platform::IProcessor& processor, std::uint32_t systemProcessorType) : processor_(processor)
{
    Identify(systemProcessorType);
}

void TCpuIdent::Loaded()
{
    if (cpuid_.MaxLevelEx >= 4 || HasBrandString())
        fullName_ = BrandString();
}

bool TCpuIdent::CpuidAvailable()
{
    return processor_.CpuidPresent();
}

TCpuidResult TCpuIdent::CpuidQuery(std::uint32_t leaf, std::uint32_t repeat)
{
    TCpuidResult result;
    if (!CpuidAvailable()) {
        result.errorCode = kNoCpuid;
    } else if (leaf > processor_.Cpuid(0, 0).eax && leaf > processor_.Cpuid(kExtendedBase, 0).eax) {
        result.errorCode = kLeafOutOfRange;
    } else {
        for (std::uint32_t run = 0; run < repeat; ++run)
            result.registers = processor_.Cpuid(leaf, 0);
    }
    lastError_ = result.errorCode;
    return result;
}

platform::CpuidRegisters TCpuIdent::CpuidQueryRaw(std::uint32_t leaf)
{
    return CpuidAvailable() ? processor_.Cpuid(leaf, 0) : platform::CpuidRegisters{};
}

std::array<std::uint8_t, 16> TCpuIdent::CacheDescriptors(const platform::CpuidRegisters& answer)
{
    Descriptors bytes{};
    const std::uint32_t words[] = {answer.eax, answer.ebx, answer.ecx, answer.edx};
    for (int word = 0; word < 4; ++word) {
        for (int i = 0; i < 4; ++i)
            bytes[word * 4 + i] = static_cast<std::uint8_t>(words[word] >> (8 * i));
    }
    return bytes;
}

int TCpuIdent::ExtL1DataSize()
{
    return static_cast<int>(CpuidQueryRaw(0x80000005).ecx >> 24);
}

int TCpuIdent::ExtL1CodeSize()
{
    return static_cast<int>(CpuidQueryRaw(0x80000005).edx >> 24);
}

int TCpuIdent::ExtL2Size()
{
    const TCpuidResult answer = CpuidQuery(0x80000006, 1);
    return answer.Succeeded() ? static_cast<int>(answer.registers.ecx >> 16) : 0;
}

TCacheInfo TCpuIdent::DeterministicCache()
{
    TCacheInfo sizes;
    constexpr int kMostCaches = 16;
    for (const std::uint32_t leaf : {0x4u, 0x8000001Du}) {
        if (!CpuidQuery(leaf, 1).Succeeded())
            continue;
        for (std::uint32_t index = 0; index < kMostCaches; ++index) {
            const platform::CpuidRegisters cache = processor_.Cpuid(leaf, index);
            const std::uint32_t type = cache.eax & 0x1F;
            if (type == 0)
                break;
            const std::uint32_t level = (cache.eax >> 5) & 0x7;
            const std::uint64_t bytes = std::uint64_t{(cache.ebx >> 22) + 1} * (((cache.ebx >> 12) & 0x3FF) + 1) *
                                        ((cache.ebx & 0xFFF) + 1) * (std::uint64_t{cache.ecx} + 1);
            const int kb = static_cast<int>(bytes / 1024);
            if (level == 1 && type == 1)
                sizes.L1Data = kb;
            else if (level == 1 && type == 2)
                sizes.L1Code = kb;
            else if (level == 1 && type == 3)
                sizes.Level1 = kb;
            else if (level == 2)
                sizes.Level2 = kb;
        }
        if (sizes.L1Data || sizes.L1Code || sizes.Level1 || sizes.Level2)
            break;
    }
    return sizes;
}

void TCpuIdent::Identify(std::uint32_t systemProcessorType)
{
    cpuid_.Available = CpuidAvailable();

    const TCpuidResult leaf0 = CpuidQuery(0, 1);
    QByteArray id;
    if (leaf0.Succeeded()) {
        AppendBytes(id, leaf0.registers.ebx);
        AppendBytes(id, leaf0.registers.edx);
        AppendBytes(id, leaf0.registers.ecx);
        id.truncate(static_cast<int>(qstrnlen(id.constData(), id.size())));
        cpuid_.MaxLevel = static_cast<int>(leaf0.registers.eax);
    }
    vendorId_ = id.size() < 12 ? QStringLiteral("Unknown") : QString::fromLatin1(id);
    for (int number = 1; number < static_cast<int>(std::size(kVendors)); ++number) {
        if (vendorId_ == QLatin1String(kVendors[number].id))
            vendorNumber_ = number;
    }
    vendor_ = QString::fromLatin1(kVendors[vendorNumber_].company);

    const TCpuidResult leaf1 = CpuidQuery(1, 1);
    const std::uint32_t signature = leaf1.Succeeded() ? leaf1.registers.eax : 0;
    model_ = static_cast<int>((signature >> 4) & 0xF);
    family_ = static_cast<int>((signature >> 8) & 0xF);
    processorType_ = static_cast<int>((signature >> 12) & 0x3);
    brandIndex_ = leaf1.Succeeded() ? static_cast<int>(leaf1.registers.ebx & 0xFF) : 0;
    standardFeatures_ = leaf1.Succeeded() ? leaf1.registers.edx : 0;
    const TCpuidResult leafEx1 = CpuidQuery(0x80000001, 1);
    extendedFeatures_ = leafEx1.Succeeded() ? leafEx1.registers.edx : 0;
    const TCpuidResult leafEx0 = CpuidQuery(kExtendedBase, 1);
    const std::uint32_t maxEx = leafEx0.Succeeded() ? leafEx0.registers.eax & 0x7FFFFFFF : 0;
    cpuid_.MaxLevelEx = maxEx < 8 ? static_cast<int>(maxEx) : 0;

    const std::uint32_t f = standardFeatures_;
    features_ = {Bit(f, 0),  Bit(f, 1),  Bit(f, 2),  Bit(f, 3),  Bit(f, 4),  Bit(f, 5),  Bit(f, 6),
                 Bit(f, 7),  Bit(f, 8),  Bit(f, 9),  Bit(f, 11), Bit(f, 12), Bit(f, 13), Bit(f, 14),
                 Bit(f, 15), Bit(f, 16), Bit(f, 17), Bit(f, 18), Bit(f, 23), Bit(f, 24), Bit(f, 25),
                 Bit(f, 26), Bit(f, 19), Bit(f, 21), Bit(f, 22), Bit(f, 27), Bit(f, 29)};
    featuresEx_.AMD3DNow = Bit(extendedFeatures_, 31);
    featuresEx_.AMD3DNowEx = Bit(extendedFeatures_, 30);
    featuresEx_.MMXEx = vendorNumber_ == 2 ? Bit(extendedFeatures_, 22)
                      : vendorNumber_ == 3 ? Bit(extendedFeatures_, 24)
                                           : false;

    IdentifyCaches();
    cpu_ = CpuModelName({vendorNumber_, family_, model_, processorType_, brandIndex_, cache_.Level2, standardFeatures_,
                         systemProcessorType});
    fullName_ = QString::fromLatin1(kVendors[vendorNumber_].prefix) + cpu_;
}

std::array<std::uint8_t, 16> TCpuIdent::Leaf2Descriptors()
{
    TCpuidResult answer = CpuidQuery(2, 1);
    if (answer.Succeeded() && (answer.registers.eax & 0xFF) > 1)
        answer = CpuidQuery(2, answer.registers.eax & 0xFF);
    return answer.Succeeded() ? CacheDescriptors(answer.registers) : Descriptors{};
}

void TCpuIdent::IdentifyCaches()
{
    const bool extendedLeaves = cpuid_.MaxLevelEx > 5;
    const bool cyrix = vendorId_ == QLatin1String("CyrixInstead");
    if (extendedLeaves && !cyrix) {
        cache_.L1Data = ExtL1DataSize();
        cache_.L1Code = ExtL1CodeSize();
        cache_.Level2 = vendorNumber_ == 2 && family_ == 6 && model_ == 3 ? 64 : ExtL2Size();
    } else if (extendedLeaves) {
        const Descriptors l1 = CacheDescriptors(CpuidQueryRaw(0x80000005));
        cache_.L1Data = SearchL1Data(l1);
        cache_.L1Code = SearchL1Code(l1);
        cache_.Level2 = SearchL2(CacheDescriptors(CpuidQueryRaw(0x80000006)));
    } else {
        const Descriptors leaf2 = Leaf2Descriptors();
        cache_.L1Data = SearchL1Data(leaf2);
        cache_.L1Code = SearchL1Code(leaf2);
        cache_.Level2 = SearchL2(leaf2);
    }
    cache_.Level1 = SearchL1Unified(CacheDescriptors(CpuidQueryRaw(0x80000005)));
}

bool TCpuIdent::HasBrandString()
{
    // A processor with the extended range answers 0x8000nnnn at 0x80000000; an older one may
    // answer anything there.
    const TCpuidResult answer = CpuidQuery(kExtendedBase, 1);
    const std::uint32_t highest = answer.registers.eax;
    return answer.Succeeded() && (highest & 0xFFFF0000) == kExtendedBase && highest >= 0x80000004;
}

QString TCpuIdent::BrandString()
{
    QByteArray text;
    for (std::uint32_t leaf = 0x80000002; leaf <= 0x80000004; ++leaf) {
        const TCpuidResult part = CpuidQuery(leaf, 1);
        if (!part.Succeeded())
            continue;
        AppendBytes(text, part.registers.eax);
        AppendBytes(text, part.registers.ebx);
        AppendBytes(text, part.registers.ecx);
        AppendBytes(text, part.registers.edx);
    }
    return QString::fromLatin1(text);
}
