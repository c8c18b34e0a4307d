// gcc's processor options ("-march=haswell", "-mavx2", "-mno-avx512f") as the instruction sets
// of cl.exe's "/arch:", which for 64-bit code knows AVX, AVX2 and AVX512 above x64's own
// SSE2.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace zarn {

// The levels of "/arch:", lowest first; baseline asks for none.
enum class InstructionSet { baseline, avx, avx2, avx512 };

// What one option asks: a processor ("-march=") or a feature ("-mavx2") whose instructions
// the highest level that holds no more than it may use, or a feature left out ("-mno-avx2"),
// which no level that holds it may use.
struct ProcessorOption {
    bool march;         // "-march=NAME"
    bool removes;       // "-mno-FEATURE"
    InstructionSet set; // the level it allows; for a removal, the lowest level it forbids
};

// The option's meaning; nothing for an option that names no processor or feature gcc knows.
std::optional<ProcessorOption> processorOption(std::string_view option);

// The level a compile may use: the last "-march=" as the start, then each feature option in the
// order given, as gcc applies them.
class InstructionSetChoice {
  public:
    void add(const ProcessorOption& option);
    InstructionSet chosen() const;

  private:
    InstructionSet march_ = InstructionSet::baseline;
    std::vector<ProcessorOption> features_;
};

// "/arch:AVX2" and the like; empty for the baseline.
std::string_view architectureOption(InstructionSet set);

} // namespace zarn
