// Synthetic antenna catalogue: invented "Tavrin Corporation" antennas written as ".quv" data
// files with patterns computed from simple antenna models, for the bundled sample
// catalogue (data/QUV, `quvtool synth --count 80 --seed 1`) and for benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quv {

// Writes `count` antenna data files into `outDir` (created if missing); deterministic for a seed.
// Throws std::runtime_error with a message naming the path on failure.
void WriteSyntheticCatalogue(int count, std::uint32_t seed, const std::string& outDir);

// "synth" command of quvtool: args are the words after "synth". Returns exit status (0 ok,
// 2 usage error printing a short usage text to stderr, 1 failure).
int SynthCommand(const std::vector<std::string>& args);

} // namespace quv
