#include "compile/processor_options.h"

#include "host/text.h"

#include <algorithm>

namespace zarn {

namespace {

using Set = InstructionSet;

// Names, separated by blanks, of one level.
struct Group {
    Set set;
    std::string_view names;
};

// gcc's processors, each at the highest level whose instructions it has all of. x64's own
// SSE2 and what lies between it and AVX (SSE4.2, POPCNT, AES …) have no level of their own.
constexpr Group processors[] = {
    {Set::baseline,
     "x86-64 x86-64-v2 k8 k8-sse3 opteron opteron-sse3 athlon64 athlon64-sse3 athlon-fx "
     "amdfam10 barcelona btver1 nocona core2 nehalem corei7 westmere bonnell atom silvermont "
     "slm goldmont goldmont-plus tremont"},
    {Set::avx, "btver2 bdver1 bdver2 bdver3 sandybridge corei7-avx ivybridge core-avx-i"},
    {Set::avx2, "x86-64-v3 bdver4 znver1 znver2 znver3 haswell core-avx2 broadwell skylake "
                "alderlake raptorlake meteorlake sierraforest grandridge"},
    {Set::avx512, "x86-64-v4 znver4 knl knm skylake-avx512 cannonlake icelake-client "
                  "icelake-server cascadelake cooperlake tigerlake sapphirerapids rocketlake "
                  "graniterapids"},
};

// gcc's instruction-set features, at the lowest level that holds each. A feature below AVX
// (SSE4.2, AES) allows no level; FMA and F16C need AVX, which gcc turns on with them.
constexpr Group features[] = {
    {Set::baseline, "mmx sse sse2 sse3 ssse3 sse4 sse4.1 sse4.2 sse4a popcnt aes pclmul sha "
                    "rdrnd rdseed cx16 sahf movbe lzcnt bmi bmi2 adx xsave fxsr"},
    {Set::avx, "avx fma f16c"},
    {Set::avx2, "avx2"},
};

template <std::size_t count>
std::optional<Set> findIn(const Group (&groups)[count], std::string_view name) {
    for (const Group& group : groups) {
        std::string_view names = group.names;
        while (!names.empty()) {
            std::size_t blank = std::min(names.find(' '), names.size());
            if (names.substr(0, blank) == name)
                return group.set;
            names.remove_prefix(std::min(blank + 1, names.size()));
        }
    }
    return std::nullopt;
}

Set below(Set set) {
    return set == Set::baseline ? Set::baseline : static_cast<Set>(static_cast<int>(set) - 1);
}

} // namespace

std::optional<ProcessorOption> processorOption(std::string_view option) {
    if (startsWith(option, "-march=")) {
        std::optional<Set> processor = findIn(processors, option.substr(7));
        if (!processor)
            return std::nullopt;
        return ProcessorOption{true, false, *processor};
    }
    if (!startsWith(option, "-m"))
        return std::nullopt;
    std::string_view name = option.substr(2);
    bool removes = startsWith(name, "no-");
    if (removes)
        name.remove_prefix(3);
    // Every AVX-512 feature: "/arch:AVX512" is the one level that holds any of them.
    if (startsWith(name, "avx512"))
        return ProcessorOption{false, removes, Set::avx512};
    std::optional<Set> feature = findIn(features, name);
    if (!feature)
        return std::nullopt;
    // Leaving out FMA leaves out AVX2 too, whose level lets the compiler use FMA.
    Set set = removes && name == "fma" ? Set::avx2 : *feature;
    // Leaving out one of the SSE levels leaves out AVX and all above it, as gcc does.
    if (removes && set == Set::baseline && startsWith(name, "sse"))
        set = Set::avx;
    return ProcessorOption{false, removes, set};
}

void InstructionSetChoice::add(const ProcessorOption& option) {
    if (option.march)
        march_ = option.set;
    else
        features_.push_back(option);
}

InstructionSet InstructionSetChoice::chosen() const {
    Set level = march_;
    for (const ProcessorOption& feature : features_) {
        if (!feature.removes)
            level = std::max(level, feature.set);
        else if (feature.set != Set::baseline)
            level = std::min(level, below(feature.set));
    }
    return level;
}

std::string_view architectureOption(InstructionSet set) {
    switch (set) {
    case Set::avx:
        return "/arch:AVX";
    case Set::avx2:
        return "/arch:AVX2";
    case Set::avx512:
        return "/arch:AVX512";
    case Set::baseline:
        break;
    }
    return {};
}

} // namespace zarn
